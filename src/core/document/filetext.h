#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

class QStringDecoder;

// Texts as the estimate file holds them: Windows-1252 between double quotes, line breaks as
// CR LF, and a double quote inside a text as the closing typographic quote, so that no text
// can end its field early and shift the fields after it.
namespace FileText {
inline constexpr char CodePage[] = "windows-1252";

struct QuotedField
{
    QByteArray bytes;
    // The characters the code page cannot hold, each once, in order; each is stored as "?".
    QString lostCharacters;
};

QuotedField quoted(const QString &text);

// A control character that no estimate holds: any but the tab and the line breaks. A text
// cannot store one, and a file holding one is something else.
bool isControlCharacter(QChar c);

// The code page the file is written in, or UTF-8 for the texts of a file that a text editor
// saved so: bytes beyond ASCII that are all valid UTF-8 are UTF-8 (Windows-1252 text that
// happens to be valid UTF-8 is all but unknown), unless they make letters the code page
// lacks from bytes that are code-page text as well.
const char *encodingOf(const QByteArrayList &fields);

// A field's text; every line break inside it reads as "\n", whichever convention the file used.
QString textOf(const QByteArray &field, QStringDecoder &decoder);
}
