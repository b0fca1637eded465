#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>

// How a draw line's payment goes to the payees of its row. A line that names no shares went
// whole to the row's first payee, so that a row with one payee needs no split at all.
namespace PayeeShares {
// The payees of a row, in the order of the estimate's list.
QList<int> payeesOf(const QList<Payee> &payees, int row);

// The line's shares as they stand: its own, or the whole payment to the row's first payee;
// nothing where the row has no payee or the line pays nothing.
QList<PayeeShare> of(const DrawLine &line, const QList<Payee> &payees);

// Whether shares may split the line's payment: each names a payee of the row once, and they
// add up to the payment to the cent.
bool check(const DrawLine &line, const QList<PayeeShare> &shares, const QList<Payee> &payees,
           QString *errorString = nullptr);
}
