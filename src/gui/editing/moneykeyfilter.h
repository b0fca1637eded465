#pragma once

#include <QChar>
#include <QString>

// Which keys a money entry takes: digits, points and commas, a blank after a digit (to group
// thousands), a minus sign or an opening parenthesis only at the start, and a closing
// parenthesis only after the digits of a parenthesised amount. Anything else would make the
// entry a note the user did not mean to write, so it is dropped as it is typed.
namespace MoneyKeyFilter {

enum class Effect {
    Insert,
    Discard,
    // The key replaces the whole entry: a sign typed over the lone 0 that Edit Cell shows
    // for an empty cell.
    ReplaceEntry,
};

// What a typed character does to an entry holding text, where the selection of
// selectionLength characters from selectionStart (or the caret there) is replaced by it.
// Control characters (Backspace, Tab) are always inserted.
Effect effectOf(QChar key, const QString &text, int selectionStart, int selectionLength);

}
