#include "drawrecording.h"

#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "drawsnapshot.h"

namespace CurrentPayments {

Draw nextDraw(const Grid &grid, const EstimateHistory &history, const QList<int> &rows, const QDate &date,
              const QString &note, const DrawParties &parties)
{
    return Draw{history.nextDrawNumber(),          date,    note, history.retainageBasisPoints,
                DrawSnapshot::linesOf(grid, rows), parties, {},   std::nullopt};
}

Draw recordDraw(EstimateSheet &sheet, EstimateHistory &history, const QList<int> &rows, const QDate &date,
                const QString &note, const DrawParties &parties)
{
    const Draw draw = nextDraw(sheet.grid(), history, rows, date, note, parties);
    history.draws.append(draw);
    record(sheet, rows);
    return draw;
}

}
