#pragma once

#include "budgetfigures.h"

#include <QList>
#include <QString>

// The amount axis of the budget's bars, the same in the Budget view and on paper: it ends on
// a round amount past the longest bar, with ticks on round steps, as QValueAxis's nice
// numbers would place them, each named in currency form ("$1,500"). It also gives the length
// a bar's overrun is drawn at: at least a share of the axis, so that $200 spent beyond
// a row of $1,850 is plainly seen beside rows of a hundred thousand; its label says how much.
class BudgetScale
{
public:
    // The share of the axis an overrun is drawn at, when it is smaller: a few pixels in the
    // narrowest view beside the sheet.
    static constexpr double MinimumOverrunShare = 0.05;

    explicit BudgetScale(const QList<BudgetLine> &lines);

    // In dollars.
    double end() const { return m_end; }
    double step() const { return m_step; }
    // The ticks from zero to the end, both included.
    int tickCount() const { return m_tickCount; }
    double tick(int index) const { return m_step * index; }
    // Whole dollars, or cents where the steps are smaller than a dollar.
    int decimals() const { return m_step < 1 ? 2 : 0; }
    // A tick's amount in currency form, as many decimals as the steps need: "$1,500".
    QString tickText(double dollars) const;
    // The most ticks, from tickCount() down to the two at the ends, still evenly spaced from
    // zero to the end, whose labels of at most labelWidth, each centred on its tick, stand at
    // least gap apart along an axis of length: in a narrow view fewer amounts are named, each
    // whole, rather than all of them on top of each other.
    int tickCountFor(double length, double labelWidth, double gap) const;

    // The parts of the line's bar as drawn, in cents.
    BudgetLine::BarParts drawnParts(const BudgetLine &line) const;

private:
    // Ends the axis past the longest bar.
    void reach(Cents longest);

    Cents m_minimumOverrun = 0;
    double m_end = 1;
    double m_step = 1;
    int m_tickCount = 2;
};
