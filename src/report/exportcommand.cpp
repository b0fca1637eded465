#include "exportcommand.h"

#include "core/document/document.h"
#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "reportpaper.h"
#include "reports.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

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

QString run(const Report &report, const QString &suffix, const Document &document, FileDialogs &dialogs,
            MessageBoxes &messages, QStringList *notices)
{
    const Report::Form &form = *report.form(suffix);
    const QString path = dialogs.showExport(form.dialogTitle, report.dialogFilter(form.dialogTitle), suffix,
                                            presetPath(document.CurrentFile(), form.nameEnding, suffix));
    if (path.isEmpty())
        return {};
    const QPageSize paper = ReportPaper::ofLocale(QLocale());
    const QByteArray noUnreadLines;
    const Report::Source source{
        document.sheet(), document.header(), document.history(), noUnreadLines, paper, nullptr, document.CurrentFile(),
        notices};
    QString errorString;
    if (report.write(path, source, suffix, &errorString))
        return path;
    messages.showCritical(
        QStringLiteral("The estimate could not be exported to %1: %2").arg(QDir::toNativeSeparators(path), errorString),
        Document::fileErrorTitle());
    return {};
}

}
