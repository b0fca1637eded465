#pragma once

#include "core/history/estimatehistory.h"

#include <QList>
#include <QString>
#include <QStringList>

class Grid;

// One item row as the budget shows it, in cents: its adjusted estimate split into what is
// paid, what is paid this period and what is left, and what was spent beyond it.
struct BudgetLine
{
    // The parts of the line's bar, none below zero: what is paid and paid this period within
    // the estimate, what change orders took, what is left of the estimate and what went
    // beyond it. The Budget view and the budget summary draw the same bar.
    struct BarParts
    {
        Cents paid = 0;
        Cents current = 0;
        Cents usedByChangeOrders = 0;
        Cents left = 0;
        Cents overrun = 0;

        Cents length() const { return paid + current + usedByChangeOrders + left + overrun; }
    };

    int row = 0;
    // The row as the register and the chart name it: "8 Roofing".
    QString name;
    bool isContingency = false;
    // The row's "Original Cost Estimate".
    Cents original = 0;
    // The adjusted estimate, or the original one while the adjusted one is empty.
    Cents estimate = 0;
    Cents paid = 0;
    Cents current = 0;
    // What approved change orders took out of the contingency; zero for other rows.
    Cents usedByChangeOrders = 0;
    // The row's "Estimated Cost to Complete" as the sheet shows it.
    Cents costToComplete = 0;

    Cents leftToPay() const;
    Cents overrun() const;
    // Paid and this period together come to more than the estimate, or the cost to complete
    // is below zero; a credit only once something is paid on it.
    bool isOverBudget() const;
    // How far the line is over budget, as its label says: what is spent beyond the estimate,
    // or the cost to complete below zero where that is more; zero within budget.
    Cents overBy() const;
    BarParts barParts() const;
    // The line's name beside its bar; a line over budget says so, so that the colour of its
    // bar is never the only sign.
    QString label() const;
    // The same in lines, the overrun on a line of its own, for a view too narrow for it in one.
    QStringList labelLines() const;
    // The line in the columns of BudgetFigures::tableTitles(), its amounts in money text.
    QStringList tableTexts() const;

    friend bool operator==(const BudgetLine &, const BudgetLine &) = default;
};

// Where the money of the build went, read from the sheet and the history: a line for each
// item row that holds an amount, and the build's totals.
class BudgetFigures
{
public:
    // The sums of the lines' figures, column by column.
    struct Totals
    {
        Cents original = 0;
        Cents estimate = 0;
        Cents paid = 0;
        Cents current = 0;
        Cents costToComplete = 0;
        // What the lines over budget are over by, together.
        Cents overBy = 0;

        friend bool operator==(const Totals &, const Totals &) = default;
    };

    BudgetFigures(const Grid &grid, const EstimateHistory &history);

    const QList<BudgetLine> &lines() const { return m_lines; }
    QList<BudgetLine> overBudgetLines() const;
    const Totals &totals() const { return m_totals; }

    // The line that says the build's totals, above the chart.
    QString totalsLine() const;

    // The columns of the budget's table of the lines: the row, then its figures.
    static QStringList tableTitles();
    // The table's Total line in those columns: the estimate and the paid to date are the
    // totals line's.
    QStringList totalTexts() const;

private:
    QList<BudgetLine> m_lines;
    Totals m_totals;
    // The amounts of the approved change orders.
    Cents m_changeOrders = 0;
    Cents m_contingencyLeft = 0;
};
