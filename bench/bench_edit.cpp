// The Return that commits an amount, from the key to the sheet and the views drawn again, in
// the main window on a full estimate with 200 recorded draws: with the views beside the sheet
// closed, and with every one of them open. The window follows typing, so each is to stay
// within a frame (16 ms at 60 Hz); run.sh gives the second against the first.
#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "fullestimate.h"
#include "gui/dialogs/platformservices.h"
#include "gui/sheet/gridview.h"
#include "gui/window/estimateform.h"
#include "gui/window/frmmain.h"

#include <QApplication>
#include <QDockWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// The window's first start registers the file type; a figure of an edit leaves that out.
class NoRegistration : public FileIconAssociation
{
public:
    void RegisterFileAssociation(const QString &, const QString &, const QString &, const QString &) override { }
    QString iconFile(const QString &) const override { return {}; }
};

// Every event the key brought about, the views' refreshes at the next turn and the paints
// they ask for after them.
void settle()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

void BM_CommitAnAmount(benchmark::State &state)
{
    const bool everyViewOpen = state.range(0) != 0;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("draws.vrn"));
    EstimateFile::save(path, fullEstimateWithDraws(200));
    EstimateSheet sheet(EstimateForm::naturalRowHeight());
    HeaderFields header;
    PlatformServices services = PlatformServices::ofThisDesktop();
    services.fileIconAssociation = std::make_unique<NoRegistration>();
    Document document(sheet, header, *services.fileDialogs, *services.messageBoxes);
    FrmMain window(document, services);
    window.resize(1600, 1000);
    window.show();
    if (!QTest::qWaitForWindowActive(&window)) {
        state.SkipWithError("the window did not become active");
        return;
    }
    document.openFile(path);
    if (everyViewOpen) {
        for (QDockWidget *view : window.findChildren<QDockWidget *>())
            view->toggleViewAction()->trigger();
    }
    settle();
    auto *grid = window.findChild<GridView *>(QStringLiteral("grdMain"));
    const int row = EstimateSheet::ItemRowCount / 2;
    bool toggle = false;
    for (auto _ : state) {
        state.PauseTiming();
        sheet.grid().setCurrentCell(row, EstimateSheet::CurrentPaymentColumn);
        grid->setFocus();
        toggle = !toggle;
        QTest::keyClicks(QApplication::focusWidget(), toggle ? QStringLiteral("1250") : QStringLiteral("99000"));
        settle();
        state.ResumeTiming();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        settle();
        state.PauseTiming();
        if (sheet.grid().text(row, EstimateSheet::CurrentPaymentColumn)
            != (toggle ? QStringLiteral("$1,250.00") : QStringLiteral("$99,000.00")))
            state.SkipWithError("the amount typed was not committed");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CommitAnAmount)->ArgName("everyViewOpen")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
