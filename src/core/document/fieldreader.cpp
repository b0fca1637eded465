#include "fieldreader.h"

#include <QIODevice>

namespace {
constexpr qint64 ChunkSize = 64 * 1024;

bool isQuote(char byte)
{
    return byte == '"';
}

bool isSeparator(char byte)
{
    return byte == ',' || byte == '\r' || byte == '\n';
}
}

FieldReader::FieldReader(QIODevice &device, qint64 sizeLimit)
    : m_device(device)
    , m_sizeLimit(sizeLimit)
{
}

std::optional<QByteArray> FieldReader::nextField()
{
    if (!moveToNextField())
        return std::nullopt;
    m_atNextField = false;
    m_hasReadField = true;

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

QByteArray FieldReader::rest()
{
    if (!m_atNextField && m_hasReadField && !skipPastSeparator())
        return {};
    for (qsizetype size = -1; size != m_buffer.size() && !m_readFailed;) {
        size = m_buffer.size();
        readChunk();
    }
    if (m_buffer.size() > m_sizeLimit) {
        m_rejected = true;
        m_tooLarge = true;
    }
    const qsizetype end = qMin(m_buffer.size(), qsizetype(m_sizeLimit));
    return m_position < end ? m_buffer.sliced(m_position, end - m_position) : QByteArray();
}

// Past the separator after the field last read and the blanks before the next one, once.
bool FieldReader::moveToNextField()
{
    if (m_atNextField)
        return true;
    if (m_hasReadField && !skipPastSeparator())
        return false;
    skipBlanks();
    m_atNextField = true;
    return true;
}

// The byte at a position, or nothing beyond the end of what may be read.
std::optional<char> FieldReader::byteAt(qsizetype position)
{
    if (m_rejected)
        return std::nullopt;
    while (position >= m_buffer.size()) {
        const qsizetype before = m_buffer.size();
        readChunk();
        if (m_buffer.size() == before)
            return std::nullopt;
    }
    const char byte = m_buffer.at(position);
    if (position == m_sizeLimit || byte == '\0') {
        m_rejected = true;
        m_tooLarge = position == m_sizeLimit;
        return std::nullopt;
    }
    return byte;
}

void FieldReader::readChunk()
{
    // One byte beyond the limit tells a file of exactly the limit's size from a larger one.
    const qint64 wanted = qMin(ChunkSize, m_sizeLimit + 1 - m_buffer.size());
    if (wanted <= 0)
        return;
    const qsizetype oldSize = m_buffer.size();
    m_buffer.resize(oldSize + wanted);
    const qint64 received = m_device.read(m_buffer.data() + oldSize, wanted);
    m_buffer.resize(oldSize + qMax(received, qint64(0)));
    if (received < 0) {
        m_rejected = true;
        m_readFailed = true;
    }
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
