#include "csvexport.h"

#include "core/document/safefilewriter.h"
#include "core/sheet/grid.h"

namespace {
QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n'))
        bytes = '"' + bytes.replace('"', "\"\"") + '"';
    return bytes;
}
}

namespace CsvExport {

QByteArray encode(const Grid &grid)
{
    QByteArray bytes;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QByteArrayList fields;
        for (int column = 1; column < grid.columnCount(); ++column)
            fields << field(grid.text(row, column));
        bytes += fields.join(',') + "\r\n";
    }
    return bytes;
}

bool save(const QString &path, const Grid &grid, QString *errorString)
{
    return SafeFileWriter::write(path, encode(grid), errorString);
}

}
