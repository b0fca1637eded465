#pragma once

#include "core/document/filedialogs.h"

// The open and save dialogs. Like one shared dialog object, they remember the last file
// name between uses.
class QtFileDialogs : public FileDialogs
{
public:
    QString showOpen() override;
    QString showSave(const QString &presetPath) override;
    QStringList showAttach() override;
    QString showExport(const QString &title, const QString &filter, const QString &suffix,
                       const QString &presetPath) override;

private:
    QString m_fileName;
};
