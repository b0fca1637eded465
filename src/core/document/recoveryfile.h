#pragma once

#include "estimatecontent.h"
#include "filestamp.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

// The copy of an unsaved estimate kept in the program's own data folder, so that a run
// that ends without exiting (a crash, a power cut, a kill) loses nothing typed. Each run
// keeps its own copy, held by a lock file for as long as it runs: a copy whose lock
// nobody holds any more was left behind, and another run may take it over.
class RecoveryFile
{
public:
    // A copy left behind, its lock now held by the run that found it.
    struct LeftCopy
    {
        QString path;
        QString originalFile;
        // What the original file held when the estimate last read or wrote it.
        FileStamp stamp;
        QDateTime written;
        EstimateContent content;
        std::unique_ptr<QLockFile> lock;
    };

    explicit RecoveryFile(const QString &folder);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    const QString &folder() const { return m_folder; }

    // Puts the estimate in place of this run's copy; originalFile is the file it belongs
    // to, empty when it has none, and stamp what that file held when the estimate last read
    // or wrote it. The folder and every file in it are the user's alone.
    bool write(const EstimateContent &content, const QString &originalFile, const FileStamp &stamp,
               QString *errorString = nullptr);
    // Nothing is left to recover: the copy and its lock go.
    void remove();

    // The newest copy left behind that can be read, or nothing. Copies that cannot be read
    // are removed on the way.
    std::optional<LeftCopy> takeLeftCopy() const;
    // The copy goes for good, its lock with it.
    static void discard(LeftCopy &copy);

private:
    QString ownPath(const QString &suffix) const;
    bool lock(QString *errorString);
    static bool lockLeftCopy(QLockFile &lock);
    static std::optional<LeftCopy> read(const QString &path, std::unique_ptr<QLockFile> lock);

    QString m_folder;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};
