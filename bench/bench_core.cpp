// The core's operations that the user waits for, timed one at a time: reading and writing
// money texts, the recalculation after an edit, and the estimate file.
#include "fullestimate.h"

#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/money.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void fillSheet(EstimateSheet &sheet, const EstimateContent &content)
{
    for (int row = 1; row <= EstimateContent::RowCount; ++row) {
        for (int column = 1; column <= EstimateContent::ColumnCount; ++column)
            sheet.grid().setText(row, column, content.cells[row - 1][column - 1]);
    }
}

// The totals are read back out of the texts the cells show: every recalculation reads
// some 180 money texts.
void BM_ReadMoneyValue(benchmark::State &state, QStringView text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Money::ReadMoneyValue(text));
}
BENCHMARK_CAPTURE(BM_ReadMoneyValue, grouped, u"$1,234,567.89");
BENCHMARK_CAPTURE(BM_ReadMoneyValue, negative, u"($75.00)");

// What a money cell's raw entry becomes.
void BM_FormatRawEntry(benchmark::State &state)
{
    const QString raw = QStringLiteral("1500.5");
    for (auto _ : state)
        benchmark::DoNotOptimize(Money::moneyText(Money::ReadMoneyValue(raw)));
}
BENCHMARK(BM_FormatRawEntry);

// The same on the sheet, as the cell editor commits an entry: the raw text goes into the
// cell and is written as currency there.
void BM_FormatMoneyCell(benchmark::State &state)
{
    EstimateSheet sheet;
    const QString raw = QStringLiteral("1500.5");
    constexpr int Row = 1;
    constexpr int Column = EstimateSheet::OriginalEstimateColumn;
    for (auto _ : state) {
        sheet.grid().setText(Row, Column, raw);
        sheet.FormatMoneyCell(Row, Column);
        benchmark::DoNotOptimize(sheet.grid().text(Row, Column));
    }
}
BENCHMARK(BM_FormatMoneyCell);

// After every edit: the edited row's cost to complete and the five column totals.
void BM_RecalculateTotals(benchmark::State &state)
{
    EstimateSheet sheet;
    fillSheet(sheet, fullEstimate());
    sheet.grid().setCurrentRow(EstimateSheet::ItemRowCount / 2);
    for (auto _ : state) {
        sheet.RecalculateTotals();
        benchmark::DoNotOptimize(sheet.grid().text(EstimateSheet::TotalRow, EstimateSheet::CostToCompleteColumn));
    }
}
BENCHMARK(BM_RecalculateTotals)->Unit(benchmark::kMicrosecond);

void BM_DecodeFullFile(benchmark::State &state)
{
    QByteArray bytes = EstimateFile::encode(fullEstimate());
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(EstimateFile::decode(buffer));
    }
}
BENCHMARK(BM_DecodeFullFile)->Unit(benchmark::kMicrosecond);

void BM_EncodeFullFile(benchmark::State &state)
{
    const EstimateContent content = fullEstimate();
    for (auto _ : state)
        benchmark::DoNotOptimize(EstimateFile::encode(content));
}
BENCHMARK(BM_EncodeFullFile)->Unit(benchmark::kMicrosecond);

// The whole Open from a file on disk: read, fill the sheet, 36 recalculations. Two months
// of the same estimate take turns, so that every Open replaces the payments the sheet
// holds, as opening another file does.
void BM_OpenFullFile(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString paths[] = {dir.filePath(QStringLiteral("may.vrn")), dir.filePath(QStringLiteral("june.vrn"))};
    if (!dir.isValid() || !EstimateFile::save(paths[0], fullEstimate(1))
        || !EstimateFile::save(paths[1], fullEstimate(2))) {
        state.SkipWithError("cannot write the estimate files");
        return;
    }
    EstimateSheet sheet;
    HeaderFields header;
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Document::ReadEstimateFile(sheet, header, paths[next]));
        next = 1 - next;
    }
}
BENCHMARK(BM_OpenFullFile)->Unit(benchmark::kMicrosecond);

// A construction loan's whole history, and then some: 200 draws of every row, and as many as
// the file holds, opened and saved as File > Open and File > Save do.
constexpr int ManyDraws = 200;

// The most draws of every row whose file stays within the size an estimate file may have.
int mostDrawsThatFit()
{
    int fits = 1;
    int tooMany = 4096;
    while (tooMany - fits > 1) {
        const int draws = (fits + tooMany) / 2;
        if (EstimateFile::encode(fullEstimateWithDraws(draws)).size() <= EstimateFile::MaximumSize)
            fits = draws;
        else
            tooMany = draws;
    }
    return fits;
}

void drawCounts(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgName("draws")->Arg(ManyDraws)->Arg(mostDrawsThatFit());
}

void BM_OpenDraws(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draws.vrn"));
    if (!dir.isValid() || !EstimateFile::save(path, fullEstimateWithDraws(int(state.range(0))))) {
        state.SkipWithError("cannot write the estimate file");
        return;
    }
    EstimateSheet sheet;
    HeaderFields header;
    for (auto _ : state)
        benchmark::DoNotOptimize(Document::ReadEstimateFile(sheet, header, path));
}
BENCHMARK(BM_OpenDraws)->Apply(drawCounts)->Unit(benchmark::kMillisecond);

void BM_SaveDraws(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draws.vrn"));
    const EstimateContent content = fullEstimateWithDraws(int(state.range(0)));
    state.counters["bytes"] = double(EstimateFile::encode(content).size());
    for (auto _ : state) {
        if (!EstimateFile::save(path, content))
            state.SkipWithError("cannot write the estimate file");
    }
}
BENCHMARK(BM_SaveDraws)->Apply(drawCounts)->Unit(benchmark::kMillisecond);

} // namespace
