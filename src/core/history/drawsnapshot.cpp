#include "drawsnapshot.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"

namespace DrawSnapshot {

QList<DrawLine> linesOf(const Grid &grid, const QList<int> &paidRows)
{
    QList<DrawLine> lines;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        const auto cents = [&grid, row](int column) { return MoneyCents::fromText(grid.text(row, column)); };
        const DrawLine line{
            row,
            cents(EstimateSheet::OriginalEstimateColumn),
            MoneyCents::fromValue(EstimateSheet::scheduledValue(grid, row).value_or(0.0)),
            cents(EstimateSheet::PreviousPaymentColumn),
            paidRows.contains(row) ? cents(EstimateSheet::CurrentPaymentColumn) : 0,
            textsOf(grid, row),
            {},
            {},
        };
        if (line.originalValue != 0 || line.scheduledValue != 0 || line.previousPayments != 0 || line.paid != 0)
            lines << line;
    }
    return lines;
}

RowTexts textsOf(const Grid &grid, int row)
{
    return {grid.text(row, EstimateSheet::DescriptionColumn), grid.text(row, EstimateSheet::SupplierColumn)};
}

Cents paidIn(const QList<DrawLine> &lines)
{
    Cents paid = 0;
    for (const DrawLine &line : lines)
        paid += line.paid;
    return paid;
}

}
