#include "estimatefile.h"

#include "filereasons.h"
#include "safefilewriter.h"
#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <span>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr char CodePage[] = "windows-1252";
constexpr char RecordEnd[] = "\r\n";
constexpr int VersionFieldCount = 3;
// The version, the header fields and one record per item row: other programs count on 38.
constexpr int RecordCount = 2 + EstimateContent::RowCount;
static_assert(RecordCount == 38, "an estimate file holds 38 records");
constexpr qint64 ChunkSize = 64 * 1024;

struct EncodedText
{
    QByteArray bytes;
    QString lostCharacters;
};

// The text as the file holds it. A double quote would end the field early and shift every
// field after it, so it becomes the closing typographic quote; line breaks become CR LF.
QString storedForm(QString text)
{
    text.replace(u'"', u'\u201D');
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\r\n"_s);
    return text;
}

// The bytes of text, or nothing when the file cannot hold one of its characters. An encoder
// keeps reporting an error once it has seen one, so every call needs an encoder of its own.
std::optional<QByteArray> encodeExactly(QStringView text)
{
    // The code page has a NUL, but a reader takes a file holding one for binary.
    if (text.contains(QChar::Null))
        return std::nullopt;
    // ASCII is the same in the code page; most texts are, and need no converter.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder(CodePage, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// A surrogate pair is one character; a lone surrogate is a character of its own, and lost.
qsizetype characterLength(QStringView text, qsizetype at)
{
    const bool isPair = at + 1 < text.size() && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate();
    return isPair ? 2 : 1;
}

// The encoder would put its own substitute (0x1A, a control character) in place of a
// character it cannot hold, so such a text is encoded one character at a time to know
// which ones are lost and to write "?" for them instead.
EncodedText encodeText(QStringView text)
{
    if (std::optional<QByteArray> bytes = encodeExactly(text))
        return {std::move(*bytes), {}};

    EncodedText encoded;
    for (qsizetype at = 0; at < text.size();) {
        const QStringView character = text.sliced(at, characterLength(text, at));
        if (const std::optional<QByteArray> bytes = encodeExactly(character)) {
            encoded.bytes += *bytes;
        } else {
            encoded.bytes += '?';
            if (!encoded.lostCharacters.contains(character))
                encoded.lostCharacters += character;
        }
        at += character.size();
    }
    return encoded;
}

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
        const EncodedText encoded = encodeText(storedForm(texts[column - 1]));
        fields += '"' + encoded.bytes + '"';
        if (!encoded.lostCharacters.isEmpty())
            lostTexts.append({row, column, encoded.lostCharacters});
    }
    return fields.join(',') + RecordEnd;
}

bool isQuote(char byte)
{
    return byte == '"';
}

bool isSeparator(char byte)
{
    return byte == ',' || byte == '\r' || byte == '\n';
}

// Hands out the fields of a file in order. The device is read in chunks, only as far as the
// fields asked for need and never beyond EstimateFile::MaximumSize bytes, so a huge or
// endless file costs no more than a small one before it is turned down.
class FieldReader
{
public:
    explicit FieldReader(QIODevice &device)
        : m_device(device)
    {
    }

    // The next field's bytes without its quotes; nothing when the file ends before it does.
    std::optional<QByteArray> nextField();

    // False once the part read turned out not to be an estimate file: larger than the limit,
    // binary (it holds a NUL byte) or unreadable.
    bool isAcceptable() const { return !m_rejected; }

private:
    std::optional<char> peek();
    void readChunk();
    void skipBlanks();
    bool skipPastSeparator();
    QByteArray takeUntil(bool (*isEnd)(char));

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_hasReadField = false;
    bool m_rejected = false;
};

std::optional<QByteArray> FieldReader::nextField()
{
    if (m_hasReadField && !skipPastSeparator())
        return std::nullopt;
    m_hasReadField = true;

    skipBlanks();
    const std::optional<char> first = peek();
    if (!first)
        return std::nullopt;
    if (!isQuote(*first))
        return takeUntil(isSeparator);

    ++m_position;
    QByteArray text = takeUntil(isQuote);
    if (!peek())
        return std::nullopt; // the quote is never closed
    ++m_position;
    return text;
}

