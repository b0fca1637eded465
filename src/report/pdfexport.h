#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class Grid;
class HeaderFields;
class EstimateReport;
class QPageLayout;
class QPageSize;
class QPainter;
class QPdfWriter;
struct DrawRequest;

// The printed report as a PDF file, the page the Print command composes, and the Draw Request.
namespace PdfExport {
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const Grid &grid, const HeaderFields &header, const QPageSize &paper,
          QString *errorString = nullptr);
// The same for a report laid out on this page, at this resolution (dots per inch).
bool save(const QString &path, const EstimateReport &report, const QPageLayout &layout, int resolution,
          QString *errorString = nullptr);
// The Draw Request's pages.
bool save(const QString &path, const DrawRequest &request, const QPageSize &paper, QString *errorString = nullptr);

// Draws a report's pages onto the writer, which is active on the painter.
using Compose = std::function<void(QPainter &, QPdfWriter &)>;
// Any other report's pages on this page layout, at the resolution of the exported estimate;
// the title, unless empty, goes into the file's properties.
bool savePages(const QString &path, const QPageLayout &layout, const QString &title, const Compose &compose,
               QString *errorString = nullptr);
// The same pages in memory, for a file put together from more than one report.
QByteArray pages(const QPageLayout &layout, const Compose &compose);
}
