#pragma once

#include <QObject>
#include <QStringList>

// The estimates opened or saved last, newest first, kept in the settings store so that
// they are there at the next start.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaximumCount = 4;

    explicit RecentFiles(QObject *parent = nullptr);

    const QStringList &files() const { return m_files; }
    void add(const QString &path);
    void remove(const QString &path);

signals:
    void changed();

private:
    void store();

    QStringList m_files;
};
