#include "editcontextmenu.h"

#include "core/sheet/grid.h"
#include "gui/sheet/gridview.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>

namespace {
bool opensMenu(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

// Where a menu opened from the keyboard appears: at the current cell, or at the caret.
QPoint keyboardAnchor(QWidget *control)
{
    if (auto *grid = qobject_cast<GridView *>(control)) {
        const Grid &cells = grid->grid();
        return grid->mapToGlobal(grid->shownCellRect(cells.currentRow(), cells.currentColumn()).center());
    }
    if (auto *text = qobject_cast<QPlainTextEdit *>(control))
        return text->viewport()->mapToGlobal(text->cursorRect().bottomLeft());
    return control->mapToGlobal(control->rect().center());
}
}

EditContextMenu::EditContextMenu(const QList<QAction *> &actions, const QList<QWidget *> &controls, QObject *parent)
    : QObject(parent)
{
    auto *owner = controls.isEmpty() ? nullptr : controls.first()->window();
    m_menu = new QMenu(owner);
    m_menu->setObjectName(QStringLiteral("mnuEditContext"));
    m_menu->addActions(actions.mid(0, 4));
    m_menu->addSeparator();
    m_menu->addActions(actions.mid(4));
    for (QWidget *control : controls)
        watch(control);
}

void EditContextMenu::watch(QWidget *control)
{
    control->installEventFilter(this);
    // A scrolled control gets the mouse's requests on its viewport.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        area->viewport()->installEventFilter(this);
}

bool EditContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = static_cast<QWidget *>(watched);
    if (event->type() == QEvent::KeyPress && opensMenu(static_cast<QKeyEvent *>(event))) {
        popUpByKey(widget);
        return true;
    }
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto *request = static_cast<QContextMenuEvent *>(event);
    if (request->reason() == QContextMenuEvent::Mouse)
        popUpByMouse(widget, request->globalPos());
    else if (!m_menu->isVisible())
        popUpByKey(widget);
    return true;
}

void EditContextMenu::popUpByMouse(QWidget *surface, const QPoint &globalPosition)
{
    auto *grid = qobject_cast<GridView *>(surface->parentWidget());
    if (grid && surface == grid->viewport()) {
        Grid &cells = grid->grid();
        const GridView::CellPosition cell = grid->cellAt(grid->mapFromGlobal(globalPosition));
        const bool inSheet = cell.row >= cells.fixedRows() && cell.column >= cells.fixedColumns();
        if (inSheet && !cells.isSelected(cell.row, cell.column))
            cells.setCurrentCell(cell.row, cell.column);
        grid->setFocus(Qt::MouseFocusReason);
    } else {
        surface->setFocus(Qt::MouseFocusReason);
    }
    m_menu->popup(globalPosition);
}

void EditContextMenu::popUpByKey(QWidget *control)
{
    // The viewport of a scrolled control stands for the control itself.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control->parentWidget()); area && area->viewport() == control)
        control = area;
    m_menu->popup(keyboardAnchor(control));
    // Opened from the keyboard, the menu has its first item highlighted, as a screen reader
    // needs to say anything before the first arrow key.
    for (QAction *item : m_menu->actions()) {
        if (!item->isSeparator() && item->isEnabled()) {
            m_menu->setActiveAction(item);
            break;
        }
    }
}
