#include "safefilewriter.h"

#include "filereasons.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <cerrno>
#include <cstring>
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

bool writeFile(const QString &path, const QByteArray &bytes, QString *errorString)
{
    // Unbuffered, so that a failing write fails here and not in a flush nobody checks.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return FileReasons::fail(errorString, file.errorString());
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
        return FileReasons::folderNotFile();
    case NotRegularFile:
        return FileReasons::notRegularFile();
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

struct Target
{
    QByteArray path;
    QByteArray folder;
    QString name;
    bool exists = false;
    struct stat status = {};
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

// A name of its own beside the file, within the bytes a file name may have, so that even a
// file with the longest name can be replaced.
QByteArray temporaryTemplate(const Target &target)
{
    static constexpr char Suffix[] = ".XXXXXX";
    constexpr qsizetype SuffixSize = sizeof Suffix - 1;
    QString stem = u'.' + target.name;
    QByteArray encoded = QFile::encodeName(stem);
    while (encoded.size() + SuffixSize > NameMax) {
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
        encoded = QFile::encodeName(stem);
    }
    return target.folder + '/' + encoded + Suffix;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The new file takes the old one's place with its owner, group and mode. Changing the
// owner is for root alone and the group for its members; what is not allowed is left.
void keepAttributes(int fd, const Target &target)
{
    if (!target.exists) {
        (void)::fchmod(fd, newFileMode());
        return;
    }
    if (::fchown(fd, target.status.st_uid, target.status.st_gid) != 0
        && ::fchown(fd, uid_t(-1), target.status.st_gid) != 0) {
        // Neither is allowed: the new file keeps the user's own owner and group.
    }
    (void)::fchmod(fd, target.status.st_mode & 07777);
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
    keepAttributes(fd, target);
    int error = writeAll(fd, bytes);
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
// rewritten. The room it needs is taken first, so a full disk fails before the old content
// is touched.
int overwrite(const Target &target, const QByteArray &bytes)
{
    const int fd = ::open(target.path.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    const off_t oldSize = target.status.st_size;
    int error = 0;
    if (bytes.size() > oldSize && ::fallocate(fd, 0, oldSize, bytes.size() - oldSize) != 0 && errno != EOPNOTSUPP)
        error = lastError();
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && ::ftruncate(fd, bytes.size()) != 0)
        error = lastError();
    if (!error && ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && !error)
        error = lastError();
    return error;
}

int writeTarget(Target &target, const QByteArray &bytes)
{
    if (const int error = examine(target))
        return error;
    QByteArray temporary = temporaryTemplate(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd >= 0)
        return replace(target, bytes, temporary, fd);
    if (target.exists && (errno == EACCES || errno == EPERM))
        return overwrite(target, bytes);
    return lastError();
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *errorString)
{
    const QFileInfo info(path);
    Target target;
    target.path = QFile::encodeName(path);
    target.folder = QFile::encodeName(info.absolutePath());
    target.name = info.fileName();
    const int error = writeTarget(target, bytes);
    return !error || FileReasons::fail(errorString, reasonFor(error));
}

#endif

} // namespace

bool SafeFileWriter::write(const QString &path, const QByteArray &bytes, QString *errorString)
{
    return writeFile(finalTarget(path), bytes, errorString);
}
