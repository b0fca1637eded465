#include "privatefolder.h"

#include "core/reasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/stat.h>
#endif

namespace PrivateFolder {

bool make(const QString &path, QString *errorString)
{
#ifdef Q_OS_WIN
    return QDir().mkpath(path) || Reasons::fail(errorString, QStringLiteral("The folder cannot be made"));
#else
    // The parents are the user's ordinary folders, made as any other program makes them.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray folder = QFile::encodeName(path);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return Reasons::fail(errorString, Reasons::systemError(errno));
    if (::chmod(folder.constData(), 0700) != 0)
        return Reasons::fail(errorString, Reasons::systemError(errno));
    return true;
#endif
}

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

}
