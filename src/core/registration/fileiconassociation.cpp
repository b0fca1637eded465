#include "fileiconassociation.h"

#include "core/document/filedialogs.h"
#ifdef Q_OS_WIN
#include "windowsfileassociation.h"
#else
#include "desktopfileassociation.h"
#endif

#include <QSettings>

namespace {
QString assocKey()
{
    return QStringLiteral("Settings/Assoc");
}
}

std::unique_ptr<FileIconAssociation> FileIconAssociation::forThisPlatform()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsFileAssociation>();
#else
    return std::make_unique<DesktopFileAssociation>();
#endif
}

void FileIconAssociation::registerIfMoved(QSettings &settings, const QString &appName, const QString &appFolder)
{
    if (settings.value(assocKey()).toString() == appFolder)
        return;
    RegisterFileAssociation(appName, FileDialogs::extension(), appFolder, iconFile(appName));
    settings.setValue(assocKey(), appFolder);
    settings.sync();
}

void FileIconAssociation::unregister(QSettings &settings, const QString &appName)
{
    UnregisterFileAssociation(appName);
    settings.remove(assocKey());
    settings.sync();
}
