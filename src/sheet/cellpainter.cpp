#include "cellpainter.h"

#include "grid.h"

#include <QPainter>

namespace CellPainter {

void drawText(QPainter &painter, const QRectF &cellRect, const Grid &grid, int row, int column,
              const QFont &baseFont, qreal padding)
{
    const QString &text = grid.text(row, column);
    if (text.isEmpty())
        return;
    QFont font = baseFont;
    font.setBold(grid.isBold(row, column));
    painter.save();
    painter.setFont(font);
    if (grid.textColour(row, column) == TextColour::Red)
        painter.setPen(QColor(255, 0, 0));
    painter.setClipRect(cellRect, Qt::IntersectClip);
    const QRectF textRect = cellRect.adjusted(padding, padding / 2, -padding, 0);
    painter.drawText(textRect, int(grid.alignment(row, column)) | Qt::TextWordWrap, text);
    painter.restore();
}

}
