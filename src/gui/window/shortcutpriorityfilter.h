#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

// Gives the main window's menu shortcuts priority over the focused text box. A text box
// claims keys such as Ctrl+C or Del for itself; the menu commands must run instead, so
// that cut, copy, paste and delete behave the same in every control.
class ShortcutPriorityFilter : public QObject
{
    Q_OBJECT

public:
    ShortcutPriorityFilter(QList<QKeySequence> shortcuts, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QList<QKeySequence> m_shortcuts;
};
