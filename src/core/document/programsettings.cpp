#include "programsettings.h"

#include <QCoreApplication>
#include <QFileInfo>

ProgramSettings::ProgramSettings()
    : QSettings(applicationName(), applicationName())
{
}

QString ProgramSettings::applicationName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}
