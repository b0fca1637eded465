#include "csvexport.h"

#include "core/document/safefilewriter.h"
#include "core/sheet/grid.h"
#include "core/sheet/money.h"

namespace {
// A spreadsheet opening the file would take a text that begins like a formula for one, and
// run it: a supplier typed as "=1+1" or "@SUM(1)". Such a text is marked as text, as
// spreadsheets themselves mark it; an amount ("-50") stays the number it is.
QString inert(const QString &text)
{
    static constexpr QStringView FormulaStarts = u"=+-@\t\r";
    if (text.isEmpty() || !FormulaStarts.contains(text.front()) || Money::holdsAmount(text))
        return text;
    return u'\'' + text;
}

QByteArray field(const QString &text)
{
    QByteArray bytes = inert(text).toUtf8();
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
