#pragma once

#include "estimatehistory.h"
#include "payeechecks.h"

#include <QList>
#include <QStringList>

class Grid;
struct DrawRequest;

// What a lender would send a request back for, listed before it goes out: rows completed
// beyond their scheduled value, negative amounts, notes where amounts should be, previous
// payments that are not what the recorded draws paid, and nothing to request.
namespace DrawRequestChecks {
// A row whose "Total of Previous Payment" is not the opening balance plus the recorded
// draws' payments: edited by hand since.
struct PaymentDifference
{
    int row = 0;
    Cents shown = 0;
    Cents recorded = 0;
    friend bool operator==(const PaymentDifference &, const PaymentDifference &) = default;
};
QList<PaymentDifference> previousPaymentsDifferingFromHistory(const Grid &grid, const EstimateHistory &history);

// The checks of the next draw's request, made from the sheet.
QStringList ofNext(const DrawRequest &request, const Grid &grid, const EstimateHistory &history,
                   const PayeeChecks::UnavailablePapers &unavailable = {});
// The checks of a recorded draw's request; the rows are named by the sheet.
QStringList ofRecorded(const DrawRequest &request, const Grid &grid, const EstimateHistory &history,
                       const PayeeChecks::UnavailablePapers &unavailable = {});
}
