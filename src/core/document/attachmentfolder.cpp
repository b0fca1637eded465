#include "attachmentfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr qint64 PieceSize = 64 * 1024;

bool fail(QString *errorString, const QString &reason)
{
    if (errorString)
        *errorString = reason;
    return false;
}
}

AttachmentFolder::AttachmentFolder(const QString &estimatePath)
{
    if (estimatePath.isEmpty())
        return;
    const QFileInfo estimate(estimatePath);
    m_estimateFolder = estimate.absolutePath();
    m_folderName = estimate.completeBaseName() + QStringLiteral(" documents");
}

QString AttachmentFolder::path() const
{
    return m_folderName.isEmpty() ? QString() : QDir(m_estimateFolder).filePath(m_folderName);
}

QString AttachmentFolder::absolutePath(const AttachedFile &file) const
{
    return QDir(m_estimateFolder).filePath(file.relativePath);
}

std::optional<QByteArray> AttachmentFolder::sha256Of(const QString &path, QString *errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(errorString, file.errorString());
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        fail(errorString, file.errorString());
        return std::nullopt;
    }
    return hash.result();
}

QString AttachmentFolder::freeNameFor(const QString &fileName) const
{
    const QDir folder(path());
    const QFileInfo name(fileName);
    const QString suffix = name.suffix().isEmpty() ? QString() : u'.' + name.suffix();
    QString free = fileName;
    for (int copy = 2; folder.exists(free); ++copy)
        free = QStringLiteral("%1 (%2)%3").arg(name.completeBaseName()).arg(copy).arg(suffix);
    return free;
}

// Written through a save file, so that a copy cut short by a full disk never stands in the
// folder as if it were the paper; the hash is taken of the bytes as they are written.
std::optional<AttachedFile> AttachmentFolder::attach(const QString &source, QString *errorString) const
{
    if (m_folderName.isEmpty()) {
        fail(errorString,
             QStringLiteral("the estimate has no file yet: save it first, as its documents are kept in "
                            "a folder beside it"));
        return std::nullopt;
    }
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        fail(errorString, QStringLiteral("%1 cannot be read: %2").arg(source, input.errorString()));
        return std::nullopt;
    }
    const bool folderWasThere = QFileInfo(path()).isDir();
    if (!QDir().mkpath(path())) {
        fail(errorString, QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(path())));
        return std::nullopt;
    }
    std::optional<AttachedFile> copied = copy(input, freeNameFor(QFileInfo(source).fileName()), errorString);
    // A folder made for a copy that failed would be left empty beside the estimate.
    if (!copied && !folderWasThere)
        QDir().rmdir(path());
    return copied;
}

std::optional<AttachedFile> AttachmentFolder::copy(QFile &input, const QString &name, QString *errorString) const
{
    const QString source = input.fileName();
    QSaveFile output(QDir(path()).filePath(name));
    if (!output.open(QIODevice::WriteOnly)) {
        fail(errorString, output.errorString());
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    while (!input.atEnd()) {
        const QByteArray piece = input.read(PieceSize);
        if (piece.isEmpty() && input.error() != QFileDevice::NoError) {
            fail(errorString, QStringLiteral("%1 cannot be read: %2").arg(source, input.errorString()));
            return std::nullopt;
        }
        if (output.write(piece) != piece.size()) {
            fail(errorString, output.errorString());
            return std::nullopt;
        }
        hash.addData(piece);
        size += piece.size();
    }
    if (!output.commit()) {
        fail(errorString, output.errorString());
        return std::nullopt;
    }
    return AttachedFile{m_folderName + u'/' + name, hash.result(), size};
}

AttachmentFolder::State AttachmentFolder::stateOf(const AttachedFile &file) const
{
    const QString path = absolutePath(file);
    if (!QFileInfo::exists(path))
        return State::Missing;
    const std::optional<QByteArray> sha256 = sha256Of(path);
    return sha256 == file.sha256 ? State::Present : State::Changed;
}

PayeeChecks::UnavailablePapers AttachmentFolder::unavailable(const QList<Paper> &papers) const
{
    PayeeChecks::UnavailablePapers reasons;
    for (const Paper &paper : papers) {
        switch (stateOf(paper.file)) {
        case State::Present:
            break;
        case State::Missing:
            reasons.insert(paper.number, QStringLiteral("is missing from the documents folder"));
            break;
        case State::Changed:
            reasons.insert(paper.number, QStringLiteral("has changed since it was attached"));
            break;
        }
    }
    return reasons;
}
