#include "budgetbars.h"

#include "core/budget/budgetscale.h"
#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {
// The chart's text is the size of the report's small print.
constexpr qreal TextPoints = 6.5;
// A bar takes half of its row's height, as the view's bars do.
constexpr qreal BarShare = 0.5;
constexpr qreal LabelShare = 0.45;
constexpr qreal Gap = 80;

QColor mixed(const QColor &a, const QColor &b, qreal shareOfB)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * shareOfB,
                            a.greenF() + (b.greenF() - a.greenF()) * shareOfB,
                            a.blueF() + (b.blueF() - a.blueF()) * shareOfB);
}

// The page's colours: dark text on white paper, whatever the desktop's theme.
QColor paper()
{
    return Qt::white;
}

QColor ink()
{
    return Qt::black;
}

QColor highlight()
{
    return QColor(38, 94, 160);
}

QFont chartFont()
{
    return ReportFont::atPoints(TextPoints, false);
}

// One kind of part of a bar, in the order the bars hold them, and its colour on paper.
struct Kind
{
    QString name;
    QColor colour;
    Cents BudgetLine::BarParts::*part;
};

const std::array<Kind, 5> &kinds()
{
    static const std::array<Kind, 5> all = {{
        {QStringLiteral("Paid"), highlight(), &BudgetLine::BarParts::paid},
        {QStringLiteral("This period"), mixed(highlight(), paper(), 0.55), &BudgetLine::BarParts::current},
        {QStringLiteral("Used by change orders"), mixed(ink(), paper(), 0.45),
         &BudgetLine::BarParts::usedByChangeOrders},
        {QStringLiteral("Left to pay"), mixed(ink(), paper(), 0.8), &BudgetLine::BarParts::left},
        {QStringLiteral("Over budget"), QColor(200, 30, 30), &BudgetLine::BarParts::overrun},
    }};
    return all;
}
}

BudgetBars::BudgetBars(QList<BudgetLine> lines)
    : m_lines(std::move(lines))
{
}

void BudgetBars::draw(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.setFont(chartFont());
    const qreal lineHeight = QFontMetricsF(chartFont()).height();
    const qreal labelRoom = labelWidth(target.width() * LabelShare);
    const QRectF plot(target.left() + labelRoom + Gap, target.top(), target.width() - labelRoom - 2 * Gap,
                      target.height() - 4 * lineHeight);
    const BudgetScale scale(m_lines);
    drawScale(painter, plot, scale);
    drawBars(painter, plot, labelRoom, scale);
    drawLegend(painter, QRectF(target.left(), target.bottom() - 1.5 * lineHeight, target.width(), lineHeight));
    painter.restore();
}

qreal BudgetBars::labelWidth(qreal room) const
{
    const QFontMetricsF metrics(chartFont());
    qreal widest = 0;
    for (const BudgetLine &line : m_lines)
        widest = std::max(widest, metrics.horizontalAdvance(line.label()));
    return std::min(widest, room);
}

void BudgetBars::drawScale(QPainter &painter, const QRectF &plot, const BudgetScale &scale) const
{
    const QFontMetricsF metrics(chartFont());
    const int steps = scale.tickCount() - 1;
    for (int i = 0; i <= steps; ++i) {
        const qreal x = plot.left() + plot.width() * i / steps;
        painter.setPen(QPen(mixed(ink(), paper(), i == 0 ? 0.5 : 0.85), 10));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const QString text = scale.tickText(scale.tick(i));
        painter.setPen(ink());
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot.bottom() + Gap + metrics.ascent()),
                         text);
    }
    painter.setPen(QPen(mixed(ink(), paper(), 0.5), 10));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
}

void BudgetBars::drawBars(QPainter &painter, const QRectF &plot, qreal labelRoom, const BudgetScale &scale) const
{
    if (m_lines.isEmpty())
        return;
    const QFontMetricsF metrics(chartFont());
    const qreal band = plot.height() / m_lines.size();
    const qreal thickness = band * BarShare;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const BudgetLine &line = m_lines.at(i);
        const qreal middle = plot.top() + band * (i + 0.5);
        const QString label = metrics.elidedText(line.label(), Qt::ElideRight, labelRoom);
        painter.setPen(ink());
        painter.drawText(QPointF(plot.left() - Gap - metrics.horizontalAdvance(label),
                                 middle - metrics.height() / 2 + metrics.ascent()),
                         label);
        const BudgetLine::BarParts parts = scale.drawnParts(line);
        qreal left = plot.left();
        for (const Kind &kind : kinds()) {
            const qreal width = plot.width() * (qreal(parts.*kind.part) / 100) / scale.end();
            if (width <= 0)
                continue;
            const QRectF piece(left, middle - thickness / 2, width, thickness);
            painter.fillRect(piece, kind.colour);
            painter.setPen(QPen(paper(), 5));
            painter.drawRect(piece);
            left += width;
        }
    }
}

// A kind of part no bar has is left out of the legend.
void BudgetBars::drawLegend(QPainter &painter, const QRectF &target) const
{
    const QFontMetricsF metrics(chartFont());
    const qreal marker = metrics.height() * 0.7;
    QList<const Kind *> shown;
    for (const Kind &kind : kinds()) {
        if (std::any_of(m_lines.cbegin(), m_lines.cend(),
                        [&kind](const BudgetLine &line) { return line.barParts().*kind.part > 0; }))
            shown << &kind;
    }
    qreal width = 0;
    for (const Kind *kind : shown)
        width += marker + Gap + metrics.horizontalAdvance(kind->name) + 3 * Gap;
    qreal x = target.center().x() - width / 2;
    for (const Kind *kind : shown) {
        painter.fillRect(QRectF(x, target.center().y() - marker / 2, marker, marker), kind->colour);
        x += marker + Gap;
        painter.setPen(ink());
        painter.drawText(QPointF(x, target.center().y() - metrics.height() / 2 + metrics.ascent()), kind->name);
        x += metrics.horizontalAdvance(kind->name) + 3 * Gap;
    }
}
