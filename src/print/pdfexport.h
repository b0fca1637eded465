#pragma once

#include <QString>

class Grid;
class HeaderFields;

// The printed report as a PDF file, the page the Print command composes.
namespace PdfExport {
// Writes the whole file or leaves none; errorString learns why not.
bool save(const QString &path, const Grid &grid, const HeaderFields &header, QString *errorString);
}
