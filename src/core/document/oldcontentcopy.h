#pragma once

#include <QString>

// The content a file had, kept in the program's own data folder while the file is rewritten
// in place (it lies in a folder where no new file can be made beside it). A rewrite that fails
// part-way leaves the file neither old nor new; this copy then holds what it was.
class OldContentCopy
{
public:
    // Copies the file's content; false, with the reason, when it cannot be kept.
    bool make(const QString &file, QString *errorString = nullptr);
    // The rewrite is whole: the copy is of no more use.
    void remove();
    const QString &path() const { return m_path; }

private:
    QString m_path;
};
