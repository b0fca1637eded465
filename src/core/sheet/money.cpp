#include "money.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

enum class Separator { Blank, Comma, Point };

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The blanks that may group thousands: a space as typed, and the no-break spaces that
// spreadsheets and other locales put there.
bool isGroupBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

bool isBlank(QChar c)
{
    return isGroupBlank(c) || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isNumberCharacter(QChar c)
{
    return isDigit(c) || c == u',' || c == u'.' || isGroupBlank(c);
}

Separator separatorOf(QChar c)
{
    return c == u',' ? Separator::Comma : c == u'.' ? Separator::Point : Separator::Blank;
}

// A number's digits, split into runs by its separators.
class NumberLayout
{
public:
    explicit NumberLayout(QStringView body)
        : m_body(body)
    {
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (!isDigit(body[i]))
                m_separators.append(i);
        }
    }

    qsizetype separatorCount() const { return m_separators.size(); }
    qsizetype position(qsizetype separator) const { return m_separators[separator]; }
    Separator kind(qsizetype separator) const { return separatorOf(m_body[m_separators[separator]]); }

    // The digits between separator run - 1 and separator run.
    qsizetype runLength(qsizetype run) const
    {
        const qsizetype from = run == 0 ? 0 : m_separators[run - 1] + 1;
        const qsizetype to = run == separatorCount() ? m_body.size() : m_separators[run];
        return to - from;
    }

    qsizetype count(Separator separator) const
    {
        qsizetype found = 0;
        for (qsizetype i = 0; i < separatorCount(); ++i)
            found += kind(i) == separator;
        return found;
    }

    bool hasDigits() const { return m_body.size() > separatorCount(); }
    bool startsWithZero() const { return !m_body.isEmpty() && m_body.front() == u'0'; }

    // The last separator, when it is the decimal one: before one or two last digits, the one
    // of its kind after those of the other kind, or a point standing alone.
    std::optional<qsizetype> decimalSeparator() const
    {
        const qsizetype last = separatorCount() - 1;
        if (last < 0 || kind(last) == Separator::Blank)
            return std::nullopt;
        const Separator decimal = kind(last);
        const Separator other = decimal == Separator::Comma ? Separator::Point : Separator::Comma;
        const bool alone = count(decimal) == 1;
        const qsizetype cents = runLength(last + 1);
        if ((alone && count(other) > 0) || cents == 1 || cents == 2 || (alone && decimal == Separator::Point))
            return last;
        return std::nullopt;
    }

    // The separators before the decimal one group thousands: all of one kind, a first group
    // of one to three digits that does not start with 0, then groups of three.
    bool groupsThousands(qsizetype groupSeparators) const
    {
        if (groupSeparators == 0)
            return true;
        if (runLength(0) < 1 || runLength(0) > 3 || startsWithZero())
            return false;
        for (qsizetype i = 0; i < groupSeparators; ++i) {
            if (kind(i) != kind(0) || runLength(i + 1) != 3)
                return false;
        }
        return true;
    }

private:
    QStringView m_body;
    QVarLengthArray<qsizetype, 8> m_separators;
};

// The value of digits with the decimal separator at the given place. Up to 15 digits, digits
// and power of ten are exact doubles, and their quotient is the correctly rounded value, as
// from_chars would give it, at a fraction of the cost: money texts are read over and over
// as the totals are added up. A number too large to hold is no amount.
std::optional<double> valueOf(QStringView body, std::optional<qsizetype> decimalAt)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    for (qsizetype i = 0; i < body.size() && digits <= 15; ++i) {
        if (isDigit(body[i])) {
            ++digits;
            mantissa = mantissa * 10 + (body[i].unicode() - u'0');
            decimals += decimalAt && i > *decimalAt;
        }
    }
    if (digits <= 15)
        return double(mantissa) / powersOfTen[decimals];

    std::string number;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (isDigit(body[i]))
            number.push_back(static_cast<char>(body[i].unicode()));
        else if (decimalAt && i == *decimalAt)
            number.push_back('.');
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The magnitude a run of digits and separators stands for, when it is one number.
std::optional<double> readNumber(QStringView body)
{
    const NumberLayout layout(body);
    if (!layout.hasDigits())
        return std::nullopt;
    for (qsizetype i = 1; i < layout.separatorCount(); ++i) {
        if (layout.position(i) == layout.position(i - 1) + 1)
            return std::nullopt;
    }
    const std::optional<qsizetype> decimal = layout.decimalSeparator();
    const qsizetype groupSeparators = layout.separatorCount() - (decimal ? 1 : 0);
    if (!layout.groupsThousands(groupSeparators))
        return std::nullopt;
    // Nothing after the decimal separator is a whole number written with a point ("5."); a
    // comma there ends a list rather than a number.
    const bool bareDecimal = decimal && layout.runLength(*decimal + 1) == 0;
    if (bareDecimal && layout.kind(*decimal) != Separator::Point)
        return std::nullopt;
    return valueOf(body, decimal ? std::optional<qsizetype>(layout.position(*decimal)) : std::nullopt);
}

// Reads an amount from left to right: the currency sign, an opening parenthesis, a sign, the
// currency sign where it did not come first (a sign may come after it instead), the number, a
// trailing minus sign, the closing parenthesis, with blanks between.
class AmountReader
{
public:
    explicit AmountReader(QStringView text)
        : m_text(text)
    {
    }

    std::optional<double> read()
    {
        skipBlanks();
        // Spreadsheets' accounting format puts the currency sign before the parentheses of a
        // credit: " $(250.00)", " $ (250.00)".
        const bool currencyFirst = take(u'$');
        const bool parenthesised = take(u'(');
        bool negative = false;
        const bool signedAlready = takeSign(negative);
        if (!currencyFirst && take(u'$') && !signedAlready)
            takeSign(negative);
        const qsizetype start = m_at;
        while (m_at < m_text.size() && isNumberCharacter(m_text[m_at]))
            ++m_at;
        QStringView body = m_text.mid(start, m_at - start);
        while (!body.isEmpty() && isGroupBlank(body.back()))
            body.chop(1);
        skipBlanks();
        // Bookkeeping and some spreadsheets write a credit with its minus sign behind ("1,500-").
        if (!parenthesised && !negative && take(u'-'))
            negative = true;
        // A credit is written with a minus sign or in parentheses; the closing one is often
        // left off while typing.
        if (parenthesised)
            take(u')');
        if (m_at != m_text.size() || (parenthesised && negative))
            return std::nullopt;
        const std::optional<double> magnitude = readNumber(body);
        if (!magnitude)
            return std::nullopt;
        return parenthesised || negative ? -*magnitude : *magnitude;
    }

private:
    void skipBlanks()
    {
        while (m_at < m_text.size() && isBlank(m_text[m_at]))
            ++m_at;
    }

    bool take(QChar c)
    {
        if (m_at == m_text.size() || m_text[m_at] != c)
            return false;
        ++m_at;
        skipBlanks();
        return true;
    }

    bool takeSign(bool &negative)
    {
        if (take(u'-')) {
            negative = true;
            return true;
        }
        return take(u'+');
    }

    QStringView m_text;
    qsizetype m_at = 0;
};

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

std::optional<double> readAmount(QStringView text)
{
    return AmountReader(text).read();
}

double ReadMoneyValue(QStringView text)
{
    return readAmount(text).value_or(0.0);
}

bool holdsAmount(QStringView text)
{
    return readAmount(text).has_value();
}

bool holdsNote(QStringView text)
{
    return !holdsAmount(text) && !std::all_of(text.begin(), text.end(), isBlank);
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
