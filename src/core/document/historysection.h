#pragma once

#include "core/history/estimatehistory.h"
#include "estimatefile.h"

#include <QByteArray>
#include <QList>

class FieldReader;

// The estimate's history in its file, after the 38 records where older readers do not look:
// a header record that names the section, its version and the number of records after it,
// so that a file cut short is noticed, then one record for the retainage rate, one for the
// contingency row, one for each draw followed by one for each of its rows, and one for each
// change order. Same style as the records above it: quoted texts, bare integers, amounts in
// cents, dates as year-month-day.
namespace HistorySection {
// The section's bytes; empty for an empty history, so that such a file is what it always was.
QByteArray encode(const EstimateHistory &history, QList<EstimateFile::LostText> &lostTexts);

// Reads the section that begins where reader stands, or on a line further on (displaced then
// says so: something stands between it and the last row), its texts in the file's encoding.
// A file without one is left alone, whatever follows its last row. False, with errorString
// telling why, for a section that cannot be read whole.
bool read(FieldReader &reader, const char *encoding, EstimateHistory &history, bool *displaced,
          QString *errorString = nullptr);
}
