#include "drawrecording.h"

#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "drawsnapshot.h"

namespace CurrentPayments {

Draw recordDraw(EstimateSheet &sheet, EstimateHistory &history, const QList<int> &rows, const QDate &date,
                const QString &note, const DrawParties &parties)
{
    const Draw draw{int(history.draws.size()) + 1,
                    date,
                    note,
                    history.retainageBasisPoints,
                    DrawSnapshot::linesOf(sheet.grid(), rows),
                    parties,
                    {}};
    history.draws.append(draw);
    record(sheet, rows);
    return draw;
}

}
