#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Amounts in whole cents, for the history and the draw request. A cell's text is read once,
// as the sheet reads it, and rounded to the cent as its money text rounds it (half a cent
// away from zero); from then on amounts are only added, so a request never is a cent off
// its lines.
using Cents = std::int64_t;

namespace MoneyCents {
// The largest amount a cell holds for the request, a hundred trillion dollars: the sums of
// a request's lines stay far inside what the cents can count.
inline constexpr Cents Limit = Cents(10'000'000'000'000'000);

// The amount a cell's text shows, as the sheet reads it; a note reads as nothing.
Cents fromText(QStringView text);
Cents fromValue(double value);

// Money text: $1,234.50, negative amounts in parentheses.
QString text(Cents cents);

// Money text as a screen reader is to say it: the parentheses of a negative amount, which
// speech leaves out or reads as punctuation, become "minus ".
QString spokenText(QStringView shown);
QString spokenText(Cents cents);

// The share of an amount at a rate in hundredths of a percent, to the cent, half a cent away
// from zero.
Cents share(Cents amount, int basisPoints);

// A rate in hundredths of a percent as people write it: "10.00%".
QString rateText(int basisPoints);

// part / whole as a percentage with two decimals and the sign ("45.00%"), or as many decimals
// and the sign as given ("45.0 %"); empty where whole is zero.
QString percentText(Cents part, Cents whole, int decimals = 2, QStringView sign = u"%");
}
