#include "filestamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileStamp FileStamp::of(const QString &path)
{
    QFile file(path);
    FileStamp stamp;
    if (!file.open(QIODevice::ReadOnly))
        return stamp;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return stamp;
    stamp.m_known = true;
    stamp.m_size = file.size();
    stamp.m_hash = hash.result();
    return stamp;
}

FileStamp FileStamp::ofBytes(const QByteArray &bytes)
{
    FileStamp stamp;
    stamp.m_known = true;
    stamp.m_size = bytes.size();
    stamp.m_hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return stamp;
}

bool FileStamp::matches(const QString &path) const
{
    if (!m_known || !QFileInfo::exists(path))
        return true;
    if (QFileInfo(path).size() != m_size)
        return false;
    const FileStamp now = of(path);
    return now.m_known && now.m_hash == m_hash;
}
