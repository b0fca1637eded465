#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStringList>
#include <QTextOption>

class Grid;
class QPainter;

// Draws a cell's text as the sheet shows it (bold, alignment, colour, wrapped at word
// boundaries and clipped to the cell), so that the screen and the printed report show the
// very same cells. The column titles of the header row shrink, if they must, to fit their
// cell whole. A wrapped text shows the lines it has room for whole, the last one ending in
// an ellipsis when more is left. An amount is never cut, which would show another number.
namespace CellPainter {
inline constexpr qreal SheetFontPoints = 8.25;
// The smallest size an amount shrinks to on paper, before it gives way to ###.
inline constexpr qreal SmallestAmountPoints = 5;

// What an amount too wide for its cell becomes: ### (whose tooltip tells the amount), or
// the amount in a smaller font, where no tooltip can tell it.
enum class WideAmount { Hashes, Shrunk };

// What a cell shows and how. The view takes it from the grid's model, the report and the
// fixed headers from the grid.
struct CellLook
{
    // A note is what a money cell holds when it holds no amount ("TBD"): shown as written,
    // in italics.
    enum class Kind { Text, Amount, Note, Title };

    QString text;
    bool bold = false;
    Qt::Alignment alignment;
    // Invalid for the painter's own pen.
    QColor colour;
    Kind kind = Kind::Text;
};

// The sheet's font: the desktop's sans serif at 8.25 points, the size the sheet was drawn for.
QFont sheetFont();

CellLook lookOf(const Grid &grid, int row, int column);

void drawText(QPainter &painter, const QRectF &cellRect, const CellLook &look, const QFont &baseFont, qreal padding,
              WideAmount wideAmount);

// Whether the cell holds an amount too wide to show whole in this font.
bool hidesAmount(const QRectF &cellRect, const CellLook &look, const QFont &baseFont, qreal padding);

// The text broken into lines of the given width, at most maxLines of them; when the text
// needs more, the last line ends in an ellipsis.
QStringList fittedLines(const QString &text, const QFont &font, qreal width, int maxLines,
                        QTextOption::WrapMode wrapMode);
}
