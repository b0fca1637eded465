#pragma once

#include "estimatehistory.h"

#include <QDate>
#include <QList>
#include <QStringList>

class Grid;
class HeaderFields;

// The loan's book draw by draw, as a lender's statement gives it: what each draw asked,
// what the lender funded and withheld, the retainage it held and released, what the owner
// paid beside it, and what was left of the loan after it; then the totals.
struct LoanStatement
{
    struct Line
    {
        int draw = 0;
        QDate date;
        QString state;
        QDate funded;
        Cents requested = 0;
        Cents fundedAmount = 0;
        Cents feesWithheld = 0;
        Cents retainageHeld = 0;
        Cents retainageReleased = 0;
        Cents ownerCash = 0;
        // Nothing where no loan is recorded.
        std::optional<Cents> undisbursedAfter;
    };

    QList<Line> lines;
    Cents interestToDate = 0;
    // The day the statement runs to, for the interest to date.
    QDate asOf;

    static LoanStatement of(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                            const QDate &asOf);

    // "requested", "submitted", "funded" or "returned".
    static QString stateName(DrawFunding::State state);
    static QStringList columnTitles();
    static QStringList textsOf(const Line &line);
    // The Total line: the sums, with the retainage held and undisbursed after the last draw.
    Line total() const;
};
