#include "estimatefile.h"

#include "core/reasons.h"
#include "damagecheck.h"
#include "fieldreader.h"
#include "filetext.h"
#include "historysection.h"
#include "safefilewriter.h"
#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStringDecoder>

#include <span>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr char RecordEnd[] = "\r\n";
constexpr int VersionFieldCount = 3;
// The version, the header fields and one record per item row: other programs count on 38.
constexpr int RecordCount = 2 + EstimateContent::RowCount;
static_assert(RecordCount == 38, "an estimate file holds 38 records");

QByteArray versionRecord()
{
    return QByteArray::number(Version::Major) + ',' + QByteArray::number(Version::Minor) + ','
        + QByteArray::number(Version::Revision) + RecordEnd;
}

// One line of quoted texts; row and columns name the texts in the lost-text reports.
QByteArray textRecord(int row, std::span<const QString> texts, QList<EstimateFile::LostText> &lostTexts)
{
    QByteArrayList fields;
    for (int column = 1; column <= int(texts.size()); ++column) {
        const FileText::QuotedField field = FileText::quoted(texts[column - 1]);
        fields += field.bytes;
        if (!field.lostCharacters.isEmpty())
            lostTexts.append({row, column, field.lostCharacters, {}});
    }
    return fields.join(',') + RecordEnd;
}

// The texts of the content in the order the file holds them.
QList<QString *> textsInFileOrder(EstimateContent &content)
{
    QList<QString *> texts{&content.name, &content.address, &content.builder};
    for (auto &row : content.cells) {
        for (QString &cell : row)
            texts += &cell;
    }
    return texts;
}

// Opens a file to read only when it is a regular file: a pipe without a writer would block
// the program for ever, and a device or a folder is no estimate.
bool openRegularFile(QFile &file, const QString &path, QString *errorString)
{
#ifdef Q_OS_WIN
    file.setFileName(path);
    if (QFileInfo(path).isDir())
        return Reasons::fail(errorString, Reasons::folderNotFile());
    if (!file.open(QIODevice::ReadOnly))
        return Reasons::fail(errorString, file.errorString());
    return true;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Reasons::fail(errorString,
                             errno == ENOENT ? QStringLiteral("The file does not exist") : Reasons::systemError(errno));
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Reasons::fail(errorString,
                             S_ISDIR(status.st_mode) ? Reasons::folderNotFile() : Reasons::notRegularFile());
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Reasons::fail(errorString, file.errorString());
    }
    return true;
#endif
}

QString whyUnreadable(const QFile &file)
{
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    if (file.size() > EstimateFile::MaximumSize)
        return QStringLiteral("The file is larger than 1 MiB");
    return QStringLiteral("It is not a whole estimate file: it is cut short, or it is not text");
}

} // namespace

QByteArray EstimateFile::encode(const EstimateContent &content, QList<LostText> *lostTexts)
{
    QList<LostText> lost;
    QByteArray bytes = versionRecord();
    const std::array header{content.name, content.address, content.builder};
    bytes += textRecord(0, header, lost);
    for (int row = 1; row <= EstimateContent::RowCount; ++row)
        bytes += textRecord(row, content.cells[row - 1], lost);
    bytes += HistorySection::encode(content.history, lost);
    bytes += content.unreadLines;
    if (lostTexts)
        *lostTexts = lost;
    return bytes;
}

std::optional<EstimateContent> EstimateFile::decode(QIODevice &device)
{
    FieldReader reader(device, MaximumSize);
    for (int field = 0; field < VersionFieldCount; ++field) {
        if (!reader.nextField())
            return std::nullopt;
    }

    EstimateContent content;
    const QList<QString *> texts = textsInFileOrder(content);
    QByteArrayList fields;
    for (qsizetype index = 0; index < texts.size(); ++index) {
        const std::optional<QByteArray> field = reader.nextField();
        if (!field)
            return std::nullopt;
        fields << *field;
    }
    // The last field may have ended at the size limit or at a NUL byte rather than at its end.
    if (!reader.isAcceptable())
        return std::nullopt;
    // What follows the 38 records is read whole, or the file is not: a read that fails there
    // would otherwise pass for a file without a history, and the next save would drop it.
    const QByteArray rest = reader.rest();
    if (!reader.isAcceptable())
        return std::nullopt;
    // One encoding for the whole file, the history's texts included.
    const char *encoding = FileText::encodingOf(QByteArrayList(fields) << rest);
    QStringDecoder decoder(encoding);
    for (qsizetype index = 0; index < texts.size(); ++index)
        *texts[index] = FileText::textOf(fields.at(index), decoder);
    HistorySection::Reading history = HistorySection::read(rest, encoding);
    content.history = std::move(history.history);
    content.unreadLines = std::move(history.unreadLines);
    content.historyError = std::move(history.error);
    content.historyUnread = history.historyUnread;
    return content;
}

bool EstimateFile::save(const QString &path, const EstimateContent &content, QString *errorString,
                        QList<LostText> *lostTexts)
{
    return write(path, encode(content, lostTexts), errorString);
}

bool EstimateFile::write(const QString &path, const QByteArray &bytes, QString *errorString)
{
    if (bytes.size() > MaximumSize)
        return Reasons::fail(errorString,
                             QStringLiteral("The file would be larger than 1 MiB, and could not be opened again"));
    return SafeFileWriter::write(path, bytes, errorString);
}

std::optional<EstimateContent> EstimateFile::load(const QString &path, QString *errorString)
{
    QFile file;
    QString reason;
    std::optional<EstimateContent> content;
    if (openRegularFile(file, path, &reason)) {
        content = decode(file);
        if (!content) {
            reason = whyUnreadable(file);
        } else if (DamageCheck::holdsControlCharacters(*content)) {
            content.reset();
            reason = QStringLiteral("It is not an estimate file: it holds control characters");
        } else if (const QString shifted = DamageCheck::shiftWarning(*content); !shifted.isEmpty()) {
            content->damageWarning = shifted;
        }
    }
    if (!content)
        Reasons::fail(errorString, reason);
    return content;
}
