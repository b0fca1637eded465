// Any bytes given to the estimate file reader: it must refuse or read them without a fault,
// a file it writes from what it read must read back whole and write itself again, the sheet must
// take the texts, and every draw's request must be made from the history read. The same bytes,
// taken for what follows an estimate's last row, must come out whole: every line of them is
// in what is written of them.

#include "core/document/estimatefile.h"
#include "core/document/filetext.h"
#include "core/document/historysection.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"

#include <QBuffer>
#include <QMap>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
bool looksLikeUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError() && text.size() != bytes.size();
}

// How often each line that is not blank comes in the bytes, whichever line ends they use.
QMap<QByteArray, int> lineCounts(const QByteArray &bytes)
{
    QMap<QByteArray, int> counts;
    for (const QByteArray &line : QByteArray(bytes).replace('\r', '\n').split('\n')) {
        const bool blank = std::all_of(line.begin(), line.end(), [](char byte) {
            return byte == ' ' || byte == '\t' || byte == 0x1a || std::isspace(uchar(byte));
        });
        if (!blank)
            ++counts[line];
    }
    return counts;
}

// Compared with the input itself, not with a reading of the output: a line the reader
// dropped is missing there, however the output reads back.
void keepsEveryLine(const QByteArray &rest)
{
    const HistorySection::Reading reading = HistorySection::read(rest, FileText::CodePage);
    QList<EstimateFile::LostText> lost;
    const QByteArray written = HistorySection::encode(reading.history, lost) + reading.unreadLines;
    // A section read whole that holds only what an empty history holds has nothing to keep.
    if (!lost.isEmpty() || written.isEmpty())
        return;
    const QMap<QByteArray, int> kept = lineCounts(written);
    const QMap<QByteArray, int> given = lineCounts(rest);
    for (auto line = given.cbegin(); line != given.cend(); ++line) {
        if (kept.value(line.key()) < line.value())
            std::abort();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    keepsEveryLine(bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<EstimateContent> content = EstimateFile::decode(buffer);
    if (!content)
        return 0;

    const QByteArray written = EstimateFile::encode(*content);
    if (written.size() <= EstimateFile::MaximumSize) {
        QByteArray copy = written;
        QBuffer again(&copy);
        again.open(QIODevice::ReadOnly);
        const std::optional<EstimateContent> reread = EstimateFile::decode(again);
        // Texts are written in their stored form (a straight quote inside one becomes a
        // typographic one), so what is compared is the file: it must write itself again.
        // Code-page bytes that are all UTF-8 as well are read as UTF-8, a guess the format
        // leaves no way around.
        if (!reread || (EstimateFile::encode(*reread) != written && !looksLikeUtf8(written)))
            std::abort();
        if (!looksLikeUtf8(written)
            && (reread->history != content->history || reread->unreadLines != content->unreadLines))
            std::abort();
    }

    EstimateSheet sheet;
    Grid &grid = sheet.grid();
    for (int row = 1; row <= EstimateContent::RowCount; ++row) {
        for (int column = 1; column <= EstimateContent::ColumnCount; ++column)
            grid.setText(row, column, content->cells[size_t(row - 1)][size_t(column - 1)]);
    }
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        grid.setCurrentRow(row);
        sheet.RecalculateTotals();
    }

    const HeaderFields header;
    const EstimateHistory &history = content->history;
    for (int number = 1; number <= history.draws.size(); ++number) {
        const std::optional<DrawRequest> request = DrawRequest::recorded(grid, header, history, number);
        if (!request)
            std::abort();
        DrawRequestChecks::ofRecorded(*request, grid, history);
    }
    const DrawRequest next = DrawRequest::next(grid, header, history, QDate(2026, 12, 1));
    DrawRequestChecks::ofNext(next, grid, history);
    return 0;
}
