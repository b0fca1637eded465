#pragma once

#include <QString>

class Grid;
class HeaderFields;
class EstimateReport;
class QPageLayout;
struct DrawRequest;

// The printed report as a PDF file, the page the Print command composes, and the Draw Request.
namespace PdfExport {
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const Grid &grid, const HeaderFields &header, QString *errorString = nullptr);
// The same for a report laid out on this page, at this resolution (dots per inch).
bool save(const QString &path, const EstimateReport &report, const QPageLayout &layout, int resolution,
          QString *errorString = nullptr);
// The Draw Request's pages.
bool save(const QString &path, const DrawRequest &request, QString *errorString = nullptr);
}
