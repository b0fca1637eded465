#include "attachmentfolder.h"

#include "filetext.h"

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

// The estimate keeps a paper's path as its texts, in its code page: a name it could not keep
// exactly would no longer lead to the copy once the estimate is read again.
QString storableName(const QString &name)
{
    QString storable;
    for (const char32_t code : name.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        const bool kept = code != U'"' && code != U'\r' && code != U'\n'
            && !FileText::isControlCharacter(character.front()) && FileText::quoted(character).lostCharacters.isEmpty();
        storable += kept ? character : QStringLiteral("_");
    }
    return storable;
}

// A path read from a file may have been written by anyone: one that leads out of the
// estimate's folder is not taken for a paper, so that Open and the package never reach there.
bool staysInEstimateFolder(const QString &relativePath)
{
    const QString cleaned = QDir::cleanPath(relativePath);
    return QDir::isRelativePath(cleaned) && cleaned != u".." && !cleaned.startsWith(QStringLiteral("../"));
}
}

AttachmentFolder::AttachmentFolder(const QString &estimatePath)
{
    if (estimatePath.isEmpty())
        return;
    const QFileInfo estimate(estimatePath);
    m_estimateFolder = estimate.absolutePath();
    m_folderName = storableName(estimate.completeBaseName()) + QStringLiteral(" documents");
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
    const QString name = freeNameFor(storableName(QFileInfo(source).fileName()));
    std::optional<AttachedFile> copied = copy(input, QDir(path()).filePath(name), errorString);
    if (copied)
        copied->relativePath = m_folderName + u'/' + name;
    // A folder made for a copy that failed would be left empty beside the estimate.
    if (!copied && !folderWasThere)
        QDir().rmdir(path());
    return copied;
}

PayeeChecks::UnavailablePapers AttachmentFolder::copyTo(const AttachmentFolder &other, const QList<Paper> &papers) const
{
    PayeeChecks::UnavailablePapers notCopied;
    for (const Paper &paper : papers) {
        const State here = stateOf(paper.file);
        if (here == State::Missing || other.stateOf(paper.file) == State::Present)
            continue;
        QString errorString;
        if (!copyTo(other, paper.file, here == State::Present, &errorString))
            notCopied.insert(paper.number, errorString);
    }
    return notCopied;
}

bool AttachmentFolder::copyTo(const AttachmentFolder &other, const AttachedFile &file, bool asAttached,
                              QString *errorString) const
{
    const QString target = other.absolutePath(file);
    if (QFileInfo::exists(target))
        return fail(errorString,
                    QStringLiteral("another file is already there, %1").arg(QDir::toNativeSeparators(target)));
    QFile input(absolutePath(file));
    if (!input.open(QIODevice::ReadOnly))
        return fail(errorString,
                    QStringLiteral("%1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(input.fileName()), input.errorString()));
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(errorString, QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder)));
    const std::optional<AttachedFile> copied = copy(input, target, errorString);
    if (copied && (!asAttached || copied->sha256 == file.sha256))
        return true;
    if (copied) {
        QFile::remove(target);
        fail(errorString, QStringLiteral("it changed while it was copied"));
    }
    // Only a folder left empty goes.
    QDir().rmdir(folder);
    return false;
}

std::optional<AttachedFile> AttachmentFolder::copy(QFile &input, const QString &target, QString *errorString)
{
    const QString source = input.fileName();
    QSaveFile output(target);
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
    return AttachedFile{QString(), hash.result(), size};
}

AttachmentFolder::State AttachmentFolder::stateOf(const AttachedFile &file) const
{
    const QString path = absolutePath(file);
    // A device or a pipe named in its place is no paper, and reading it might never end.
    if (!staysInEstimateFolder(file.relativePath) || !QFileInfo(path).isFile())
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
