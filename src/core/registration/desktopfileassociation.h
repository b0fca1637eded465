#pragma once

#include "fileiconassociation.h"

#include <QCoreApplication>
#include <QStringList>

// The registration on freedesktop systems, per user under $XDG_DATA_HOME: a shared-mime-info
// package for the extension, a desktop entry that opens such files, and the icons; then
// the desktop's databases are brought up to date and the program made the default. Where a
// package has installed the program's entry for everyone, the package owns the file type:
// nothing is written for the user, and what an earlier registration wrote is taken back.
class DesktopFileAssociation : public FileIconAssociation
{
public:
    // The entry starts the program by this path, as the program was started itself.
    explicit DesktopFileAssociation(QString programPath = QCoreApplication::applicationFilePath());

    static QString desktopId(const QString &appName);
    static QString mimeType(const QString &appName);
    // The Exec line's command for a program path, quoted as desktop entries require.
    static QString execCommand(const QString &programPath);

    void RegisterFileAssociation(const QString &AppName, const QString &Extension, const QString &AppFolder,
                                 const QString &IconFile) override;
    QString iconFile(const QString &appName) const override;

protected:
    void UnregisterFileAssociation(const QString &AppName) override;

private:
    static bool isInstalledSystemWide(const QString &AppName, const QString &dataHome);
    // The files a registration writes into the user's data folder.
    static QStringList userFiles(const QString &dataHome, const QString &AppName);
    // Removes them, and the choice of this program for the type; false when there were none.
    static bool removeUserRegistration(const QString &dataHome, const QString &AppName);
    static void updateDatabases(const QString &dataHome);
    static void writeMimePackage(const QString &dataHome, const QString &AppName, const QString &Extension,
                                 const QString &IconFile);
    void writeDesktopEntry(const QString &dataHome, const QString &AppName, const QString &IconFile) const;
    static void writeIcons(const QString &dataHome, const QString &IconFile);
    static void run(const QString &program, const QStringList &arguments);

    const QString m_programPath;
};
