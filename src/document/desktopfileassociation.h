#pragma once

#include "fileiconassociation.h"

#include <QStringList>

// The registration on freedesktop systems, per user under $XDG_DATA_HOME: a shared-mime-info
// package for the extension, a desktop entry that opens such files, and the icons; then
// the desktop's databases are brought up to date and the program made the default.
class DesktopFileAssociation : public FileIconAssociation
{
public:
    static QString desktopId(const QString &appName);
    static QString mimeType(const QString &appName);
    // The Exec line's command for a program path, quoted as desktop entries require.
    static QString execCommand(const QString &programPath);

    void RegisterFileAssociation(const QString &AppName, const QString &Extension, const QString &AppFolder,
                                 const QString &IconFile) override;
    QString iconFile(const QString &appName) const override;

private:
    static bool isInstalledSystemWide(const QString &AppName, const QString &AppFolder, const QString &dataHome);
    static void writeMimePackage(const QString &dataHome, const QString &AppName, const QString &Extension,
                                 const QString &IconFile);
    static void writeDesktopEntry(const QString &dataHome, const QString &AppName, const QString &AppFolder,
                                  const QString &IconFile);
    static void writeIcons(const QString &dataHome, const QString &IconFile);
    static void run(const QString &program, const QStringList &arguments);
};
