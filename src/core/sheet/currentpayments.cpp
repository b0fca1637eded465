#include "currentpayments.h"

#include "estimatesheet.h"
#include "money.h"
#include "moneycents.h"

#include <algorithm>

namespace {
constexpr int Previous = EstimateSheet::PreviousPaymentColumn;
constexpr int Current = EstimateSheet::CurrentPaymentColumn;

bool isRecordable(const Grid &grid, int row)
{
    const QString &previous = grid.text(row, Previous);
    return Money::holdsAmount(grid.text(row, Current)) && (previous.isEmpty() || Money::holdsAmount(previous));
}
}

namespace CurrentPayments {

QList<int> recordableRows(const Grid &grid)
{
    QList<int> rows;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        if (isRecordable(grid, row))
            rows << row;
    }
    return rows;
}

bool holdsPayment(const Grid &grid)
{
    const QList<int> rows = recordableRows(grid);
    return std::any_of(rows.cbegin(), rows.cend(),
                       [&grid](int row) { return MoneyCents::fromText(grid.text(row, Current)) > 0; });
}

QStringList leftOutRows(const Grid &grid)
{
    QStringList leftOut;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        const QString &current = grid.text(row, Current);
        if (current.isEmpty() || isRecordable(grid, row))
            continue;
        leftOut << QStringLiteral("row %1 is left out: its %2 is not an amount")
                       .arg(row)
                       .arg(Money::holdsAmount(current) ? QStringLiteral("previous payment")
                                                        : QStringLiteral("current amount"));
    }
    return leftOut;
}

void record(EstimateSheet &sheet, const QList<int> &rows)
{
    Grid &grid = sheet.grid();
    for (const int row : rows) {
        const Cents paid =
            MoneyCents::fromText(grid.text(row, Previous)) + MoneyCents::fromText(grid.text(row, Current));
        grid.setText(row, Previous, MoneyCents::text(paid));
        grid.setText(row, Current, QString());
        sheet.recalculateRow(row);
    }
    sheet.recalculateColumnTotals();
}

}
