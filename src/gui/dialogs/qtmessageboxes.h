#pragma once

#include "core/document/messageboxes.h"

// The message boxes as the user sees them: modal, over the window the user works in.
class QtMessageBoxes : public MessageBoxes
{
public:
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    Answer askYesNo(const QString &text, const QString &title) override;
    Answer askYesNoDefaultNo(const QString &text, const QString &title) override;
    Answer askSaveOverOrSaveAs(const QString &text, const QString &title) override;
    void showCritical(const QString &text, const QString &title) override;
    void showFailure(const QString &text, const QString &title, const QString &reason) override;
    void showWarning(const QString &text, const QString &title) override;
    void showInformation(const QString &text, const QString &title) override;
};
