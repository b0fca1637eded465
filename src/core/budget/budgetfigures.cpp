#include "budgetfigures.h"

#include "core/history/changeorders.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <algorithm>

namespace {
// The amount of a cell; a note counts as nothing, as it does in the totals.
Cents amountIn(const Grid &grid, int row, int column)
{
    return MoneyCents::fromText(grid.text(row, column));
}

bool holdsAmount(const Grid &grid, int row)
{
    for (int column = EstimateSheet::OriginalEstimateColumn; column <= EstimateSheet::CurrentPaymentColumn; ++column) {
        const QString &text = grid.text(row, column);
        if (Money::holdsAmount(text))
            return true;
    }
    return false;
}

// The table's cell of what is over budget, empty within it.
QString overText(Cents overBy)
{
    return overBy > 0 ? QStringLiteral("Over by %1").arg(MoneyCents::text(overBy)) : QString();
}

BudgetLine lineOf(const Grid &grid, int row, int contingencyRow)
{
    BudgetLine line;
    line.row = row;
    line.name = EstimateSheet::rowName(grid, row);
    line.isContingency = row == contingencyRow;
    line.original = amountIn(grid, row, EstimateSheet::OriginalEstimateColumn);
    line.estimate = MoneyCents::fromValue(EstimateSheet::scheduledValue(grid, row).value_or(0.0));
    line.paid = amountIn(grid, row, EstimateSheet::PreviousPaymentColumn);
    line.current = amountIn(grid, row, EstimateSheet::CurrentPaymentColumn);
    line.costToComplete = amountIn(grid, row, EstimateSheet::CostToCompleteColumn);
    return line;
}
}

Cents BudgetLine::leftToPay() const
{
    return std::max<Cents>(0, estimate - paid - current);
}

// A credit (an estimate below zero) is money back: only what is paid on it is spent beyond it.
Cents BudgetLine::overrun() const
{
    return std::max<Cents>(0, paid + current - std::max<Cents>(estimate, 0));
}

bool BudgetLine::isOverBudget() const
{
    return overrun() > 0 || (estimate >= 0 && costToComplete < 0);
}

Cents BudgetLine::overBy() const
{
    return isOverBudget() ? std::max(overrun(), -costToComplete) : 0;
}

BudgetLine::BarParts BudgetLine::barParts() const
{
    const Cents whole = std::max<Cents>(0, estimate);
    const Cents spentBefore = std::max<Cents>(0, paid);
    const Cents spentNow = std::max<Cents>(0, current);
    BarParts parts;
    parts.paid = std::min(spentBefore, whole);
    parts.current = std::min(spentNow, whole - parts.paid);
    parts.usedByChangeOrders = std::max<Cents>(0, usedByChangeOrders);
    parts.left = whole - parts.paid - parts.current;
    parts.overrun = std::max<Cents>(0, spentBefore + spentNow - whole);
    return parts;
}

QString BudgetLine::label() const
{
    return labelLines().join(QStringLiteral(" - "));
}

QStringList BudgetLine::labelLines() const
{
    QStringList lines = {name};
    if (isContingency)
        lines.first() += QStringLiteral(" (contingency)");
    if (isOverBudget())
        lines << QStringLiteral("over by %1").arg(MoneyCents::text(overBy()));
    return lines;
}

QStringList BudgetLine::tableTexts() const
{
    return {labelLines().constFirst(), MoneyCents::text(original), MoneyCents::text(estimate),
            MoneyCents::text(paid),    MoneyCents::text(current),  MoneyCents::text(costToComplete),
            overText(overBy())};
}

BudgetFigures::BudgetFigures(const Grid &grid, const EstimateHistory &history)
{
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        if (!holdsAmount(grid, row))
            continue;
        BudgetLine line = lineOf(grid, row, history.contingencyRow);
        m_totals.original += line.original;
        m_totals.estimate += line.estimate;
        m_totals.paid += line.paid;
        m_totals.current += line.current;
        m_totals.costToComplete += line.costToComplete;
        m_totals.overBy += line.overBy();
        m_lines << line;
    }
    Cents usedByChangeOrders = 0;
    for (const ChangeOrder &order : history.changeOrders) {
        if (!order.isInForce())
            continue;
        m_changeOrders += order.amount;
        if (order.source == ChangeOrder::Source::Contingency)
            usedByChangeOrders += order.amount;
    }
    for (BudgetLine &line : m_lines) {
        if (line.isContingency)
            line.usedByChangeOrders = std::max<Cents>(0, usedByChangeOrders);
    }
    m_contingencyLeft = ChangeOrders::contingencyLeft(grid, history);
}

QList<BudgetLine> BudgetFigures::overBudgetLines() const
{
    QList<BudgetLine> over;
    std::copy_if(m_lines.cbegin(), m_lines.cend(), std::back_inserter(over),
                 [](const BudgetLine &line) { return line.isOverBudget(); });
    return over;
}

QString BudgetFigures::totalsLine() const
{
    QStringList parts = {QStringLiteral("Estimate %1").arg(MoneyCents::text(m_totals.estimate)),
                         QStringLiteral("change orders %1").arg(MoneyCents::text(m_changeOrders)),
                         QStringLiteral("paid to date %1").arg(MoneyCents::text(m_totals.paid))};
    if (m_totals.estimate > 0)
        parts.last() +=
            QStringLiteral(" (%1)").arg(MoneyCents::percentText(m_totals.paid, m_totals.estimate, 1, u" %"));
    parts << QStringLiteral("contingency left %1").arg(MoneyCents::text(m_contingencyLeft));
    return parts.join(QStringLiteral("; "));
}

QStringList BudgetFigures::tableTitles()
{
    return {QStringLiteral("Row"),          QStringLiteral("Original estimate"), QStringLiteral("Adjusted estimate"),
            QStringLiteral("Paid to date"), QStringLiteral("This period"),       QStringLiteral("Cost to complete"),
            QStringLiteral("Over budget")};
}

QStringList BudgetFigures::totalTexts() const
{
    return {
        QStringLiteral("Total"),         MoneyCents::text(m_totals.original), MoneyCents::text(m_totals.estimate),
        MoneyCents::text(m_totals.paid), MoneyCents::text(m_totals.current),  MoneyCents::text(m_totals.costToComplete),
        overText(m_totals.overBy)};
}
