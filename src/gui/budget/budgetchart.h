#pragma once

#include "core/budget/budgetfigures.h"
#include "core/budget/budgetscale.h"

#include <QChart>
#include <QList>

class QBarCategoryAxis;
class QBarSet;
class QHorizontalStackedBarSeries;
class QPalette;
class QValueAxis;

// The budget as horizontal bars, one for each row: its adjusted estimate split into what is
// paid, what is paid this period and what is left, what change orders took out of the
// contingency, and the spending beyond the estimate in a warning colour. A bar over budget
// says so in its label too, so that the colour is never the only sign. The Budget view and
// the budget report show this same chart. However narrow the view beside the sheet, each
// label fits its room, cut short where it must with the whole of it in the bar's tool tip, and
// the amount axis names as many amounts as stand side by side.
class BudgetChart : public QChart
{
    Q_OBJECT

public:
    explicit BudgetChart(QGraphicsItem *parent = nullptr);

    // The lines from the top down.
    void showLines(const QList<BudgetLine> &lines);
    // The colours follow the palette's, so that the chart reads in a dark theme as in a
    // light one and on paper.
    void setColours(const QPalette &palette);
    void setTextFont(const QFont &font);

    // The warning colour of the overrun on this palette.
    static QColor overrunColour(const QPalette &palette);

signals:
    // The user clicked the bar of this row.
    void rowClicked(int row);

private:
    void addSets();
    void showScale(const BudgetScale &scale);
    // The row labels cut to the room the chart's width leaves them, and the amount axis's
    // ticks to what its length holds.
    void fitLabels();
    void fitTicks();
    qreal labelRoom() const;
    void showToolTip(bool hovered, int index);

    QHorizontalStackedBarSeries *m_series = nullptr;
    QBarSet *m_paid = nullptr;
    QBarSet *m_current = nullptr;
    QBarSet *m_usedByChangeOrders = nullptr;
    QBarSet *m_left = nullptr;
    QBarSet *m_overrun = nullptr;
    QBarCategoryAxis *m_rowAxis = nullptr;
    QValueAxis *m_amountAxis = nullptr;
    // The sheet row of each bar, from the bottom up, as the series counts them, and its label's
    // lines whole.
    QList<int> m_rows;
    QList<QStringList> m_labelLines;
    BudgetScale m_scale{{}};
};
