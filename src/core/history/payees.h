#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>
#include <QStringList>

// The estimate's list of payees: the subcontractors and suppliers the draws pay. A payee's
// number is given once, so that a draw's shares and a waiver name the same payee for good;
// a payee a draw paid or a waiver names therefore stays in the list.
namespace Payees {
// The list's columns, and a payee's texts in them.
QStringList registerTitles();
QStringList registerTexts(const Payee &payee);

// One past the highest number ever given: a deleted payee's number is not given again.
int nextNumber(const EstimateHistory &history);
// The payee with this number, or null.
const Payee *find(const EstimateHistory &history, int number);

// Whether the payee may stand in the list as it is: it has a name, and works on item rows
// only, each once.
bool check(const Payee &payee, QString *errorString = nullptr);
// Puts payee into the list in place of the one with its number, or adds it. Refused where a
// draw line that names no shares of its own would go to another payee than it went to.
bool put(EstimateHistory &history, const Payee &payee, QString *errorString = nullptr);
// Takes a payee out of the list; refused while a draw paid it or a waiver or a paper names it.
bool remove(EstimateHistory &history, int number, QString *errorString = nullptr);

bool linkRow(EstimateHistory &history, int number, int row, QString *errorString = nullptr);
bool unlinkRow(EstimateHistory &history, int number, int row, QString *errorString = nullptr);
}
