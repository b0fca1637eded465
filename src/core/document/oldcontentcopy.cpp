#include "oldcontentcopy.h"

#include "core/reasons.h"
#include "privatefolder.h"
#include "safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {
// A file name may have 255 bytes; the copy's name is the file's, cut to leave room for its
// own ending.
constexpr qsizetype NameLength = 200;
}

bool OldContentCopy::make(const QString &file, QString *errorString)
{
    QFile old(file);
    QByteArray bytes;
    if (old.open(QIODevice::ReadOnly))
        bytes = old.readAll();
    if (old.error() != QFileDevice::NoError)
        return Reasons::fail(errorString, old.errorString());
    const QString folder = PrivateFolder::dataFolder();
    QString reason;
    const QString name = QStringLiteral("%1.old-%2")
                             .arg(QFileInfo(file).fileName().left(NameLength))
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString path = QDir(folder).filePath(name);
    if (!PrivateFolder::make(folder, &reason) || !SafeFileWriter::writePrivate(path, bytes, &reason))
        return Reasons::fail(errorString,
                             QStringLiteral("Its old content could not be kept first (%1: %2)")
                                 .arg(QDir::toNativeSeparators(folder), reason));
    m_path = path;
    return true;
}

void OldContentCopy::remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
}
