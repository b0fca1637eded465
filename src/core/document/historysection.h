#pragma once

#include "core/history/estimatehistory.h"
#include "estimatefile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The estimate's history in its file, after the 38 records where older readers do not look:
// a header record that names the section, its version and the number of records after it,
// so that a file cut short is noticed, then one record a line: one for the retainage rate,
// one for the contingency row, the number of the deleted change order when it is the highest
// given, the loan where one is recorded, one for each payee followed by one for each row it
// works on, the number of the deleted payee when it is the highest given, one for each draw followed by one for each of
// its rows, each row's by the payees' shares of its payment, and by the draw's funding once it went beyond requested,
// and one for each change order, a void one with the date and reason of the void at its end, each followed by the draws
// it was approved and voided after where those are known; then one for each paper kept in the documents folder, the
// number of the deleted paper when it is the highest given, and one for each lien waiver. Same style as the records
// above it: quoted texts, bare integers, amounts in cents, dates as year-month-day.
//
// A later version adds fields at the end of a record and records of its own kinds, and may
// name in the header, after the count, the oldest version that may save over its file:
// "VARN history",4,120,3. This one reads the fields it knows and keeps the rest.
namespace HistorySection {
// The newest version whose records this VARN writes: version 2 once a draw keeps its texts,
// version 3 once a change order is void or a deleted one's number is kept, version 4 once the
// loan or a draw's funding is, version 5 once there are payees or shares of a payment, version 6
// once there are papers or lien waivers, a deleted payee's or paper's number is kept, or a
// change order knows the draw it was approved or voided after. A history without any of them
// is written as version 1, byte for byte as before.
inline constexpr int Version = 6;

// The section's bytes; empty for an empty history, so that such a file is what it always was.
QByteArray encode(const EstimateHistory &history, QList<EstimateFile::LostText> &lostTexts);

struct Reading
{
    EstimateHistory history;
    // Whatever follows the estimate's last row and is not a section read whole, line ends
    // included, so that it can be written back as it was; error says why it could not be read.
    QByteArray unreadLines;
    QString error;
    // The unread lines hold what may be the history.
    bool historyUnread = false;
};

// Reads what follows the estimate's last row, its texts in the file's encoding. A section
// that cannot be read whole leaves the history empty and every line of it unread.
Reading read(const QByteArray &rest, const char *encoding);

// The number of lines in unread lines, a quoted text with line breaks counting as one.
int lineCount(const QByteArray &lines);
}
