#pragma once

#include "core/budget/budgetfigures.h"

#include <QList>

class BudgetScale;
class QPainter;
class QRectF;

// The Budget view's chart on paper, drawn from the same figures: a horizontal bar for each
// line from the top down, split into its parts, its label beside it, a scale of dollars
// under the bars and a legend of the kinds of part any bar holds. The overrun has the
// view's warning colour on paper, and its label says it too.
class BudgetBars
{
public:
    explicit BudgetBars(QList<BudgetLine> lines);

    // Draws the chart filling target, which is in twips, in the report's typeface.
    void draw(QPainter &painter, const QRectF &target) const;

private:
    qreal labelWidth(qreal room) const;
    void drawScale(QPainter &painter, const QRectF &plot, const BudgetScale &scale) const;
    void drawBars(QPainter &painter, const QRectF &plot, qreal labelRoom, const BudgetScale &scale) const;
    void drawLegend(QPainter &painter, const QRectF &target) const;

    const QList<BudgetLine> m_lines;
};
