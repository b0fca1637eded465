#pragma once

#include <QString>
#include <QStringList>

// The file dialogs of the document commands, behind an interface so that tests can
// answer them. Both give the chosen path, or an empty text when the user cancelled.
class FileDialogs
{
public:
    static QString extension() { return QStringLiteral("vrn"); }
    static QString filter() { return QStringLiteral("Cost Estimate (*.vrn)"); }
    static QString openTitle() { return QStringLiteral("Open Project"); }
    static QString saveTitle() { return QStringLiteral("Save Project"); }

    virtual ~FileDialogs() = default;

    virtual QString showOpen() = 0;
    // presetPath, when not empty, is offered as the file name.
    virtual QString showSave(const QString &presetPath) = 0;
    // A file to export to, of the type the filter names, with suffix added when none is typed;
    // presetPath, when not empty, is offered as the file name.
    virtual QString showExport(const QString &title, const QString &filter, const QString &suffix,
                               const QString &presetPath) = 0;
    // Files of any kind to attach to the estimate as papers; none when the user cancelled.
    virtual QStringList showAttach() = 0;
};
