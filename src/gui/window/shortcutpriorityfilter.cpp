#include "shortcutpriorityfilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
// Del with nothing selected deletes the character after the caret, as in every text box;
// the menu's Delete would delete the empty selection, that is nothing.
bool deletesNextCharacter(const QObject *watched, const QKeySequence &pressed)
{
    if (pressed != QKeySequence(Qt::Key_Delete))
        return false;
    if (const auto *line = qobject_cast<const QLineEdit *>(watched))
        return !line->hasSelectedText();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(watched))
        return !text->textCursor().hasSelection();
    return false;
}
}

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
        if (m_shortcuts.contains(pressed) && !deletesNextCharacter(watched, pressed))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
