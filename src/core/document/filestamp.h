#pragma once

#include <QByteArray>
#include <QString>

// What a file held when this window last read or wrote it: its size and a hash of its
// content. Another program (another window) that saves the file since then leaves it
// different. Its modification time is no help: two saves within one tick of the file
// system's clock look alike, and a file touched or saved again unchanged would look changed.
class FileStamp
{
public:
    // Nothing known: every file matches.
    FileStamp() = default;
    // The file as it is now; nothing known when it cannot be read.
    static FileStamp of(const QString &path, QString *errorString = nullptr);
    // A file holding these bytes, as this window just wrote them.
    static FileStamp ofBytes(const QByteArray &bytes);

    enum Comparison { Same, Changed, Unreadable };
    // Whether the file still holds what it held when stamped. A file that is gone, or that
    // was written again with the same content, holds nothing this window would lose. A file
    // that cannot be read is neither; errorString, when given, learns why.
    Comparison compare(const QString &path, QString *errorString = nullptr) const;

    // The stamp as a line of text, kept beside a recovery copy, and back; a text that is no
    // stamp gives one that knows nothing.
    QByteArray toText() const;
    static FileStamp fromText(const QByteArray &text);

private:
    bool m_known = false;
    qint64 m_size = 0;
    QByteArray m_hash;
};
