#include "safefilewriter.h"

#include "core/reasons.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include "oldcontentcopy.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The file the path names in the end. A link is followed as far as its chain goes, to a
// file that need not exist yet, so that the link itself stays in place.
QString finalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

#ifdef Q_OS_WIN

bool writeFile(const QString &path, const QByteArray &bytes, bool, QString *errorString)
{
    // Unbuffered, so that a failing write fails here and not in a flush nobody checks.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return Reasons::fail(errorString, file.errorString());
}

#else

constexpr qsizetype NameMax = 255;
// Not an errno: the path names a pipe, a device or a socket.
constexpr int NotRegularFile = -1;

QString reasonFor(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("The folder does not exist");
    case EISDIR:
        return Reasons::folderNotFile();
    case NotRegularFile:
        return Reasons::notRegularFile();
    default:
        return Reasons::systemError(error);
    }
}

struct Target
{
    QByteArray path;
    QByteArray folder;
    QString name;
    bool exists = false;
    // The user's alone, whatever the old file was.
    bool isPrivate = false;
    struct stat status = {};
};

// Why a write failed, and where the old content of a file rewritten in place is kept when
// the rewrite failed part-way.
struct Outcome
{
    int error = 0;
    QString oldContent;
};

// Each step gives 0 when it succeeded, else why it failed: an errno or NotRegularFile.
int lastError()
{
    return errno ? errno : EIO;
}

int examine(Target &target)
{
    if (::stat(target.path.constData(), &target.status) == 0) {
        target.exists = true;
        if (S_ISDIR(target.status.st_mode))
            return EISDIR;
        // A pipe or a device would be replaced by a plain file, or would block the program.
        if (!S_ISREG(target.status.st_mode))
            return NotRegularFile;
        return ::access(target.path.constData(), W_OK) == 0 ? 0 : lastError();
    }
    if (errno != ENOENT)
        return lastError();
    struct stat folder = {};
    if (::stat(target.folder.constData(), &folder) != 0)
        return lastError();
    return S_ISDIR(folder.st_mode) ? 0 : ENOTDIR;
}

int writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return lastError();
        if (written == 0)
            return ENOSPC;
        data += written;
        left -= written;
    }
    return 0;
}

constexpr char TemporarySuffix[] = ".XXXXXX";
constexpr qsizetype TemporarySuffixSize = sizeof TemporarySuffix - 1;
// A save takes a moment; a temporary file this much older was left by a save that was killed.
constexpr qint64 StaleSeconds = 5 * 60;

// The start of the temporary file's name: the hidden file's name, within the bytes a file
// name may have, so that even a file with the longest name can be replaced.
QString temporaryStem(const Target &target)
{
    QString stem = u'.' + target.name;
    while (QFile::encodeName(stem).size() + TemporarySuffixSize > NameMax)
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
    return stem;
}

// A name of its own beside the file.
QByteArray temporaryTemplate(const Target &target)
{
    return target.folder + '/' + QFile::encodeName(temporaryStem(target)) + TemporarySuffix;
}

bool isTemporaryName(const QString &name, const QString &stem)
{
    const QStringView random = QStringView(name).mid(stem.size() + 1);
    return name.size() == stem.size() + TemporarySuffixSize && name.startsWith(stem + u'.')
        && std::all_of(random.begin(), random.end(),
                       [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 0x80; });
}

// A save that was killed (a crash, a power cut) left its temporary file beside the file; the
// next save of the same file removes those of its own pattern that are no longer young, and
// so in no other save's use.
void removeStaleTemporaries(const Target &target)
{
    const QString stem = temporaryStem(target);
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-StaleSeconds);
    const QFileInfoList siblings =
        QDir(QFile::decodeName(target.folder)).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &sibling : siblings) {
        if (isTemporaryName(sibling.fileName(), stem) && sibling.ownerId() == ::geteuid()
            && sibling.lastModified() < stale)
            QFile::remove(sibling.filePath());
    }
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The new file takes the old one's place with its owner, group and mode. Changing the
// owner is for root alone and the group for its members; what is not allowed is left.
// The mode matters: a file left 0600 in place of one the household shares is a file the
// others can no longer open, so a mode that cannot be set fails the save. The owner and group
// are kept only where the user may set them.
int keepAttributes(int fd, const Target &target)
{
    if (target.isPrivate)
        return ::fchmod(fd, 0600) != 0 ? lastError() : 0;
    if (!target.exists)
        return ::fchmod(fd, newFileMode()) != 0 ? lastError() : 0;
    if (::fchown(fd, target.status.st_uid, target.status.st_gid) != 0
        && ::fchown(fd, uid_t(-1), target.status.st_gid) != 0) {
        // Neither is allowed: the new file keeps the user's own owner and group.
    }
    return ::fchmod(fd, target.status.st_mode & 07777) != 0 ? lastError() : 0;
}

