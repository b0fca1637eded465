#pragma once

#include <QByteArray>

#include <optional>

class QIODevice;

// Hands out the fields of an estimate file in order: a quoted field runs to its closing
// quote, commas and line breaks included, and what follows the quote up to the next comma
// or line end is skipped; any other field runs to the next comma or line end. The device is
// read in chunks, only as far as the fields asked for need and never beyond the size limit,
// so a huge or endless file costs no more than a small one before it is turned down.
class FieldReader
{
public:
    FieldReader(QIODevice &device, qint64 sizeLimit);

    // The next field's bytes without its quotes; nothing when the file ends before it does.
    std::optional<QByteArray> nextField();

    // What follows the separator after the field last read, to the end of the file, as it
    // stands: blanks, NUL bytes and all. The whole file is read, so that a file larger than
    // the limit, or a read that fails, is noticed; nothing is taken.
    QByteArray rest();

    // False once the part read turned out not to be an estimate file: larger than the limit,
    // binary (it holds a NUL byte) or unreadable.
    bool isAcceptable() const { return !m_rejected; }
    // True when the file turned out larger than the limit.
    bool isTooLarge() const { return m_tooLarge; }

private:
    std::optional<char> byteAt(qsizetype position);
    std::optional<char> peek() { return byteAt(m_position); }
    void readChunk();
    void skipBlanks();
    bool skipPastSeparator();
    bool moveToNextField();
    QByteArray takeUntil(bool (*isEnd)(char));

    QIODevice &m_device;
    const qint64 m_sizeLimit;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_hasReadField = false;
    bool m_atNextField = false;
    bool m_rejected = false;
    bool m_tooLarge = false;
    bool m_readFailed = false;
};
