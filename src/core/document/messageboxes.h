#pragma once

#include <QString>

// The modal message boxes of the program, behind an interface so that tests can answer
// them. The answer codes are those the save prompt passes on to its callers.
class MessageBoxes
{
public:
    enum Answer { Yes = 6, No = 7, Cancel = 2 };

    virtual ~MessageBoxes() = default;

    virtual Answer askYesNoCancel(const QString &text, const QString &title) = 0;
    // Yes or No; closing the box answers No.
    virtual Answer askYesNo(const QString &text, const QString &title) = 0;
    // Yes or No, with No the default: for a step that the user should take only on purpose.
    virtual Answer askYesNoDefaultNo(const QString &text, const QString &title) = 0;
    // Yes to save over a file that another program changed, No to Save As..., or Cancel.
    virtual Answer askSaveOverOrSaveAs(const QString &text, const QString &title) = 0;
    virtual void showCritical(const QString &text, const QString &title) = 0;
    // A failure with its reason ("No space left on device") below the message.
    virtual void showFailure(const QString &text, const QString &title, const QString &reason)
    {
        Q_UNUSED(reason);
        showCritical(text, title);
    }
    virtual void showWarning(const QString &text, const QString &title) = 0;
    virtual void showInformation(const QString &text, const QString &title) = 0;
};
