#include "filestamp.h"

#include "core/reasons.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileStamp FileStamp::of(const QString &path, QString *errorString)
{
    QFile file(path);
    FileStamp stamp;
    if (!file.open(QIODevice::ReadOnly)) {
        Reasons::fail(errorString, file.errorString());
        return stamp;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        Reasons::fail(errorString, file.errorString());
        return stamp;
    }
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

FileStamp::Comparison FileStamp::compare(const QString &path, QString *errorString) const
{
    if (!m_known || !QFileInfo::exists(path))
        return Same;
    if (QFileInfo(path).size() != m_size)
        return Changed;
    const FileStamp now = of(path, errorString);
    if (!now.m_known)
        return Unreadable;
    return now.m_hash == m_hash ? Same : Changed;
}

QByteArray FileStamp::toText() const
{
    if (!m_known)
        return {};
    return QByteArray::number(m_size) + ' ' + m_hash.toHex();
}

FileStamp FileStamp::fromText(const QByteArray &text)
{
    const QList<QByteArray> parts = text.trimmed().split(' ');
    FileStamp stamp;
    bool isNumber = false;
    const qint64 size = parts.value(0).toLongLong(&isNumber);
    const QByteArray hash = QByteArray::fromHex(parts.value(1));
    if (parts.size() != 2 || !isNumber || size < 0 || hash.size() != 32)
        return stamp;
    stamp.m_known = true;
    stamp.m_size = size;
    stamp.m_hash = hash;
    return stamp;
}
