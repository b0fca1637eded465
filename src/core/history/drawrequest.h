#pragma once

#include "changeordersummary.h"
#include "estimatehistory.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Grid;
class HeaderFields;

// One line of the continuation sheet: an item row of the draw.
struct DrawRequestLine
{
    int row = 0;
    // The category or description, with the supplier.
    QString description;
    Cents originalValue = 0;
    // C
    Cents scheduledValue = 0;
    // D: work completed from the previous applications.
    Cents previousApplications = 0;
    // E: work completed this period.
    Cents thisPeriod = 0;
    // F: VARN does not track stored materials; the column is there so the form is the one
    // lenders know.
    Cents storedMaterials = 0;
    // What the owner paid of the row, not the loan: before the loan's first draw, and typed
    // into the previous payments by hand since. No retainage is held on it.
    Cents openingBalance = 0;
    // (G - the opening balance) times the rate, to the cent.
    Cents retainage = 0;

    // G = D + E + F
    Cents completedToDate() const { return previousApplications + thisPeriod + storedMaterials; }
    // H = C - G
    Cents balanceToFinish() const { return scheduledValue - completedToDate(); }
};

// The Draw Request a lender asks for: the continuation sheet, one line for each item row
// that holds an amount, and the summary of the application, all in whole cents. The
// retainage of each line is G, less the line's opening balance, times the rate, to the cent,
// and the summary's retainage is their sum, so that the summary and the Total line agree to
// the cent.
struct DrawRequest
{
    int applicationNumber = 0;
    // The period runs from the day after the previous draw; the first one's from the start.
    QDate periodFrom;
    QDate periodTo;
    QString owner;
    QString address;
    QString builder;
    int retainageBasisPoints = 0;
    QList<DrawRequestLine> lines;
    // Line 7: line 6 of the previous application; for the first draw, the opening balance
    // (the payments made before it) in full, which holds no retainage.
    Cents previousPayments = 0;
    // Line 5 of the previous application, and the retainage at this one's rate on the same
    // work: a lower rate releases the difference.
    Cents previousRetainage = 0;
    Cents retainageOnPreviousWork = 0;
    // What the owner typed into the previous payments since the first draw: paid outside
    // the loan, counted in line 7 and not asked of the loan.
    Cents ownerPaidByHand = 0;
    // What the lender did not pay of the previous request, which this one asks for again:
    // a draw funded short, or one returned.
    struct Carried
    {
        int draw = 0;
        Cents amount = 0;
    };
    std::optional<Carried> carriedShortfall;
    // For the next request: what the owner must deposit before the loan can finish the house.
    Cents outOfBalance = 0;
    // The change orders in force at the end of the period: line 2.
    ChangeOrderSummary changeOrders;

    // The next draw's request, from the sheet's current amounts, as Record Current Payments
    // would record them.
    static DrawRequest next(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                            const QDate &periodTo);
    // Recorded draw number's request again, naming the parties and the work as it did when it
    // went out; a draw recorded before they were kept with it names them as the sheet does.
    static std::optional<DrawRequest> recorded(const Grid &grid, const HeaderFields &header,
                                               const EstimateHistory &history, int number,
                                               QString *errorString = nullptr);

    // The date the next request goes out with unless the user gives one: today, or the last
    // draw's date when that is later, as a request never runs backwards.
    static QDate nextDate(const EstimateHistory &history, const QDate &today);
    // Every recorded draw's request and then the next one, worked out in one pass.
    static QList<DrawRequest> allWithNext(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                                          const QDate &periodTo);
    // Every recorded draw's request, in order, worked out at once.
    static QList<DrawRequest> allRecorded(const Grid &grid, const HeaderFields &header, const EstimateHistory &history);

    // What a rate lowered since the previous application releases of the retainage it held.
    Cents retainageReleased() const;
    // What the lender holds back after the last recorded draw: the retainage of its request.
    static Cents retainageHeld(const Grid &grid, const HeaderFields &header, const EstimateHistory &history);
    // What the rows had been paid before the loan's first draw.
    Cents openingBalance() const;
    // What the request says beside its lines: that the opening balance holds no retainage,
    // and what this period releases.
    QStringList notes() const;

    // "December 2, 2026 to January 1, 2027"; the first request's runs from the start of the work.
    QString periodText() const;

    // The parties a request names: the estimate's header fields.
    static DrawParties partiesOf(const HeaderFields &header);

    // The continuation sheet's ten column captions.
    static QStringList columnCaptions();
    // A line's texts under those captions, amounts as money text; the Total line has no
    // item number.
    static QStringList textsOf(const DrawRequestLine &line);

    // The Total line: each column's sum.
    DrawRequestLine total() const;

    struct SummaryLine
    {
        // "1" to "9", and "2a" for the adjustments made without a change order.
        QString number;
        QString caption;
        Cents amount = 0;

        // Line 8, what the request asks for.
        bool isPaymentDue() const { return number == u"8"; }
    };
    // The summary's lines, with their numbers and captions.
    QList<SummaryLine> summary() const;

    // The summary's lines 1 to 9.
    Cents originalSum() const { return total().originalValue; }
    Cents netChangeByChangeOrders() const { return changeOrders.netChange(); }
    // What the adjusted estimates moved by beyond the change orders: typed in by hand.
    Cents otherAdjustments() const { return sumToDate() - originalSum() - netChangeByChangeOrders(); }
    Cents sumToDate() const { return total().scheduledValue; }
    Cents completedToDate() const { return total().completedToDate(); }
    Cents retainage() const { return total().retainage; }
    Cents earnedLessRetainage() const { return completedToDate() - retainage(); }
    Cents currentPaymentDue() const { return earnedLessRetainage() - previousPayments; }
    Cents balanceToFinish() const { return sumToDate() - earnedLessRetainage(); }
};
