#pragma once

#include <QFont>

// The report's own typeface, carried in the program so that the page is the same on every
// machine and its text in a PDF reads back as it was typed.
namespace ReportFont {
// The report's font at a size in pixels of the page; the typeface is loaded at the first call.
QFont font(int pixelSize, bool bold);
// The same at a size in points, on a page laid out in twips.
QFont atPoints(qreal points, bool bold);
}
