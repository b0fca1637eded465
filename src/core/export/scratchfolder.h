#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder of the program's own in the system's temporary folder, for files that are nobody's
// to keep (the spreadsheet library's scratch files): "VARN-<process id>-XXXXXX". It goes with
// the object; one that could not be removed then, or that a run left behind when it was
// killed, goes at the end of this run or at the start of the next.
class ScratchFolder
{
public:
    ScratchFolder();

    bool isValid() const { return m_folder.isValid(); }
    QString errorString() const { return m_folder.errorString(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }
    QString path() const { return m_folder.path(); }

    // Removes the scratch folders of runs that have ended, and this run's own: for the start
    // and the end of the program, when none of its own is in use.
    static void removeLeftBehind();

private:
    QTemporaryDir m_folder;
};
