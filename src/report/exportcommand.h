#pragma once

#include <QString>

#include <functional>

class Document;
class FileDialogs;
class MessageBoxes;

// File > Export: the estimate written, in the format its suffix names, to a file the user
// picks beside the estimate's own; a failure is reported with its reason. Gives the file
// written, or nothing.
namespace ExportCommand {
// Writes the file at the path, or fails saying why.
using Writer = std::function<bool(const QString &path, QString *errorString)>;

// The estimate in one of the export formats.
QString run(const QString &suffix, const Document &document, FileDialogs &dialogs, MessageBoxes &messages);
// Anything else the estimate gives, written by write to the file the dialog of this title
// and filter gives; the file offered is named after the estimate, with nameEnding added so
// that it does not take the place of the estimate's own export ("house-budget.pdf").
QString run(const QString &title, const QString &filter, const QString &suffix, const Document &document,
            FileDialogs &dialogs, MessageBoxes &messages, const Writer &write, const QString &nameEnding = {});
}
