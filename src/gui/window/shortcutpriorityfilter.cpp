#include "shortcutpriorityfilter.h"

#include <QKeyEvent>

ShortcutPriorityFilter::ShortcutPriorityFilter(QList<QKeySequence> shortcuts, QObject *parent)
    : QObject(parent)
    , m_shortcuts(std::move(shortcuts))
{
}

bool ShortcutPriorityFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        // Left unaccepted, the override lets the shortcut through to the menu.
        if (m_shortcuts.contains(pressed))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
