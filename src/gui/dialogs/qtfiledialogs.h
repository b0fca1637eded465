#pragma once

#include "core/document/filedialogs.h"

class QWidget;

// The open and save dialogs. Like one shared dialog object, they remember the last file
// name between uses.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *owner);

    QString showOpen() override;
    QString showSave(const QString &presetPath) override;
    QString showExport(const QString &title, const QString &filter, const QString &suffix,
                       const QString &presetPath) override;

private:
    QWidget *const m_owner;
    QString m_fileName;
};
