#pragma once

#include <QString>

class Document;
class FileDialogs;
class MessageBoxes;

// File > Export: the estimate written, in the format its suffix names, to a file the user
// picks beside the estimate's own; a failure is reported with its reason. Gives the file
// written, or nothing.
namespace ExportCommand {
QString run(const QString &suffix, const Document &document, FileDialogs &dialogs, MessageBoxes &messages);
}
