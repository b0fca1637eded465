// The Budget view after an edit, with every row of the sheet filled: the figures read back
// from the sheet, the chart brought up to date with them, and the chart drawn. The view
// follows typing, so all of it is to stay within a frame (16 ms at 60 Hz).
#include "fullestimate.h"

#include "core/budget/budgetfigures.h"
#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "gui/budget/budgetview.h"
#include "gui/dialogs/qtfiledialogs.h"
#include "gui/dialogs/qtmessageboxes.h"

#include <QApplication>
#include <QChartView>

#include <benchmark/benchmark.h>

namespace {

// A full sheet in a document with change orders on it, and an edit that takes turns
// between two amounts, one of them beyond the row's estimate: every refresh has a bar and a
// label to change, the most an edit asks of the chart.
struct FullBudget
{
    FullBudget()
    {
        const EstimateContent content = fullEstimate();
        for (int row = 1; row <= EstimateContent::RowCount; ++row) {
            for (int column = 1; column <= EstimateContent::ColumnCount; ++column)
                sheet.grid().setText(row, column, content.cells[row - 1][column - 1]);
        }
        EstimateHistory history;
        for (int number = 1; number <= 20; ++number)
            history.changeOrders << ChangeOrder{number,
                                                QDate(2026, 3, 1),
                                                number,
                                                QStringLiteral("change"),
                                                50000,
                                                ChangeOrder::Status::Approved,
                                                ChangeOrder::Source::Contingency,
                                                std::nullopt,
                                                std::nullopt,
                                                {}};
        document.setHistory(history);
    }

    void edit()
    {
        const int row = EstimateSheet::ItemRowCount / 2;
        toggle = !toggle;
        sheet.grid().setText(row, EstimateSheet::CurrentPaymentColumn,
                             toggle ? QStringLiteral("$1,250.00") : QStringLiteral("$99,000.00"));
        sheet.recalculateRow(row);
        sheet.recalculateColumnTotals();
    }

    EstimateSheet sheet;
    HeaderFields header;
    QtFileDialogs dialogs;
    QtMessageBoxes messages;
    Document document{sheet, header, dialogs, messages};
    bool toggle = false;
};

void BM_BudgetFigures(benchmark::State &state)
{
    FullBudget budget;
    for (auto _ : state) {
        budget.edit();
        benchmark::DoNotOptimize(BudgetFigures(budget.sheet.grid(), budget.document.history()).totalsLine());
    }
}
BENCHMARK(BM_BudgetFigures)->Unit(benchmark::kMicrosecond);

// The refresh an edit brings about, then the chart drawn as the window would draw it.
void BM_BudgetViewAfterEdit(benchmark::State &state)
{
    FullBudget budget;
    BudgetView view(budget.document);
    view.resize(600, 800);
    auto *chart = view.findChild<QChartView *>();
    for (auto _ : state) {
        budget.edit();
        view.refresh();
        benchmark::DoNotOptimize(chart->grab());
    }
}
BENCHMARK(BM_BudgetViewAfterEdit)->Unit(benchmark::kMillisecond);

}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
