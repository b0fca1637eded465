#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>
#include <QStringList>

// The payees' lien waivers: one of each kind for a payee and a draw, asked for and then
// received, with the signed paper once it is kept with the estimate.
namespace LienWaivers {
QString kindName(LienWaiver::Kind kind);
QString statusName(LienWaiver::Status status);

// The waivers' columns, and a waiver's texts in them.
QStringList registerTitles();
QStringList registerTexts(const LienWaiver &waiver);

// The payee's waivers, in the order of the draws.
QList<LienWaiver> of(const EstimateHistory &history, int payee);
const LienWaiver *find(const EstimateHistory &history, int payee, int draw, LienWaiver::Kind kind);

// Whether a waiver may be for this amount: nothing or more, as a waiver gives up a claim.
bool checkAmount(Cents amount, QString *errorString = nullptr);
// Adds a waiver for a payee and a draw the estimate holds, of a kind the payee has none of
// for that draw yet.
bool add(EstimateHistory &history, const LienWaiver &waiver, QString *errorString = nullptr);
bool remove(EstimateHistory &history, int payee, int draw, LienWaiver::Kind kind, QString *errorString = nullptr);
// Marks the waiver of received's payee, draw and kind received, with the amount, the
// through-date and the signed paper it came with, which may differ from what was asked for.
bool markReceived(EstimateHistory &history, const LienWaiver &received, QString *errorString = nullptr);
}
