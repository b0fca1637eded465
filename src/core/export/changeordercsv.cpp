#include "changeordercsv.h"

#include "core/document/safefilewriter.h"
#include "core/history/changeorders.h"
#include "csvexport.h"

namespace ChangeOrderCsv {

QByteArray encode(const Grid &grid, const EstimateHistory &history)
{
    QByteArray bytes = CsvExport::record(ChangeOrders::registerTitles());
    for (const ChangeOrder &order : history.changeOrders)
        bytes += CsvExport::record(ChangeOrders::registerTexts(grid, order));
    return bytes;
}

bool save(const QString &path, const Grid &grid, const EstimateHistory &history, QString *errorString)
{
    return SafeFileWriter::write(path, encode(grid, history), errorString);
}

}