// The rename is in the folder's records; without them the new file may be lost in a crash.
// The new file is complete and in place by now, so a failure here is no failure to save.
void syncFolder(const Target &target)
{
    const int fd = ::open(target.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        (void)::close(fd);
    }
}

// Writes a new file beside the old one and renames it over the old one only when it is
// complete and on the disk; after a failure the new file is removed.
int replace(const Target &target, const QByteArray &bytes, const QByteArray &temporary, int fd)
{
    int error = keepAttributes(fd, target);
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && !error)
        error = lastError();
    if (!error && ::rename(temporary.constData(), target.path.constData()) != 0)
        error = lastError();
    if (error) {
        (void)::unlink(temporary.constData());
        return error;
    }
    syncFolder(target);
    return 0;
}

// A file in a folder the user may not write (a shared folder) cannot be replaced, only
// rewritten. Its old content is kept in the user's own folder first, and the room the new
// content needs is taken, so that a full disk fails before the file is touched; a failure
// after that names the copy of what it was.
Outcome overwrite(const Target &target, const QByteArray &bytes, QString *reason)
{
    OldContentCopy oldContent;
    // Nothing is touched without the copy; reason says why it could not be made.
    if (!oldContent.make(QFile::decodeName(target.path), reason))
        return {EIO, {}};
    const int fd = ::open(target.path.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        oldContent.remove();
        return {lastError(), {}};
    }
    if (target.isPrivate)
        (void)::fchmod(fd, 0600);
    const off_t oldSize = target.status.st_size;
    if (bytes.size() > oldSize && ::fallocate(fd, 0, oldSize, bytes.size() - oldSize) != 0 && errno != EOPNOTSUPP) {
        const int error = lastError();
        (void)::close(fd);
        oldContent.remove();
        return {error, {}};
    }
    int error = writeAll(fd, bytes);
    if (!error && ::ftruncate(fd, bytes.size()) != 0)
        error = lastError();
    if (!error && ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && !error)
        error = lastError();
    if (error)
        return {error, oldContent.path()};
    oldContent.remove();
    return {};
}

Outcome writeTarget(Target &target, const QByteArray &bytes, QString *reason)
{
    if (const int error = examine(target))
        return {error, {}};
    removeStaleTemporaries(target);
    QByteArray temporary = temporaryTemplate(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd >= 0)
        return {replace(target, bytes, temporary, fd), {}};
    if (target.exists && (errno == EACCES || errno == EPERM))
        return overwrite(target, bytes, reason);
    return {lastError(), {}};
}

bool writeFile(const QString &path, const QByteArray &bytes, bool isPrivate, QString *errorString)
{
    const QFileInfo info(path);
    Target target;
    target.path = QFile::encodeName(path);
    target.folder = QFile::encodeName(info.absolutePath());
    target.name = info.fileName();
    target.isPrivate = isPrivate;
    QString reason;
    const Outcome outcome = writeTarget(target, bytes, &reason);
    if (!outcome.error)
        return true;
    if (reason.isEmpty())
        reason = reasonFor(outcome.error);
    if (!outcome.oldContent.isEmpty())
        reason += QStringLiteral("; its old content is kept in %1").arg(QDir::toNativeSeparators(outcome.oldContent));
    return Reasons::fail(errorString, reason);
}

#endif

} // namespace

bool SafeFileWriter::write(const QString &path, const QByteArray &bytes, QString *errorString)
{
    return writeFile(finalTarget(path), bytes, false, errorString);
}

bool SafeFileWriter::writePrivate(const QString &path, const QByteArray &bytes, QString *errorString)
{
    return writeFile(finalTarget(path), bytes, true, errorString);
}
