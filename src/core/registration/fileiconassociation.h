#pragma once

#include <QString>

#include <memory>

class QSettings;

// Registers the estimate file type with the desktop, so that opening a .vrn file starts
// the program with it and estimate files show the program's icon. The registration is
// the platform's; when to register is the same everywhere.
class FileIconAssociation
{
public:
    static std::unique_ptr<FileIconAssociation> forThisPlatform();

    virtual ~FileIconAssociation() = default;

    // The start-up check: registers when the program runs from another folder than the
    // one it last registered (on the first start, and after it was moved or copied).
    // The folder of the last registration is the settings value Settings/Assoc.
    void registerIfMoved(QSettings &settings, const QString &appName, const QString &appFolder);

    // Takes back what the registration wrote for the user, and forgets the folder of the last
    // registration, so that the next start from any folder registers afresh.
    void unregister(QSettings &settings, const QString &appName);

    // Failures are silent: without the rights to register, the program simply runs on.
    virtual void RegisterFileAssociation(const QString &AppName, const QString &Extension, const QString &AppFolder,
                                         const QString &IconFile) = 0;

    // The icon file named in the registration.
    virtual QString iconFile(const QString &appName) const = 0;

protected:
    // Removes the user's registration of the type; a platform that registers nothing per user
    // has nothing to remove.
    virtual void UnregisterFileAssociation(const QString &AppName) { Q_UNUSED(AppName); }
};
