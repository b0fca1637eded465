#pragma once

#include <QObject>

class GridView;
class QAction;
class QMenu;
class QPoint;

// The menu of editing commands at hand in the sheet and the header fields: by a right click,
// the Menu key or Shift+F10. Its items are the menus' own commands, so each works as from
// the Edit menu. A right click on a cell outside the selection makes that cell current first.
class EditContextMenu : public QObject
{
    Q_OBJECT

public:
    EditContextMenu(const QList<QAction *> &actions, const QList<QWidget *> &controls, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *control);
    void popUpByMouse(QWidget *surface, const QPoint &globalPosition);
    void popUpByKey(QWidget *control);

    QMenu *m_menu = nullptr;
};
