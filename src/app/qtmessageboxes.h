#pragma once

#include "messageboxes.h"

class QWidget;

// The message boxes as the user sees them: modal, owned by the main window.
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget *owner);

    Answer askYesNoCancel(const QString &text, const QString &title) override;
    Answer askYesNo(const QString &text, const QString &title) override;
    void showCritical(const QString &text, const QString &title) override;
    void showFailure(const QString &text, const QString &title, const QString &reason) override;
    void showWarning(const QString &text, const QString &title) override;
    void showInformation(const QString &text, const QString &title) override;

private:
    QWidget *const m_owner;
};
