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
        QStringList texts;
        for (int column = 1; column < grid.columnCount(); ++column)
            texts << grid.text(row, column);
        bytes += record(texts);
    }
    return bytes;
}

QByteArray record(const QStringList &texts)
{
    QByteArrayList fields;
    for (const QString &text : texts)
        fields << field(text);
    return fields.join(',') + "\r\n";
}

bool save(const QString &path, const Grid &grid, QString *errorString)
{
    return SafeFileWriter::write(path, encode(grid), errorString);
}

}
