#pragma once

// How the program names itself to Qt and to the desktop, before its application object
// exists.
namespace ProgramIdentity {
// The name and version the command line and the settings use, and the ID of the desktop
// entry, by which docks and task bars match the program's windows with its launcher and icon.
void apply();
}
