#pragma once

// What a report drawn without a window needs of the system's fonts: nothing, since the report
// carries its own typeface and an estimate holds no character outside it.
namespace SystemFonts {
// Before the application object: the font set-up it makes then finds no system font, which
// spares reading the font configuration and the cache of every font folder.
void leaveOut();
}
