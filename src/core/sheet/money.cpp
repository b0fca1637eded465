#include "money.h"

#include <QRegularExpression>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

bool isIgnoredBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text with its blanks removed, as ASCII, up to the first character that no number
// can hold; numbers are made of ASCII characters only.
std::string compactAscii(QStringView text)
{
    std::string compact;
    compact.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (isIgnoredBlank(c))
            continue;
        if (c.unicode() > 127)
            break;
        compact.push_back(static_cast<char>(c.unicode()));
    }
    return compact;
}

// A decimal number in the form from_chars takes; numbers out of range read as 0.
double parseDecimal(const std::string &digits)
{
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

double readRadixDigits(const std::string &s, size_t from, int radix)
{
    double value = 0.0;
    for (size_t i = from; i < s.size(); ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return std::isfinite(value) ? value : 0.0;
}

size_t appendDigits(const std::string &s, size_t i, std::string &out)
{
    while (i < s.size() && isDigit(s[i]))
        out.push_back(s[i++]);
    return i;
}

double readCompactNumber(const std::string &s)
{
    if (s.size() >= 2 && s[0] == '&') {
        const char prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (prefix == 'H')
            return readRadixDigits(s, 2, 16);
        if (prefix == 'O')
            return readRadixDigits(s, 2, 8);
    }

    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';

    std::string number;
    i = appendDigits(s, i, number);
    const bool hasIntegerDigits = !number.empty();
    bool hasFractionDigits = false;
    if (i < s.size() && s[i] == '.') {
        number.push_back('.');
        const size_t before = number.size();
        i = appendDigits(s, i + 1, number);
        hasFractionDigits = number.size() > before;
    }
    if (!hasIntegerDigits && !hasFractionDigits)
        return 0.0;
    if (!hasIntegerDigits)
        number.insert(number.begin(), '0');

    if (i < s.size() && std::strchr("EeDd", s[i]) != nullptr) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent.push_back(s[j++]);
        if (j < s.size() && isDigit(s[j])) {
            appendDigits(s, j, exponent);
            number += exponent;
        }
    }

    const double value = parseDecimal(number);
    return negative ? -value : value;
}

enum class CommaRole { GroupSeparator, DecimalComma, EndOfNumber };

// What a comma after a digit of the integer part means. People who write decimal commas
// write at most cents after them ("1234,56", "0,5"), and a group of thousands always has
// three digits, so the two cannot be confused; a comma that is neither ends the number.
CommaRole commaRole(const std::string &s, size_t comma)
{
    size_t end = comma + 1;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    const size_t digits = end - comma - 1;
    if (digits == 3)
        return CommaRole::GroupSeparator;
    const bool numberEnds = end == s.size() || (s[end] != ',' && s[end] != '.');
    if ((digits == 1 || digits == 2) && numberEnds)
        return CommaRole::DecimalComma;
    return CommaRole::EndOfNumber;
}

// True when the text, after blanks, begins with one of the characters that mark a
// negative amount.
bool startsNegative(QStringView text)
{
    for (const QChar c : text) {
        if (isIgnoredBlank(c))
            continue;
        return c == u'(' || c == u'-';
    }
    return false;
}

// The number made of a text's digits and points, up to the second point, when it has at
// most 15 digits: then digits and power of ten are exact doubles, and their quotient is the
// correctly rounded value, as from_chars would give it, at a fraction of the cost. Money
// texts are read this way over and over as the totals are added up.
std::optional<double> exactKeptNumber(QStringView text)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool pastPoint = false;
    for (const QChar c : text) {
        if (c == u'.') {
            if (pastPoint)
                break;
            pastPoint = true;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits > 15)
                return std::nullopt;
            mantissa = mantissa * 10 + (c.unicode() - u'0');
            decimals += pastPoint ? 1 : 0;
        }
    }
    return double(mantissa) / powersOfTen[decimals];
}

// The same number for texts with more digits.
double readKeptNumber(QStringView text)
{
    std::string kept;
    for (const QChar c : text) {
        if ((c >= u'0' && c <= u'9') || c == u'.')
            kept.push_back(static_cast<char>(c.unicode()));
    }
    std::string number;
    const size_t i = appendDigits(kept, 0, number);
    if (i < kept.size() && kept[i] == '.') {
        number.push_back('.');
        appendDigits(kept, i + 1, number);
    }
    if (number.front() == '.')
        number.insert(number.begin(), '0');
    return parseDecimal(number);
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

QString groupThousands(const std::string &integerDigits)
{
    QString grouped;
    grouped.reserve(static_cast<qsizetype>(integerDigits.size() + integerDigits.size() / 3));
    const size_t count = integerDigits.size();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            grouped.append(u',');
        grouped.append(QLatin1Char(integerDigits[i]));
    }
    return grouped;
}

}

namespace Money {

double readLeadingNumber(QStringView text)
{
    return readCompactNumber(compactAscii(text));
}

double readRawEntry(QStringView text)
{
    std::string s = compactAscii(text);
    bool parenthesised = false;
    if (!s.empty() && s.front() == '(') {
        parenthesised = true;
        s.erase(s.begin());
    }

    std::string plain;
    plain.reserve(s.size());
    bool pastPoint = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool afterDigit = i > 0 && isDigit(s[i - 1]);
        if (s[i] == ',' && afterDigit && !pastPoint) {
            const CommaRole role = commaRole(s, i);
            if (role == CommaRole::GroupSeparator)
                continue;
            if (role == CommaRole::DecimalComma) {
                plain.push_back('.');
                continue;
            }
        }
        pastPoint = pastPoint || s[i] == '.';
        plain.push_back(s[i]);
    }

    const double value = readCompactNumber(plain);
    return parenthesised ? -value : value;
}

double ReadMoneyValue(QStringView text)
{
    const std::optional<double> exact = exactKeptNumber(text);
    const double value = exact ? *exact : readKeptNumber(text);
    return startsNegative(text) ? -value : value;
}

bool holdsAmount(QStringView text)
{
    static const QRegularExpression amount(
        QStringLiteral(R"(^\s*\(?\s*-?\s*\$?\s*-?\s*(\d[\d,]*(\.\d*)?|\.\d+)\s*\)?\s*$)"));
    return amount.match(text).hasMatch();
}

QString moneyText(double value)
{
    if (std::isnan(value))
        value = 0.0;
    if (std::isinf(value))
        value = std::copysign(std::numeric_limits<double>::max(), value);

    // The shortest decimal that reads back as this double is the number the user typed
    // (or the sum of such numbers), so rounding it digit by digit rounds 1.005 to 1.01
    // where rounding the binary value would give 1.00.
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    const std::string decimal(buffer, result.ptr);
    const size_t point = decimal.find('.');
    std::string integerDigits = decimal.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : decimal.substr(point + 1);
    fraction.resize(std::max<size_t>(fraction.size(), 3), '0');

    std::string amount = integerDigits + fraction.substr(0, 2);
    if (fraction[2] >= '5')
        incrementDigits(amount);
    integerDigits = amount.substr(0, amount.size() - 2);
    const std::string cents = amount.substr(amount.size() - 2);

    const bool isZero = amount.find_first_not_of('0') == std::string::npos;
    const QString text = QLatin1String("$") + groupThousands(integerDigits) + u'.'
        + QLatin1String(cents.data(), static_cast<qsizetype>(cents.size()));
    return value < 0 && !isZero ? u'(' + text + u')' : text;
}

QString plainNumberText(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");
    return QString::number(value, 'G', 15);
}

}
