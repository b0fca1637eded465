#pragma once

#include <QAccessibleWidget>

// The tab trap as a screen reader sees it: not at all. It lies hidden behind a frame and only
// hands the focus on to the sheet, so it is neither shown nor named.
class TabTrapAccessible : public QAccessibleWidget
{
public:
    explicit TabTrapAccessible(QWidget *trap);

    // Marks a control as a tab trap, and installs the factory that hides it.
    static void hide(QWidget *trap);
    // The factory for QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    QString text(QAccessible::Text) const override { return QString(); }
    QAccessible::State state() const override;
};
