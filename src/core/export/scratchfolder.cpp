#include "scratchfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

#ifndef Q_OS_WIN
#include <cerrno>
#include <signal.h>
#endif

namespace {
// Older versions named their scratch folders without the process; such a folder is in
// nobody's use after a while, for an export takes a second.
constexpr qint64 UnclaimedAgeSeconds = 10 * 60;

QString prefix()
{
    return QCoreApplication::applicationName() + u'-';
}

bool isRunning(qint64 process)
{
#ifdef Q_OS_WIN
    Q_UNUSED(process);
    return true;
#else
    return ::kill(pid_t(process), 0) == 0 || errno == EPERM;
#endif
}

bool isLeftBehind(const QFileInfo &folder)
{
    static const QRegularExpression withProcess(QStringLiteral("^(\\d+)-[A-Za-z0-9]{6}$"));
    static const QRegularExpression withoutProcess(QStringLiteral("^[A-Za-z0-9]{6}$"));
    const QString rest = folder.fileName().mid(prefix().size());
    if (const QRegularExpressionMatch match = withProcess.match(rest); match.hasMatch()) {
        const qint64 process = match.captured(1).toLongLong();
        return process == QCoreApplication::applicationPid() || !isRunning(process);
    }
    return withoutProcess.match(rest).hasMatch()
        && folder.lastModified().secsTo(QDateTime::currentDateTime()) > UnclaimedAgeSeconds;
}
}

ScratchFolder::ScratchFolder()
    : m_folder(QDir::temp().filePath(prefix() + QString::number(QCoreApplication::applicationPid())
                                     + QStringLiteral("-XXXXXX")))
{
}

void ScratchFolder::removeLeftBehind()
{
    // Every run, window or export, passes here twice, and the temporary folder is shared by
    // the whole system: only the names are compared, as they are (a name filter would compile
    // a pattern each time, a folder filter would look at every entry). Case matters: another
    // program's "varn-abc123" is not ours to remove.
    const QString ours = prefix();
    QDirIterator entries(QDir::tempPath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        if (!entries.fileName().startsWith(ours))
            continue;
        const QFileInfo folder = entries.fileInfo();
        if (folder.isDir() && !folder.isSymLink() && isLeftBehind(folder))
            QDir(folder.filePath()).removeRecursively();
    }
}
