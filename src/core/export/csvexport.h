#pragma once

#include <QString>
#include <QStringList>

class Grid;

// The sheet as a spreadsheet reads it: a CSV file (RFC 4180, UTF-8, CR LF) of the column
// titles, the 36 item rows and the Total row, each with the data columns' texts as the
// sheet shows them.
namespace CsvExport {
QByteArray encode(const Grid &grid);
// One record of texts, quoted where they need it, with its line end.
QByteArray record(const QStringList &texts);
// Writes the whole file or leaves none; errorString learns why not.
bool save(const QString &path, const Grid &grid, QString *errorString = nullptr);
}
