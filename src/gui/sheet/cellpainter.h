#pragma once

#include <QFont>
#include <QRectF>

class Grid;
class QPainter;

// Draws a cell's text as the sheet shows it (bold, alignment, colour, wrapped at word
// boundaries and clipped to the cell), so that the screen and the printed report show the
// very same cells. The column titles of the header row shrink, if they must, to fit their
// cell whole.
namespace CellPainter {
inline constexpr qreal SheetFontPoints = 8.25;

// The sheet's font: the desktop's sans serif at 8.25 points, the size the sheet was drawn for.
QFont sheetFont();

void drawText(QPainter &painter, const QRectF &cellRect, const Grid &grid, int row, int column,
              const QFont &baseFont, qreal padding);
}
