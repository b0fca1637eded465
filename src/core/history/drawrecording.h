#pragma once

#include "estimatehistory.h"

#include <QList>

class EstimateSheet;
class Grid;

namespace CurrentPayments {
// The draw that recording these rows now would add to the history, before anything changes.
Draw nextDraw(const Grid &grid, const EstimateHistory &history, const QList<int> &rows, const QDate &date,
              const QString &note, const DrawParties &parties);
// Edit > Record Current Payments: the next draw of the history, with every row as it stands
// before the rows are recorded, is added to the history, with the parties its request names;
// then the rows are recorded. What changed is those rows and the draw returned.
Draw recordDraw(EstimateSheet &sheet, EstimateHistory &history, const QList<int> &rows, const QDate &date,
                const QString &note, const DrawParties &parties);
}
