#include "xlsxworkbook.h"

#include "core/document/filereasons.h"
#include "numericclocale.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
QString reason(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

QByteArray readAll(const QString &path, QString *errorString)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        FileReasons::fail(errorString, file.errorString());
        return {};
    }
    return bytes;
}
}

namespace XlsxWorkbook {

QByteArray make(const std::function<lxw_error(lxw_workbook *)> &fill, QString *errorString)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        FileReasons::fail(errorString, folder.errorString());
        return {};
    }
    const NumericCLocale numbersInTheCForm;
    const QByteArray scratch = QFile::encodeName(folder.path());
    const QString workbookPath = folder.filePath(QStringLiteral("workbook.xlsx"));
    lxw_workbook_options options = {};
    options.tmpdir = const_cast<char *>(scratch.constData());
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(workbookPath).constData(), &options);
    if (!workbook) {
        FileReasons::fail(errorString, reason(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return {};
    }
    const lxw_error filled = fill(workbook);
    const lxw_error closed = workbook_close(workbook);
    const lxw_error failure = filled != LXW_NO_ERROR ? filled : closed;
    if (failure != LXW_NO_ERROR) {
        FileReasons::fail(errorString, reason(failure));
        return {};
    }
    return readAll(workbookPath, errorString);
}

}
