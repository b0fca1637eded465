#pragma once

#include <QList>
#include <QStringList>

class EstimateSheet;
class Grid;

// The monthly draw: once the "Current Amounts to be Paid" are paid, each of them is added
// into its row's "Total of Previous Payment", so that the next month starts from an empty
// column of current amounts. The arithmetic is the sheet's own, on the texts it shows.
namespace CurrentPayments {
// The item rows whose current amount can be recorded: the current amount holds an amount,
// and the previous payment holds one too or is empty. A note in either cell ("TBD") keeps
// the row as it is, since adding to it would lose what the user wrote.
QList<int> recordableRows(const Grid &grid);
// A draw pays something: a recordable row's current amount is above zero. A draw of $0.00
// would go to the lender as a request for nothing.
bool holdsPayment(const Grid &grid);

// The rows with a current amount that is not recorded, each with the reason, as the question
// names them: "row 3 is left out: its previous payment is not an amount".
QStringList leftOutRows(const Grid &grid);

// Adds each row's current amount into its previous payment as money text, in whole cents as
// a draw records them, empties the current amount, recalculates the row and then the totals.
// The current cell is kept.
void record(EstimateSheet &sheet, const QList<int> &rows);
}
