#include "recoveryfile.h"

#include "core/reasons.h"
#include "estimatefile.h"
#include "privatefolder.h"
#include "safefilewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

namespace {
const QString CopySuffix = QStringLiteral(".vrn");
const QString OriginalFileSuffix = QStringLiteral(".path");
const QString StampSuffix = QStringLiteral(".stamp");
const QString LockSuffix = QStringLiteral(".lock");

QString besideCopy(const QString &copyPath, const QString &suffix)
{
    return copyPath.chopped(CopySuffix.size()) + suffix;
}

void removeCopy(const QString &copyPath)
{
    QFile::remove(copyPath);
    QFile::remove(besideCopy(copyPath, OriginalFileSuffix));
    QFile::remove(besideCopy(copyPath, StampSuffix));
}

QByteArray besideCopyContent(const QString &copyPath, const QString &suffix)
{
    QFile file(besideCopy(copyPath, suffix));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

RecoveryFile::RecoveryFile(const QString &folder)
    : m_folder(folder)
    // The process id tells whose copy it is; the random part keeps apart a later run given
    // the same id, and two windows of one process.
    , m_name(QStringLiteral("%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')))
{
}

RecoveryFile::~RecoveryFile()
{
    remove();
}

QString RecoveryFile::ownPath(const QString &suffix) const
{
    return QDir(m_folder).filePath(m_name + suffix);
}

bool RecoveryFile::write(const EstimateContent &content, const QString &originalFile, const FileStamp &stamp,
                         QString *errorString)
{
    return PrivateFolder::make(m_folder, errorString) && lock(errorString)
        && SafeFileWriter::writePrivate(ownPath(OriginalFileSuffix), originalFile.toUtf8(), errorString)
        && SafeFileWriter::writePrivate(ownPath(StampSuffix), stamp.toText(), errorString)
        && SafeFileWriter::writePrivate(ownPath(CopySuffix), EstimateFile::encode(content), errorString);
}

bool RecoveryFile::lock(QString *errorString)
{
    if (m_lock)
        return true;
    auto lock = std::make_unique<QLockFile>(ownPath(LockSuffix));
    // A lock is given up by the death of its run only, however long the run lasts.
    lock->setStaleLockTime(0);
    // QLockFile tells only that it failed; the system's reason is still in errno.
    errno = 0;
    if (!lock->tryLock(0))
        return Reasons::fail(
            errorString, errno ? Reasons::systemError(errno) : QStringLiteral("The recovery copy cannot be locked"));
    QFile::setPermissions(ownPath(LockSuffix), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_lock = std::move(lock);
    return true;
}

void RecoveryFile::remove()
{
    if (!m_lock)
        return;
    removeCopy(ownPath(CopySuffix));
    m_lock.reset();
}

bool RecoveryFile::lockLeftCopy(QLockFile &lock)
{
    lock.setStaleLockTime(0);
    return lock.tryLock(0);
}

std::optional<RecoveryFile::LeftCopy> RecoveryFile::takeLeftCopy() const
{
    const QFileInfoList copies = QDir(m_folder).entryInfoList({QLatin1Char('*') + CopySuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &copy : copies) {
        if (copy.completeBaseName() == m_name)
            continue;
        auto lock = std::make_unique<QLockFile>(besideCopy(copy.filePath(), LockSuffix));
        if (!lockLeftCopy(*lock))
            continue;
        if (std::optional<LeftCopy> left = read(copy.filePath(), std::move(lock)))
            return left;
    }
    return std::nullopt;
}

std::optional<RecoveryFile::LeftCopy> RecoveryFile::read(const QString &path, std::unique_ptr<QLockFile> lock)
{
    LeftCopy copy{path,
                  QString::fromUtf8(besideCopyContent(path, OriginalFileSuffix)),
                  FileStamp::fromText(besideCopyContent(path, StampSuffix)),
                  QFileInfo(path).lastModified(),
                  {},
                  std::move(lock)};
    std::optional<EstimateContent> content = EstimateFile::load(path);
    if (!content) {
        discard(copy);
        return std::nullopt;
    }
    copy.content = *content;
    return copy;
}

void RecoveryFile::discard(LeftCopy &copy)
{
    removeCopy(copy.path);
    copy.lock.reset();
}
