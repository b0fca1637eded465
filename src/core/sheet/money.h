#pragma once

#include <QString>
#include <QStringView>

// Arithmetic on the texts of money cells. The sheet stores nothing but text, so every
// amount is read back out of the text it shows. Money text is always the US currency
// form ($1,234.50, negative amounts in parentheses), whatever the user's locale: files
// store these texts and must mean the same on every machine.
namespace Money {

// The value of a money cell's text: only its digits and points count, and a leading
// "(" or "-" makes it negative. "$1,234.50" gives 1234.5, "($75.00)" gives -75.
double ReadMoneyValue(QStringView text);

// True when the text is an amount as people write one: digits with or without the currency
// sign, group commas, cents, a minus sign or parentheses ("$1,234.50", "($75.00)", "1500",
// "-50"); it then means what ReadMoneyValue reads. Any other text ("TBD", "see invoice",
// "$") is a note that holds no amount, though the sheet's arithmetic reads a number from it.
bool holdsAmount(QStringView text);

// The number a raw entry begins with: blanks, tabs and line feeds are ignored, then an
// optional sign, digits with at most one point and an optional exponent (E or D), or
// hexadecimal and octal digits after "&H" and "&O". A text that does not begin with a
// number, or a number too large to hold, reads as 0.
double readLeadingNumber(QStringView text);

// What the user meant by a raw entry such as "1,500", "1234,56" or "(50)": a comma before
// a group of three digits separates thousands, a comma before one or two last digits of a
// number without a point is a decimal comma, any other comma ends the number; a leading
// "(" or "-" makes the amount negative.
double readRawEntry(QStringView text);

// The currency text of an amount, rounded to cents as a person rounds the decimal
// number (half a cent away from zero).
QString moneyText(double value);

// The plain number the cell editor shows for an amount: up to 15 significant digits,
// no currency sign, no thousands separators, a point and a leading minus sign.
QString plainNumberText(double value);

}
