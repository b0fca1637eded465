#pragma once

#include <QString>

class Document;
class FileDialogs;
class MessageBoxes;

// File > Export: the estimate written, in the format its suffix names, to a file the user
// picks beside the estimate's own; a failure is reported with its reason.
namespace ExportCommand {
void run(const QString &suffix, const Document &document, FileDialogs &dialogs, MessageBoxes &messages);
}
