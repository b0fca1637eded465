#pragma once

#include "core/sheet/moneycents.h"
#include "estimatehistory.h"

#include <QDate>
#include <QString>

class Grid;
struct DrawRequest;
class HeaderFields;

// Where the construction loan stands, from its record and the draws: what the lender funded
// and holds back, what the owner paid beside it, and whether what is left can still finish
// the house. All in whole cents.
struct LoanFigures
{
    // The commitment; zero where no loan is recorded.
    Cents commitment = 0;
    // What the recorded draws asked of the loan, each amount once: their current payments due,
    // less what one asked again of a draw before it that the lender did not pay.
    Cents requested = 0;
    // What of that the lender has not funded and the owner has not paid: draws not funded yet,
    // a shortfall carried, a draw returned and not asked again.
    Cents notFunded = 0;
    // What the lender funded of them, its fees and interest withheld included.
    Cents funded = 0;
    Cents feesWithheld = 0;
    Cents undisbursed = 0;
    // The retainage of the last request, which the lender still holds.
    Cents retainageHeld = 0;
    // The drawn balance times the rate over twelve, for each whole month since each funding.
    Cents interestToDate = 0;
    // Paid by the owner: before the first draw, typed into the previous payments since, and
    // the shortfalls of draws funded short that the owner paid.
    Cents ownerCash = 0;
    // What is left to pay of the adjusted estimates, the pending change orders included.
    Cents costToComplete = 0;
    // What the owner must deposit before the lender funds again; zero while in balance.
    Cents outOfBalance = 0;

    static LoanFigures of(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                          const QDate &asOf);

    // The drawn balance times the rate over twelve, for each whole month since each funding.
    static Cents interestOn(const EstimateHistory &history, const QDate &asOf);
    // What is left to pay of the adjusted estimates, the next request's included, with the
    // pending change orders.
    static Cents costToCompleteOf(const DrawRequest &next, const EstimateHistory &history);
    // What the cost to complete exceeds the undisbursed loan and the owner's funds set aside
    // by; zero where no loan is recorded.
    static Cents outOfBalanceOf(const DrawRequest &next, const EstimateHistory &history);

    // "Out of balance by $X: ..." where the loan is out of balance; empty otherwise.
    QString balanceText() const;
};
