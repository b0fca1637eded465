#pragma once

#include <QByteArray>
#include <QByteArrayView>

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

    // Whether the next field begins with these bytes, quotes included; nothing is taken, and
    // nothing of the file beyond them is read.
    bool nextFieldStartsWith(QByteArrayView bytes);
    // Moves on to the next field if it begins with these bytes, or else to the first line
    // further on that does, and gives what it passed over; nothing, with nothing moved, when
    // no line of what may be read begins with them.
    std::optional<QByteArray> skipToLineStartingWith(QByteArrayView bytes);
    // What is left of what may be read, from the next field on; nothing is taken.
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
    bool bytesAt(qsizetype position, QByteArrayView bytes);
    QByteArray takeUntil(bool (*isEnd)(char));

    QIODevice &m_device;
    const qint64 m_sizeLimit;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_hasReadField = false;
    bool m_atNextField = false;
    bool m_rejected = false;
    bool m_tooLarge = false;
};
