#include "moneycents.h"

#include "money.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {
constexpr double LimitDollars = double(MoneyCents::Limit / 100);
constexpr int BasisPointsPerWhole = 10000;

QString groupedDigits(Cents whole)
{
    const QString digits = QString::number(whole);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u',';
        grouped += digits.at(i);
    }
    return grouped;
}
}

namespace MoneyCents {

Cents fromText(QStringView text)
{
    return fromValue(Money::ReadMoneyValue(text));
}

Cents fromValue(double value)
{
    // Less than a tenth of a cent cannot round to one; such numbers would also be long to write.
    if (!std::isfinite(value) || std::fabs(value) < 0.001)
        return 0;
    const double magnitude = std::min(std::fabs(value), LimitDollars);
    // The shortest decimal that reads back as the double is the number as typed, so rounding
    // its digits rounds 1.005 to 1.01, as the money text does.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
    const std::string_view decimal(buffer, size_t(written.ptr - buffer));
    const size_t point = decimal.find('.');
    Cents cents = 0;
    for (const char digit : decimal.substr(0, point))
        cents = cents * 10 + (digit - '0');
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : decimal.substr(point + 1);
    for (size_t i = 0; i < 2; ++i)
        cents = cents * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    if (fraction.size() > 2 && fraction[2] >= '5')
        ++cents;
    return value < 0 ? -cents : cents;
}

QString text(Cents cents)
{
    const Cents magnitude = cents < 0 ? -cents : cents;
    const QString amount =
        QStringLiteral("$%1.%2").arg(groupedDigits(magnitude / 100)).arg(int(magnitude % 100), 2, 10, QLatin1Char('0'));
    return cents < 0 ? u'(' + amount + u')' : amount;
}

QString spokenText(QStringView shown)
{
    if (shown.size() > 2 && shown.startsWith(u'(') && shown.endsWith(u')'))
        return QStringLiteral("minus ") + shown.sliced(1, shown.size() - 2).toString();
    return shown.toString();
}

QString spokenText(Cents cents)
{
    return spokenText(text(cents));
}

Cents share(Cents amount, int basisPoints)
{
    // In two parts, so that no product leaves the range of the cents.
    const Cents magnitude = amount < 0 ? -amount : amount;
    const Cents whole = magnitude / BasisPointsPerWhole * basisPoints;
    const Cents rest = (magnitude % BasisPointsPerWhole * basisPoints + BasisPointsPerWhole / 2) / BasisPointsPerWhole;
    return amount < 0 ? -(whole + rest) : whole + rest;
}

QString rateText(int basisPoints)
{
    return QStringLiteral("%1.%2%").arg(basisPoints / 100).arg(basisPoints % 100, 2, 10, QLatin1Char('0'));
}

QString percentText(Cents part, Cents whole, int decimals, QStringView sign)
{
    if (whole == 0)
        return {};
    return QString::number(double(part) * 100.0 / double(whole), 'f', decimals).append(sign);
}

}
