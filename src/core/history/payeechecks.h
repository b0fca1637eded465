#pragma once

#include "estimatehistory.h"

#include <QMap>
#include <QStringList>

class Grid;

// What a lender or title company sends a draw back for when its papers are short: a payee
// paid without the lien waiver that goes with the payment, or without the one for the payment
// before; a payee whose insurance ran out before the draw, or paid for the first time with no
// W-9; a line whose invoices come to less than it asks; a paper gone from the documents folder.
namespace PayeeChecks {
// Why a paper cannot be sent, by its number: gone from the documents folder, or changed since
// it was attached. Worked out by whoever can look at the folder.
using UnavailablePapers = QMap<int, QString>;

// The checks of draw, recorded or about to be: draw.number and draw.date are its own, and
// its lines what it pays; the draws before it are those of the history.
QStringList of(const Draw &draw, const Grid &grid, const EstimateHistory &history,
               const UnavailablePapers &unavailable = {});
}
