#include "currentpayments.h"

#include "estimatesheet.h"
#include "money.h"

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

double total(const Grid &grid, const QList<int> &rows)
{
    double sum = 0.0;
    for (const int row : rows)
        sum += Money::ReadMoneyValue(grid.text(row, Current));
    return sum;
}

void record(EstimateSheet &sheet, const QList<int> &rows)
{
    Grid &grid = sheet.grid();
    for (const int row : rows) {
        const double paid =
            Money::ReadMoneyValue(grid.text(row, Previous)) + Money::ReadMoneyValue(grid.text(row, Current));
        grid.setText(row, Previous, Money::moneyText(paid));
        grid.setText(row, Current, QString());
        sheet.recalculateRow(row);
    }
    sheet.recalculateColumnTotals();
}

}
