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
void drawText(QPainter &painter, const QRectF &cellRect, const Grid &grid, int row, int column,
              const QFont &baseFont, qreal padding);
}
