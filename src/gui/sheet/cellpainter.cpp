#include "cellpainter.h"

#include "core/sheet/grid.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace {
constexpr qreal ShrinkStep = 0.9;
constexpr qreal SmallestShare = 0.6;

QFont scaled(const QFont &font, qreal factor)
{
    QFont result = font;
    if (font.pixelSize() > 0)
        result.setPixelSize(std::max(1, int(font.pixelSize() * factor)));
    else
        result.setPointSizeF(font.pointSizeF() * factor);
    return result;
}

// The header row is twice a line high, but a title may need three lines in the font at hand.
QFont fittingFont(const QFont &font, const QRectF &rect, int flags, const QString &text)
{
    QFont fitted = font;
    for (qreal factor = 1; factor >= SmallestShare; factor *= ShrinkStep) {
        fitted = scaled(font, factor);
        if (QFontMetricsF(fitted).boundingRect(rect, flags, text).height() <= rect.height())
            break;
    }
    return fitted;
}
}

namespace CellPainter {

QFont sheetFont()
{
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("MS Sans Serif"));
#else
    // Asking for a typeface the system lacks costs a font search at every start.
    QFont font = QGuiApplication::font();
#endif
    font.setPointSizeF(SheetFontPoints);
    return font;
}

void drawText(QPainter &painter, const QRectF &cellRect, const Grid &grid, int row, int column,
              const QFont &baseFont, qreal padding)
{
    const QString &text = grid.text(row, column);
    if (text.isEmpty())
        return;
    QFont font = baseFont;
    font.setBold(grid.isBold(row, column));
    const QRectF textRect = cellRect.adjusted(padding, padding / 2, -padding, 0);
    const int flags = int(grid.alignment(row, column)) | Qt::TextWordWrap;
    if (row == 0)
        font = fittingFont(font, textRect, flags, text);
    painter.save();
    painter.setFont(font);
    if (grid.textColour(row, column) == TextColour::Red)
        painter.setPen(QColor(255, 0, 0));
    painter.setClipRect(cellRect, Qt::IntersectClip);
    painter.drawText(textRect, flags, text);
    painter.restore();
}

}
