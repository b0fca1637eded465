#pragma once

#include <QByteArray>
#include <QString>

// Puts new content in place of a file as a whole, or leaves the old file as it was.
// Every write, the flush to the disk and the replace are checked, so a full disk, a size
// limit or a failing device is reported and never taken for a file saved.
class SafeFileWriter
{
public:
    // False, with the reason in errorString, when the file could not be written whole.
    // The new file keeps the old one's mode and, where allowed, its owner and group; a
    // symbolic link is followed and stays a link.
    static bool write(const QString &path, const QByteArray &bytes, QString *errorString = nullptr);
    // The same for a file that is the user's alone (mode 0600), whatever it was before.
    static bool writePrivate(const QString &path, const QByteArray &bytes, QString *errorString = nullptr);
};
