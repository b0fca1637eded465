#include "programidentity.h"

#include "core/registration/desktopfileassociation.h"
#include "version.h"

#include <QGuiApplication>

void ProgramIdentity::apply()
{
    QCoreApplication::setApplicationName(QStringLiteral("VARN"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QGuiApplication::setDesktopFileName(DesktopFileAssociation::desktopId(QCoreApplication::applicationName()));
}
