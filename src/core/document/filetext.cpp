#include "filetext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) < 0x80; });
}

QString storedForm(QString text)
{
    text.replace(u'"', u'\u201D');
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\r\n"_s);
    return text;
}

// The bytes of text, or nothing when the file cannot hold one of its characters. An encoder
// keeps reporting an error once it has seen one, so every call needs an encoder of its own.
std::optional<QByteArray> encodeExactly(QStringView text)
{
    // The code page has them, but a reader takes a file holding a NUL or another control
    // character for something other than an estimate.
    if (std::any_of(text.begin(), text.end(), FileText::isControlCharacter))
        return std::nullopt;
    // ASCII is the same in the code page; most texts are, and need no converter.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder(FileText::CodePage, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// A surrogate pair is one character; a lone surrogate is a character of its own, and lost.
qsizetype characterLength(QStringView text, qsizetype at)
{
    const bool isPair = at + 1 < text.size() && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate();
    return isPair ? 2 : 1;
}

// The encoder would put its own substitute (0x1A, a control character) in place of a
// character it cannot hold, so such a text is encoded one character at a time to know
// which ones are lost and to write "?" for them instead.
FileText::QuotedField encodeText(QStringView text)
{
    if (std::optional<QByteArray> bytes = encodeExactly(text))
        return {std::move(*bytes), {}};

    FileText::QuotedField encoded;
    for (qsizetype at = 0; at < text.size();) {
        const QStringView character = text.sliced(at, characterLength(text, at));
        if (const std::optional<QByteArray> bytes = encodeExactly(character)) {
            encoded.bytes += *bytes;
        } else {
            encoded.bytes += '?';
            if (!encoded.lostCharacters.contains(character))
                encoded.lostCharacters += character;
        }
        at += character.size();
    }
    return encoded;
}

}

namespace FileText {

QuotedField quoted(const QString &text)
{
    QuotedField field = encodeText(storedForm(text));
    field.bytes = '"' + field.bytes + '"';
    return field;
}

bool isControlCharacter(QChar c)
{
    return c.category() == QChar::Other_Control && c != u'\t' && c != u'\r' && c != u'\n';
}

const char *encodingOf(const QByteArrayList &fields)
{
    bool beyondAscii = false;
    bool beyondCodePage = false;
    bool codePageHasControls = false;
    for (const QByteArray &field : fields) {
        if (isAscii(field))
            continue;
        beyondAscii = true;
        // The decoder learns of an error only as it converts, which its result does on demand.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(field);
        if (utf8.hasError())
            return CodePage;
        beyondCodePage = beyondCodePage || !encodeExactly(text);
        QStringDecoder codePage(CodePage, QStringConverter::Flag::Stateless);
        const QString asCodePage = codePage.decode(field);
        codePageHasControls =
            codePageHasControls || std::any_of(asCodePage.begin(), asCodePage.end(), isControlCharacter);
    }
    // A file that VARN wrote, whose few letters beyond ASCII happen to make UTF-8 ("Ø½"), reads
    // as UTF-8 of letters the code page lacks; read so, they would be saved as "?". Such a file
    // keeps its code page, unless its bytes cannot be code-page text at all.
    if (beyondCodePage && !codePageHasControls)
        return CodePage;
    return beyondAscii ? "UTF-8" : CodePage;
}

QString textOf(const QByteArray &field, QStringDecoder &decoder)
{
    QString text = isAscii(field) ? QString::fromLatin1(field) : decoder.decode(field);
    if (!text.contains(u'\r'))
        return text;
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
}

}
