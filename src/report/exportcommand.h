#pragma once

#include <QString>
#include <QStringList>

class Document;
class FileDialogs;
class MessageBoxes;
struct Report;

// File > Export: a report of the estimate written to a file the user picks beside the
// estimate's own, on the paper of the user's locale; a failure is reported with its reason.
namespace ExportCommand {
// The report in the form of this suffix, through that form's dialog, which offers the file
// named after the estimate with the form's ending ("house-budget.pdf"). Gives the file
// written, or nothing.
QString run(const Report &report, const QString &suffix, const Document &document, FileDialogs &dialogs,
            MessageBoxes &messages, QStringList *notices = nullptr);
}
