#include "recentfiles.h"

#include "programsettings.h"

#include <QFileInfo>

namespace {
QString recentKey()
{
    return QStringLiteral("Recent/Files");
}
}

RecentFiles::RecentFiles(QObject *parent)
    : QObject(parent)
    , m_files(ProgramSettings().value(recentKey()).toStringList().mid(0, MaximumCount))
{
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    m_files = m_files.mid(0, MaximumCount);
    store();
}

void RecentFiles::remove(const QString &path)
{
    if (m_files.removeAll(path) > 0)
        store();
}

void RecentFiles::store()
{
    ProgramSettings().setValue(recentKey(), m_files);
    emit changed();
}
