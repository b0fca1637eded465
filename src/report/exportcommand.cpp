#include "exportcommand.h"

#include "core/document/document.h"
#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "exportformats.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The estimate's own folder and name, with what the export adds to it, and the suffix;
// nothing for an estimate without a file.
QString presetPath(const QString &estimateFile, const QString &nameEnding, const QString &suffix)
{
    if (estimateFile.isEmpty())
        return {};
    const QFileInfo estimate(estimateFile);
    return estimate.dir().filePath(estimate.completeBaseName() + nameEnding + u'.' + suffix);
}
}

namespace ExportCommand {

QString run(const QString &suffix, const Document &document, FileDialogs &dialogs, MessageBoxes &messages)
{
    const ExportFormat &format = *ExportFormats::forSuffix(suffix);
    return run(format.dialogTitle, format.dialogFilter, suffix, document, dialogs, messages,
               [&format, &document](const QString &path, QString *errorString) {
                   return format.write(path, document.sheet(), document.header(), errorString, document.history());
               });
}

QString run(const QString &title, const QString &filter, const QString &suffix, const Document &document,
            FileDialogs &dialogs, MessageBoxes &messages, const Writer &write, const QString &nameEnding)
{
    const QString path =
        dialogs.showExport(title, filter, suffix, presetPath(document.CurrentFile(), nameEnding, suffix));
    if (path.isEmpty())
        return {};
    QString errorString;
    if (write(path, &errorString))
        return path;
    messages.showCritical(
        QStringLiteral("The estimate could not be exported to %1: %2").arg(QDir::toNativeSeparators(path), errorString),
        Document::fileErrorTitle());
    return {};
}

}
