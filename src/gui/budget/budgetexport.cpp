#include "budgetexport.h"

#include "budgetreport.h"
#include "core/export/changeordercsv.h"
#include "core/sheet/estimatesheet.h"

#include <QFileInfo>

namespace {
bool isPdf(const QString &suffix)
{
    return suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}
}

namespace BudgetExport {

bool writes(const QString &suffix)
{
    return isPdf(suffix) || suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

bool drawsChart(const QString &suffix)
{
    return isPdf(suffix);
}

bool save(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, const EstimateHistory &history,
          QString *errorString)
{
    if (isPdf(QFileInfo(path).suffix()))
        return BudgetReport::savePdf(path, sheet.grid(), header, history, errorString);
    return ChangeOrderCsv::save(path, sheet.grid(), history, errorString);
}

}
