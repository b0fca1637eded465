#include "cellpainter.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/grid.h"
#include "core/sheet/money.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace {
constexpr qreal ShrinkStep = 0.9;
constexpr qreal SmallestShare = 0.6;
constexpr qreal AmountShrinkStep = 0.97;
// The column titles.
constexpr int HeaderRow = 0;
const QChar Ellipsis(0x2026);

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

// The amount in the largest font, down to the smallest an amount may take, that fits the width.
std::optional<QFont> shrunkToWidth(const QFont &font, const QString &text, qreal width)
{
    const qreal smallest = CellPainter::SmallestAmountPoints / CellPainter::SheetFontPoints;
    const qreal first = std::min<qreal>(1, width / QFontMetricsF(font).horizontalAdvance(text));
    for (qreal factor = first; factor >= smallest; factor *= AmountShrinkStep) {
        const QFont shrunk = scaled(font, factor);
        if (QFontMetricsF(shrunk).horizontalAdvance(text) <= width)
            return shrunk;
    }
    return std::nullopt;
}

QFont cellFont(const CellPainter::CellLook &look, const QFont &baseFont)
{
    QFont font = baseFont;
    font.setBold(look.bold);
    font.setItalic(look.kind == CellPainter::CellLook::Kind::Note);
    return font;
}

QRectF textRectOf(const QRectF &cellRect, qreal padding)
{
    return cellRect.adjusted(padding, padding / 2, -padding, 0);
}

// The lines of a paragraph as the wrap mode breaks them at this width.
QStringList wrappedParagraph(const QString &paragraph, const QFont &font, qreal width, QTextOption::WrapMode wrapMode)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(wrapMode);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

void drawAmount(QPainter &painter, const QRectF &textRect, Qt::Alignment alignment, const QString &text, QFont font,
                CellPainter::WideAmount wideAmount)
{
    QString shown = text;
    if (QFontMetricsF(font).horizontalAdvance(text) > textRect.width()) {
        const std::optional<QFont> shrunk =
            wideAmount == CellPainter::WideAmount::Shrunk ? shrunkToWidth(font, text, textRect.width()) : std::nullopt;
        if (shrunk)
            font = *shrunk;
        else
            shown = QStringLiteral("###");
    }
    painter.setFont(font);
    painter.drawText(textRect, int(alignment), shown);
}

// Each line is drawn in a box of the text's width, which QPainter clips a longer line to;
// only a cell too low for its one line needs clipping of its own.
void drawLines(QPainter &painter, const QRectF &cellRect, const QRectF &textRect, Qt::Alignment alignment,
               const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    const int room = std::max(1, int((textRect.height() + metrics.leading()) / metrics.lineSpacing()));
    const QStringList lines = CellPainter::fittedLines(text, font, textRect.width(), room, QTextOption::WordWrap);
    const bool clipped =
        textRect.top() + (lines.size() - 1) * metrics.lineSpacing() + metrics.height() > cellRect.bottom();
    if (clipped) {
        painter.save();
        painter.setClipRect(cellRect, Qt::IntersectClip);
    }
    painter.setFont(font);
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    qreal top = textRect.top();
    for (const QString &line : lines) {
        painter.drawText(QRectF(textRect.left(), top, textRect.width(), metrics.height()),
                         int(horizontal | Qt::AlignTop), line);
        top += metrics.lineSpacing();
    }
    if (clipped)
        painter.restore();
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

QStringList fittedLines(const QString &text, const QFont &font, qreal width, int maxLines,
                        QTextOption::WrapMode wrapMode)
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n'))
        lines << wrappedParagraph(paragraph, font, width, wrapMode);
    if (lines.size() <= maxLines)
        return lines;
    lines.resize(std::max(1, maxLines));
    const QFontMetricsF metrics(font);
    lines.last() = metrics.elidedText(lines.last() + Ellipsis, Qt::ElideRight, width);
    return lines;
}

CellLook lookOf(const Grid &grid, int row, int column)
{
    CellLook look;
    look.text = grid.text(row, column);
    look.bold = grid.isBold(row, column);
    look.alignment = grid.alignment(row, column);
    if (grid.textColour(row, column) == TextColour::Red)
        look.colour = QColor(255, 0, 0);
    if (row == HeaderRow)
        look.kind = CellLook::Kind::Title;
    else if (EstimateSheet::isMoneyColumn(column))
        look.kind = Money::holdsNote(look.text) ? CellLook::Kind::Note : CellLook::Kind::Amount;
    return look;
}

bool hidesAmount(const QRectF &cellRect, const CellLook &look, const QFont &baseFont, qreal padding)
{
    return look.kind == CellLook::Kind::Amount && !look.text.isEmpty()
        && QFontMetricsF(cellFont(look, baseFont)).horizontalAdvance(look.text) > textRectOf(cellRect, padding).width();
}

void drawText(QPainter &painter, const QRectF &cellRect, const CellLook &look, const QFont &baseFont, qreal padding,
              WideAmount wideAmount)
{
    if (look.text.isEmpty())
        return;
    QFont font = cellFont(look, baseFont);
    const QRectF textRect = textRectOf(cellRect, padding);
    if (look.kind == CellLook::Kind::Title)
        font = fittingFont(font, textRect, int(look.alignment) | Qt::TextWordWrap, look.text);
    // Saving and restoring the whole painter for every cell costs more than the drawing.
    const QPen pen = painter.pen();
    const QFont painterFont = painter.font();
    if (look.colour.isValid())
        painter.setPen(look.colour);
    if (look.kind == CellLook::Kind::Amount)
        drawAmount(painter, textRect, look.alignment, look.text, font, wideAmount);
    else
        drawLines(painter, cellRect, textRect, look.alignment, look.text, font);
    painter.setFont(painterFont);
    painter.setPen(pen);
}

}
