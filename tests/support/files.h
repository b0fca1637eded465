#pragma once

// Files as the tests write them for the program and read back what it wrote.

#include "core/export/ziparchive.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

namespace Files {
// The whole file; nothing when it cannot be read.
inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file with the bytes; false when it could not.
inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A workbook's parts, by name, but the one that holds the time it was made: two exports of one
// estimate give the same.
inline QMap<QString, QByteArray> workbookParts(const QByteArray &workbook)
{
    QMap<QString, QByteArray> parts;
    for (const ZipArchive::Member &member : ZipArchive::read(workbook).value_or(QList<ZipArchive::Member>()))
        parts.insert(member.name, member.bytes);
    parts.remove(QStringLiteral("docProps/core.xml"));
    return parts;
}
}
