#include "xlsxworkbook.h"

#include "core/reasons.h"
#include "numericclocale.h"
#include "scratchfolder.h"
#include "silencedstandarderror.h"
#include "workbookcheck.h"

#include <QFile>

#include <cerrno>
#include <optional>

namespace {
QString reason(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// The library leaves its failures in errno, with the reason a user understands ("No space
// left on device"); its own codes say only where it was.
QString reasonFor(lxw_error error, int systemError)
{
    return systemError ? Reasons::systemError(systemError) : reason(error);
}

std::optional<QByteArray> readAll(const QString &path, QString *errorString)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Reasons::fail(errorString, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

// The nodes of one of the library's red-black trees, each counted as count says.
template <typename Node, typename Count> int sumOver(const Node *node, Count count)
{
    if (!node)
        return 0;
    return count(node) + sumOver(node->tree_pointers.rbe_left, count) + sumOver(node->tree_pointers.rbe_right, count);
}

// The cells the library holds for each worksheet, in their order, as it will write them: what
// the workbook read back must hold. They are gone once the workbook is closed.
QList<int> cellsWritten(lxw_workbook *workbook)
{
    QList<int> cells;
    lxw_worksheet *worksheet = nullptr;
    STAILQ_FOREACH(worksheet, workbook->worksheets, list_pointers)
    {
        cells << sumOver(worksheet->table->rbh_root, [](const lxw_row *row) {
            return sumOver(row->cells->rbh_root, [](const lxw_cell *) { return 1; });
        });
    }
    return cells;
}

// The workbook as the library makes it at path, its scratch files in the folder scratch;
// nothing, with the reason, when the library knows it failed.
std::optional<QByteArray> write(const std::function<lxw_error(lxw_workbook *)> &fill, const QString &scratch,
                                const QString &path, QList<int> &cells, QString *errorString)
{
    const NumericCLocale numbersInTheCForm;
    const SilencedStandardError libraryMessages;
    const QByteArray scratchFolder = QFile::encodeName(scratch);
    lxw_workbook_options options = {};
    options.tmpdir = const_cast<char *>(scratchFolder.constData());
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook) {
        Reasons::fail(errorString, reason(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return std::nullopt;
    }
    const lxw_error filled = fill(workbook);
    cells = cellsWritten(workbook);
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    const int systemError = errno;
    const lxw_error failure = filled != LXW_NO_ERROR ? filled : closed;
    if (failure != LXW_NO_ERROR) {
        Reasons::fail(errorString, reasonFor(failure, systemError));
        return std::nullopt;
    }
    return readAll(path, errorString);
}
}

namespace XlsxWorkbook {

QByteArray make(const std::function<lxw_error(lxw_workbook *)> &fill, QString *errorString)
{
    const ScratchFolder folder;
    if (!folder.isValid()) {
        Reasons::fail(errorString, folder.errorString());
        return {};
    }
    // A scratch file that the library failed to write or read leaves a part cut short and no
    // reason; a fault that passes costs one more try.
    QString problem;
    for (const char *name : {"workbook.xlsx", "again.xlsx"}) {
        QList<int> cells;
        const std::optional<QByteArray> bytes =
            write(fill, folder.path(), folder.filePath(QLatin1String(name)), cells, errorString);
        if (!bytes)
            return {};
        if (WorkbookCheck::isWhole(*bytes, cells, &problem))
            return *bytes;
    }
    Reasons::fail(errorString, QStringLiteral("the workbook came out incomplete (%1)").arg(problem));
    return {};
}

}