// The byte at the current position, or nothing at the end of what may be read.
std::optional<char> FieldReader::peek()
{
    if (m_rejected)
        return std::nullopt;
    if (m_position == m_buffer.size())
        readChunk();
    if (m_position == m_buffer.size())
        return std::nullopt;
    const char byte = m_buffer.at(m_position);
    if (m_position == EstimateFile::MaximumSize || byte == '\0') {
        m_rejected = true;
        return std::nullopt;
    }
    return byte;
}

void FieldReader::readChunk()
{
    // One byte beyond the limit tells a file of exactly MaximumSize bytes from a larger one.
    const qint64 wanted = qMin(ChunkSize, EstimateFile::MaximumSize + 1 - m_buffer.size());
    const qsizetype oldSize = m_buffer.size();
    m_buffer.resize(oldSize + wanted);
    const qint64 received = m_device.read(m_buffer.data() + oldSize, wanted);
    m_buffer.resize(oldSize + qMax(received, qint64(0)));
    if (received < 0)
        m_rejected = true;
}

void FieldReader::skipBlanks()
{
    while (const std::optional<char> byte = peek()) {
        if (*byte != ' ' && *byte != '\t')
            return;
        ++m_position;
    }
}

// Skips whatever is left of the field just read, then the comma or line end after it;
// CR LF is one line end. False when the file ends first.
bool FieldReader::skipPastSeparator()
{
    while (const std::optional<char> byte = peek()) {
        ++m_position;
        if (*byte == '\r') {
            if (peek() == '\n')
                ++m_position;
            return true;
        }
        if (isSeparator(*byte))
            return true;
    }
    return false;
}

QByteArray FieldReader::takeUntil(bool (*isEnd)(char))
{
    const qsizetype start = m_position;
    while (const std::optional<char> byte = peek()) {
        if (isEnd(*byte))
            break;
        ++m_position;
    }
    return m_buffer.sliced(start, m_position - start);
}

// Every line break inside a text reads as "\n", whichever convention the file used.
QString textOf(const QByteArray &field, QStringDecoder &decoder)
{
    const bool ascii = std::all_of(field.begin(), field.end(), [](char byte) { return uchar(byte) < 0x80; });
    QString text = ascii ? QString::fromLatin1(field) : decoder.decode(field);
    if (!text.contains(u'\r'))
        return text;
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
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
        return FileReasons::fail(errorString, FileReasons::folderNotFile());
    if (!file.open(QIODevice::ReadOnly))
        return FileReasons::fail(errorString, file.errorString());
    return true;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileReasons::fail(errorString,
                                 errno == ENOENT ? QStringLiteral("The file does not exist")
                                                 : QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return FileReasons::fail(
            errorString, S_ISDIR(status.st_mode) ? FileReasons::folderNotFile() : FileReasons::notRegularFile());
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileReasons::fail(errorString, file.errorString());
    }
    return true;
#endif
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
    if (lostTexts)
        *lostTexts = lost;
    return bytes;
}

std::optional<EstimateContent> EstimateFile::decode(QIODevice &device)
{
    FieldReader reader(device);
    for (int field = 0; field < VersionFieldCount; ++field) {
        if (!reader.nextField())
            return std::nullopt;
    }

    QStringDecoder decoder(CodePage);
    EstimateContent content;
    for (QString *text : textsInFileOrder(content)) {
        const std::optional<QByteArray> field = reader.nextField();
        if (!field)
            return std::nullopt;
        *text = textOf(*field, decoder);
    }
    // The last field may have ended at the size limit or at a NUL byte rather than at its end.
    if (!reader.isAcceptable())
        return std::nullopt;
    return content;
}

bool EstimateFile::save(const QString &path, const EstimateContent &content, QString *errorString,
                        QList<LostText> *lostTexts)
{
    const QByteArray bytes = encode(content, lostTexts);
    if (bytes.size() > MaximumSize)
        return FileReasons::fail(errorString,
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
        if (!content && file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else if (!content)
            reason = file.size() > MaximumSize ? QStringLiteral("The file is larger than 1 MiB")
                                               : QStringLiteral("It is not a whole estimate file: it is cut short, "
                                                                "or it is not text");
    }
    if (!content)
        FileReasons::fail(errorString, reason);
    return content;
}
