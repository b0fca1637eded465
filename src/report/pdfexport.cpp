#include "pdfexport.h"

#include "core/document/safefilewriter.h"
#include "estimatereport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace {
// QPdfWriter's own resolution: the exported page is the one it always made.
constexpr int ExportResolution = 1200;
}

namespace PdfExport {

bool save(const QString &path, const Grid &grid, const HeaderFields &header, QString *errorString)
{
    const EstimateReport report(grid, EstimateReport::printedFields(header));
    return save(path, report, EstimateReport::defaultPageLayout(), ExportResolution, errorString);
}

bool save(const QString &path, const EstimateReport &report, const QPageLayout &layout, int resolution,
          QString *errorString)
{
    // The page is made in memory and written in one piece, so that every write of it is checked.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setCreator(QStringLiteral("VARN Cost Estimate"));
        QPainter painter(&writer);
        report.compose(painter, writer);
    }
    return SafeFileWriter::write(path, pdf.data(), errorString);
}

}
