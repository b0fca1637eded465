#include "moneykeyfilter.h"

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool startsWithSign(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.startsWith(u'-') || trimmed.startsWith(u'(');
}

bool endsWithDigit(const QString &text)
{
    return !text.isEmpty() && isDigit(text.back());
}
}

namespace MoneyKeyFilter {

Effect effectOf(QChar key, const QString &text, int selectionStart, int selectionLength)
{
    if (key.unicode() < 32)
        return Effect::Insert;
    const QString before = text.left(selectionStart);
    const QString after = text.mid(selectionStart + selectionLength);
    const bool atStart = before.trimmed().isEmpty();
    // Nothing goes before the sign or after the closing parenthesis.
    const bool outside = (atStart && startsWithSign(after)) || before.contains(u')');

    if (key == u'-' || key == u'(') {
        if (text == u"0" && selectionLength == 0)
            return Effect::ReplaceEntry;
        return atStart && !startsWithSign(after) ? Effect::Insert : Effect::Discard;
    }
    if (key == u')') {
        const bool closes = before.trimmed().startsWith(u'(') && endsWithDigit(before) && after.trimmed().isEmpty()
            && !(before + after).contains(u')');
        return closes ? Effect::Insert : Effect::Discard;
    }
    if (outside)
        return Effect::Discard;
    if (isDigit(key) || key == u'.' || key == u',')
        return Effect::Insert;
    return key == u' ' && endsWithDigit(before) ? Effect::Insert : Effect::Discard;
}

}
