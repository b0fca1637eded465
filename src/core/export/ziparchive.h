#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The members of a zip archive held in memory, each read whole and checked against the
// checksum the archive gives for it.
namespace ZipArchive {
struct Member
{
    QString name;
    QByteArray bytes;
};

// Every member in the archive's order, or nothing, with errorString telling why, when the
// archive or one of its members cannot be read whole.
std::optional<QList<Member>> read(const QByteArray &archive, QString *errorString = nullptr);
}
