#pragma once

// Stand-ins for the dialogs and message boxes, answered by the test and recording what
// the program asked.

#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "core/registration/fileiconassociation.h"

#include <QList>
#include <QStringList>

class FakeMessageBoxes : public MessageBoxes
{
public:
    struct Shown
    {
        QString kind;
        QString text;
        QString title;
        QString reason;
    };

    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        return ask({QStringLiteral("question"), text, title, {}}, Cancel);
    }
    Answer askYesNo(const QString &text, const QString &title) override
    {
        return ask({QStringLiteral("yes/no question"), text, title, {}}, No);
    }
    Answer askYesNoDefaultNo(const QString &text, const QString &title) override
    {
        return ask({QStringLiteral("yes/no question, no by default"), text, title, {}}, No);
    }
    Answer askSaveOverOrSaveAs(const QString &text, const QString &title) override
    {
        return ask({QStringLiteral("save-over question"), text, title, {}}, Cancel);
    }
    void showCritical(const QString &text, const QString &title) override { showFailure(text, title, {}); }
    void showFailure(const QString &text, const QString &title, const QString &reason) override
    {
        shown << Shown{QStringLiteral("critical"), text, title, reason};
    }
    void showWarning(const QString &text, const QString &title) override { shown << Shown{"warning", text, title, {}}; }
    void showInformation(const QString &text, const QString &title) override
    {
        shown << Shown{QStringLiteral("information"), text, title, {}};
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Shown &box : shown)
            result << box.text;
        return result;
    }

    QList<Answer> answers;
    QList<Shown> shown;

private:
    // The next answer the test gave, or what closing the box answers.
    Answer ask(const Shown &box, Answer closing)
    {
        shown << box;
        return answers.isEmpty() ? closing : answers.takeFirst();
    }
};

class FakeFileDialogs : public FileDialogs
{
public:
    QString showOpen() override
    {
        ++openCount;
        return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
    }
    QString showSave(const QString &presetPath) override
    {
        savePresets << presetPath;
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }

    QString showExport(const QString &title, const QString &, const QString &, const QString &presetPath) override
    {
        exportTitles << title;
        exportPresets << presetPath;
        return exportPaths.isEmpty() ? QString() : exportPaths.takeFirst();
    }

    QStringList showAttach() override
    {
        ++attachCount;
        return attachPaths.isEmpty() ? QStringList() : attachPaths.takeFirst();
    }

    QStringList openPaths;
    QList<QStringList> attachPaths;
    int attachCount = 0;
    QStringList savePaths;
    QStringList exportPaths;
    QStringList exportTitles;
    QStringList exportPresets;
    QStringList savePresets;
    int openCount = 0;
};

class FakeFileIconAssociation : public FileIconAssociation
{
public:
    void RegisterFileAssociation(const QString &AppName, const QString &Extension, const QString &AppFolder,
                                 const QString &IconFile) override
    {
        registrations << QStringList{AppName, Extension, AppFolder, IconFile};
    }
    QString iconFile(const QString &) const override { return QStringLiteral("GRAPH03.ICO"); }

    QList<QStringList> registrations;
};
