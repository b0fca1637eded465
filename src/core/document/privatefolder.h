#pragma once

#include <QString>

// The program's own folder in the user's data (~/.local/share/VARN): what it keeps there is
// unsaved work and old content of the user's files, for the user's eyes only.
namespace PrivateFolder {
// Makes the folder, and its parents, when it is missing, and makes it the user's alone
// (mode 0700) when it is not; false, with the system's reason, when it cannot.
bool make(const QString &path, QString *errorString = nullptr);
// The program's own data folder.
QString dataFolder();
}
