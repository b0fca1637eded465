#pragma once

// Histories as months of a build leave them, for the tests that must lose none of it.

#include "core/document/estimatecontent.h"
#include "core/sheet/categorytable.h"
#include "core/sheet/moneycents.h"

namespace Histories {
// An estimate of every row, each drawn on in every one of draws draws (with texts and
// parties kept, at a retainage that changes once), and a change order for every fifth draw.
inline EstimateContent estimateWithDraws(int draws)
{
    EstimateContent content;
    content.name = QStringLiteral("Pat Owner");
    content.address = QStringLiteral("12 Elm Road\nSpringfield");
    content.builder = QStringLiteral("Owner-builder");
    QList<Cents> paid(EstimateContent::RowCount);
    for (int row = 1; row <= EstimateContent::RowCount; ++row) {
        const Cents estimate = Cents(row) * 1000000;
        content.cells[row - 1] = {QStringLiteral("Supplier %1").arg(row), CategoryTable::names().value(row - 1),
                                  MoneyCents::text(estimate)};
    }
    EstimateHistory &history = content.history;
    history.retainageBasisPoints = 500;
    for (int number = 1; number <= draws; ++number) {
        Draw draw{number,
                  QDate(2026, 1, 1).addDays(7 * number),
                  QStringLiteral("draw %1, inspection passed").arg(number),
                  number <= draws / 2 ? 1000 : 500,
                  {},
                  DrawParties{content.name, content.address, content.builder},
                  {},
                  std::nullopt};
        for (int row = 1; row <= EstimateContent::RowCount; ++row) {
            const Cents estimate = Cents(row) * 1000000;
            const Cents payment = estimate / (draws + 1) + number % 7;
            draw.lines.append({row,
                               estimate,
                               estimate,
                               paid[row - 1],
                               payment,
                               RowTexts{content.cells[row - 1][1], content.cells[row - 1][0]},
                               {},
                               {}});
            paid[row - 1] += payment;
        }
        history.draws.append(draw);
        if (number % 5 == 0)
            history.changeOrders.append({number / 5,
                                         draw.date,
                                         1 + number % 36,
                                         QStringLiteral("change %1").arg(number),
                                         -2500 * number,
                                         ChangeOrder::Status::Approved,
                                         ChangeOrder::Source::Contingency,
                                         std::nullopt,
                                         std::nullopt,
                                         {}});
    }
    for (int row = 1; row <= EstimateContent::RowCount; ++row)
        content.cells[row - 1][4] = MoneyCents::text(paid[row - 1]);
    return content;
}
}
