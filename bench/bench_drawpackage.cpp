// A draw's package with twenty attached invoices of five pages each: the papers checked
// against their sums, opened and counted, the cover, request and payee pages drawn, every
// page copied in and stamped, and the file written. What a lender's draw asks of the export.
#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "fullestimate.h"
#include "report/reports.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr int Papers = 20;
constexpr int PagesEach = 5;

void writeInvoice(const QString &path, int number)
{
    QPdfWriter writer(path);
    QPainter painter(&writer);
    for (int page = 1; page <= PagesEach; ++page) {
        if (page > 1)
            writer.newPage();
        painter.drawText(QPointF(1000, 2000), QStringLiteral("Invoice %1, page %2").arg(number).arg(page));
    }
}

struct Package
{
    Package()
    {
        EstimateContent content = fullEstimate();
        Draw draw;
        draw.number = 1;
        draw.date = QDate(2026, 6, 1);
        for (int row = 1; row <= EstimateContent::RowCount; ++row)
            draw.lines << DrawLine{row, 100000, 100000, 0, 10000, std::nullopt, {}, {}};
        content.history.draws << draw;
        estimatePath = folder.filePath(QStringLiteral("full.vrn"));
        EstimateFile::save(estimatePath, content);
        Document::ReadEstimateFile(sheet, header, estimatePath);
        history = content.history;
        const AttachmentFolder attachments(estimatePath);
        for (int number = 1; number <= Papers; ++number) {
            const QString made = folder.filePath(QStringLiteral("invoice-%1.pdf").arg(number));
            writeInvoice(made, number);
            Paper paper;
            paper.number = number;
            paper.subject = Paper::Subject::DrawLine;
            paper.subjectNumber = 1;
            paper.row = number;
            paper.file = attachments.attach(made).value_or(AttachedFile{});
            history.papers << paper;
        }
    }

    QTemporaryDir folder;
    QString estimatePath;
    EstimateSheet sheet;
    HeaderFields header;
    EstimateHistory history;
};

void BM_DrawPackage(benchmark::State &state)
{
    const Package package;
    const QByteArray unread;
    const QPageSize paper(QPageSize::Letter);
    const QString output = package.folder.filePath(QStringLiteral("package.pdf"));
    QStringList notices;
    const Report::Source source{package.sheet, package.header, package.history,      unread,
                                paper,         nullptr,        package.estimatePath, &notices};
    for (auto _ : state) {
        QString errorString;
        if (!Reports::drawPackage().write(output, source, QStringLiteral("pdf"), &errorString)) {
            state.SkipWithError(errorString.toStdString().c_str());
            break;
        }
        // A paper left out would make the figure that of a smaller package.
        if (!notices.isEmpty()) {
            state.SkipWithError(notices.constFirst().toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_DrawPackage)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
