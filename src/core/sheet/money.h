#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Arithmetic on the texts of money cells. The sheet stores nothing but text, so every
// amount is read back out of the text it shows. Money text is always the US currency
// form ($1,234.50, negative amounts in parentheses), whatever the user's locale: files
// store these texts and must mean the same on every machine.
namespace Money {

// The amount a text means, read the same whether it was typed, pasted or stored: money
// text ("$1,234.50", "($75.00)"), amounts as people write them ("1500", "-50", "(50)",
// "1,500", "1234,56", "1.234,56", "1 234,56") and credits as spreadsheets and bookkeepers
// write them ("$(250.00)", "$ (250.00)", "1,500-"). A comma or a point before one or two last
// digits, or the one separator of its kind after those of the other kind, is the decimal
// one; a point standing alone is always; other separators group thousands by three. Any
// other text ("TBD", "call 555-1234", "100-25") is a note and holds no amount; so does
// empty text.
std::optional<double> readAmount(QStringView text);

// The value a money cell counts with: its amount, or 0 for a note or an empty cell.
double ReadMoneyValue(QStringView text);

bool holdsAmount(QStringView text);

// True for a text that is written but holds no amount: it counts as nothing and is shown as
// what it is.
bool holdsNote(QStringView text);

// The currency text of an amount, rounded to cents as a person rounds the decimal
// number (half a cent away from zero).
QString moneyText(double value);

// The plain number the cell editor shows for an amount: up to 15 significant digits,
// no currency sign, no thousands separators, a point and a leading minus sign.
QString plainNumberText(double value);

}
