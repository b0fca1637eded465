#include "pdfexport.h"

#include "estimatereport.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace PdfExport {

bool save(const QString &path, const Grid &grid, const HeaderFields &header, QString *errorString)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *errorString = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(EstimateReport::defaultPageLayout());
        writer.setCreator(QStringLiteral("VARN Cost Estimate"));
        QPainter painter(&writer);
        EstimateReport(grid, EstimateReport::printedFields(header)).compose(painter, writer);
    }
    if (file.commit())
        return true;
    *errorString = file.errorString();
    return false;
}

}
