#include "tabseparatedtext.h"

#include <optional>

namespace {
bool endsField(const QString &text, qsizetype at)
{
    return at == text.size() || text[at] == u'\t' || text[at] == u'\n';
}

// The field between quotes that starts at the given place, when it is one: its closing quote
// ends the field.
std::optional<QString> quotedField(const QString &text, qsizetype &at)
{
    QString value;
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] != u'"') {
            value.append(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == u'"') {
            value.append(u'"');
            ++i;
        } else if (endsField(text, i + 1)) {
            at = i + 1;
            return value;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The field that starts at the given place; the place moves on to the tab or line break
// after it, or to the end.
QString field(const QString &text, qsizetype &at)
{
    if (at < text.size() && text[at] == u'"') {
        if (std::optional<QString> quoted = quotedField(text, at))
            return *quoted;
    }
    const qsizetype start = at;
    while (!endsField(text, at))
        ++at;
    return text.mid(start, at - start);
}
}

namespace TabSeparatedText {

QString cellText(const QString &text)
{
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QList<QStringList> read(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QList<QStringList> lines{QStringList()};
    qsizetype at = 0;
    for (;;) {
        lines.last() << field(text, at);
        if (at == text.size())
            break;
        if (text[at++] == u'\n') {
            if (at == text.size())
                break;
            lines << QStringList();
        }
    }
    return lines;
}

}
