#include "budgetexport.h"

#include "budgetreport.h"
#include "core/document/document.h"
#include "core/export/changeordercsv.h"
#include "core/filereasons.h"
#include "core/sheet/estimatesheet.h"
#include "report/exportcommand.h"

#include <QFileInfo>

namespace {
bool isPdf(const QString &suffix)
{
    return suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

bool isCsv(const QString &suffix)
{
    return suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}
}

namespace BudgetExport {

bool writes(const QString &suffix)
{
    return isPdf(suffix) || isCsv(suffix);
}

bool drawsChart(const QString &suffix)
{
    return isPdf(suffix);
}

bool save(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, const EstimateHistory &history,
          QString *errorString)
{
    const QString suffix = QFileInfo(path).suffix();
    if (isPdf(suffix))
        return BudgetReport::savePdf(path, sheet.grid(), header, history, errorString);
    if (isCsv(suffix))
        return ChangeOrderCsv::save(path, sheet.grid(), history, errorString);
    return FileReasons::fail(errorString,
                             QStringLiteral("Its name ends in neither .pdf, for the budget summary, nor "
                                            ".csv, for the change-order register"));
}

QString exportSummary(const Document &document, FileDialogs &dialogs, MessageBoxes &messages)
{
    return ExportCommand::run(
        QStringLiteral("Export Budget Summary"), QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"),
        document, dialogs, messages,
        [&document](const QString &path, QString *errorString) {
            return save(path, document.sheet(), document.header(), document.history(), errorString);
        },
        QStringLiteral("-budget"));
}

}
