#include "pdfexport.h"

#include "core/document/safefilewriter.h"
#include "drawrequestreport.h"
#include "estimatereport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace {
// QPdfWriter's own resolution: the exported page is the one it always made.
constexpr int ExportResolution = 1200;

// The pages are made in memory and written in one piece, so that every write of them is checked.
QByteArray pagesOf(const QPageLayout &layout, int resolution, const QString &title, const PdfExport::Compose &compose)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setCreator(QStringLiteral("VARN Cost Estimate"));
        if (!title.isEmpty())
            writer.setTitle(title);
        QPainter painter(&writer);
        compose(painter, writer);
    }
    return pdf.data();
}

bool write(const QString &path, const QPageLayout &layout, int resolution, const QString &title,
           const PdfExport::Compose &compose, QString *errorString)
{
    return SafeFileWriter::write(path, pagesOf(layout, resolution, title, compose), errorString);
}
}

namespace PdfExport {

bool save(const QString &path, const Grid &grid, const HeaderFields &header, const QPageSize &paper,
          QString *errorString)
{
    const EstimateReport report(grid, EstimateReport::printedFields(header));
    return save(path, report, EstimateReport::pageLayoutFor(paper, QPageLayout::Portrait), ExportResolution,
                errorString);
}

bool save(const QString &path, const EstimateReport &report, const QPageLayout &layout, int resolution,
          QString *errorString)
{
    return write(
        path, layout, resolution, {},
        [&report](QPainter &painter, QPdfWriter &writer) { report.compose(painter, writer); }, errorString);
}

bool save(const QString &path, const DrawRequest &request, const QPageSize &paper, QString *errorString)
{
    const DrawRequestReport report(request, paper);
    return write(
        path, report.summaryLayout(), ExportResolution, {},
        [&report](QPainter &painter, QPdfWriter &writer) { report.compose(painter, writer); }, errorString);
}

bool savePages(const QString &path, const QPageLayout &layout, const QString &title, const Compose &compose,
               QString *errorString)
{
    return write(path, layout, ExportResolution, title, compose, errorString);
}

QByteArray pages(const QPageLayout &layout, const Compose &compose)
{
    return pagesOf(layout, ExportResolution, {}, compose);
}

}
