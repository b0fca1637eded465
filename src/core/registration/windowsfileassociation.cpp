#include "windowsfileassociation.h"

#include <QDir>
#include <QSettings>

#include <windows.h>
// Declared with the types of windows.h, so it comes after it.
#include <shlobj.h>

void WindowsFileAssociation::RegisterFileAssociation(const QString &AppName, const QString &Extension,
                                                     const QString &AppFolder, const QString &IconFile)
{
    QString folder = QDir::toNativeSeparators(AppFolder);
    if (!folder.endsWith(u'\\'))
        folder += u'\\';
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    classes.setValue(AppName + QStringLiteral("/Default"), AppName);
    classes.setValue(u'.' + Extension + QStringLiteral("/Default"), AppName);
    // Quoted, so that a folder with blanks works; the command line takes the quotes off.
    classes.setValue(AppName + QStringLiteral("/shell/open/command/Default"),
                     u'"' + folder + AppName + QStringLiteral(".exe\" \"%1\""));
    classes.setValue(AppName + QStringLiteral("/DefaultIcon/Default"), folder + IconFile);
    classes.sync();
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
