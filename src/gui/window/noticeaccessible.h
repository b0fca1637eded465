#pragma once

#include <QAccessibleWidget>

// A box that is there to tell, not to be worked in: the advice beside a cell, the message in
// the status bar. Screen readers say a tool tip that F1 brings up and a notification as
// they appear, and say nothing of a text box that does, so such a box is one of those, named
// by what it shows.
class NoticeAccessible : public QAccessibleWidget
{
public:
    NoticeAccessible(QWidget *box, QAccessible::Role role);

    // Gives a box the role it is heard in, and installs the factory that gives it.
    static void mark(QWidget *box, QAccessible::Role role);
    // The factory for QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    QString text(QAccessible::Text t) const override;
};
