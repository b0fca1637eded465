#include "drawrequest.h"

#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/moneycents.h"
#include "drawsnapshot.h"
#include "loanfigures.h"

#include <QHash>

namespace {
QString oneLine(const QString &text)
{
    return text.simplified();
}

QString descriptionOf(const RowTexts &texts)
{
    const QString description = oneLine(texts.description);
    const QString supplier = oneLine(texts.supplier);
    if (supplier.isEmpty())
        return description;
    if (description.isEmpty())
        return supplier;
    return QStringLiteral("%1 (%2)").arg(description, supplier);
}

// What a row's draws paid, row by row.
using RowAmounts = QHash<int, Cents>;

void addPaid(RowAmounts &paid, const Draw &draw)
{
    for (const DrawLine &line : draw.lines)
        paid[line.row] += line.paid;
}

// Line 5 of an application: the retainage of the work the loan paid for, line by line, at
// the rate given.
Cents retainageOf(const RowAmounts &loanWork, int basisPoints)
{
    Cents retained = 0;
    for (auto work = loanWork.cbegin(); work != loanWork.cend(); ++work)
        retained += MoneyCents::share(work.value(), basisPoints);
    return retained;
}

// What of a request the lender did not pay and the next request asks for again: the
// shortfall of a draw funded short, or the whole of one returned. A draw not yet funded is
// taken as paid in full, as it was asked.
Cents carriedOf(const Draw &draw, Cents requested)
{
    if (!draw.funding)
        return 0;
    switch (draw.funding->state) {
    case DrawFunding::State::Returned:
        return requested;
    case DrawFunding::State::Funded:
        return draw.funding->shortfall == DrawFunding::Shortfall::Carried ? requested - draw.funding->fundedAmount : 0;
    case DrawFunding::State::Requested:
    case DrawFunding::State::Submitted:
        return 0;
    }
    return 0;
}

DrawRequest requestOf(const Grid &grid, const HeaderFields &header, const Draw &draw, const RowAmounts &loanWork,
                      Cents paidBefore)
{
    DrawRequest request;
    request.applicationNumber = draw.number;
    request.periodTo = draw.date;
    // A draw recorded before its texts were kept with it names the work as the sheet does now.
    const DrawParties parties = draw.parties.value_or(DrawRequest::partiesOf(header));
    request.owner = parties.owner;
    request.address = parties.address;
    request.builder = parties.builder;
    request.retainageBasisPoints = draw.retainageBasisPoints;
    // The lender holds retainage on the work it pays for, not on what the owner paid: before
    // its first draw, or typed into the previous payments by hand since. Whatever the rates,
    // the payments due add up to the work the loan paid once the retainage is released.
    Cents ownerPaid = 0;
    for (const DrawLine &line : draw.lines) {
        const RowTexts texts = line.texts ? *line.texts : DrawSnapshot::textsOf(grid, line.row);
        DrawRequestLine requested{
            line.row, descriptionOf(texts), line.originalValue, line.scheduledValue, line.previousPayments, line.paid};
        requested.openingBalance = line.previousPayments - loanWork.value(line.row);
        requested.retainage =
            MoneyCents::share(requested.completedToDate() - requested.openingBalance, draw.retainageBasisPoints);
        ownerPaid += requested.openingBalance;
        request.lines << requested;
    }
    // Line 7: what the owner paid and what the loan paid of the requests before.
    request.previousPayments = ownerPaid + paidBefore;
    request.retainageOnPreviousWork = retainageOf(loanWork, draw.retainageBasisPoints);
    return request;
}

// The requests of the first count draws, each worked out from the ones before it as they
// went out and as the lender paid them.
QList<DrawRequest> requestsOf(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                              const QList<Draw> &draws, qsizetype count)
{
    QList<DrawRequest> requests;
    RowAmounts loanWork;
    Cents paidBefore = 0;
    Cents firstOpening = 0;
    for (qsizetype index = 0; index < count; ++index) {
        const Draw &draw = draws.at(index);
        DrawRequest request = requestOf(grid, header, draw, loanWork, paidBefore);
        if (index == 0)
            firstOpening = request.openingBalance();
        request.ownerPaidByHand = request.openingBalance() - firstOpening;
        if (index > 0) {
            const Draw &previous = draws.at(index - 1);
            request.periodFrom = previous.date.addDays(1);
            request.previousRetainage = requests.last().retainage();
            const Cents carried = carriedOf(previous, requests.last().currentPaymentDue());
            if (carried != 0)
                request.carriedShortfall = {previous.number, carried};
        }
        request.changeOrders =
            ChangeOrderSummary::of(history.changeOrders, draw.number, request.periodFrom, request.periodTo);
        paidBefore += request.currentPaymentDue() - carriedOf(draw, request.currentPaymentDue());
        addPaid(loanWork, draw);
        requests << request;
    }
    return requests;
}
}

QList<DrawRequest> DrawRequest::allWithNext(const Grid &grid, const HeaderFields &header,
                                            const EstimateHistory &history, const QDate &periodTo)
{
    const Draw draw{history.nextDrawNumber(),
                    periodTo,
                    {},
                    history.retainageBasisPoints,
                    DrawSnapshot::linesOf(grid, CurrentPayments::recordableRows(grid)),
                    partiesOf(header),
                    {},
                    std::nullopt};
    QList<Draw> draws = history.draws;
    draws.append(draw);
    QList<DrawRequest> requests = requestsOf(grid, header, history, draws, draws.size());
    requests.last().outOfBalance = LoanFigures::outOfBalanceOf(requests.last(), history);
    return requests;
}

QDate DrawRequest::nextDate(const EstimateHistory &history, const QDate &today)
{
    return history.draws.isEmpty() ? today : std::max(today, history.draws.last().date);
}

DrawRequest DrawRequest::next(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                              const QDate &periodTo)
{
    return allWithNext(grid, header, history, periodTo).last();
}

Cents DrawRequest::retainageHeld(const Grid &grid, const HeaderFields &header, const EstimateHistory &history)
{
    const std::optional<DrawRequest> last = recorded(grid, header, history, int(history.draws.size()));
    return last ? last->retainage() : 0;
}

std::optional<DrawRequest> DrawRequest::recorded(const Grid &grid, const HeaderFields &header,
                                                 const EstimateHistory &history, int number, QString *errorString)
{
    if (number < 1 || number > history.draws.size()) {
        if (errorString)
            *errorString = history.draws.isEmpty()
                ? QStringLiteral("it has no recorded draws")
                : QStringLiteral("it has no draw %1: its draws are 1 to %2").arg(number).arg(history.draws.size());
        return std::nullopt;
    }
    return requestsOf(grid, header, history, history.draws, number).last();
}

QList<DrawRequest> DrawRequest::allRecorded(const Grid &grid, const HeaderFields &header,
                                            const EstimateHistory &history)
{
    return requestsOf(grid, header, history, history.draws, history.draws.size());
}

Cents DrawRequest::retainageReleased() const
{
    return qMax(Cents(0), previousRetainage - retainageOnPreviousWork);
}

Cents DrawRequest::openingBalance() const
{
    Cents opening = 0;
    for (const DrawRequestLine &line : lines)
        opening += line.openingBalance;
    return opening;
}

QStringList DrawRequest::notes() const
{
    QStringList notes;
    const Cents beforeFirstDraw = openingBalance() - ownerPaidByHand;
    if (beforeFirstDraw != 0 && retainageBasisPoints != 0)
        notes << QStringLiteral("Retainage is held on the work the loan pays for: none is held on the %1 paid before "
                                "the first draw.")
                     .arg(MoneyCents::text(beforeFirstDraw));
    if (ownerPaidByHand != 0)
        notes << QStringLiteral("Paid by the owner outside the loan since the first draw: %1. It is counted in the "
                                "previous payments and not asked of the loan.")
                     .arg(MoneyCents::text(ownerPaidByHand));
    if (carriedShortfall)
        notes << QStringLiteral("Not paid by the lender on draw %1 and asked again here: %2")
                     .arg(carriedShortfall->draw)
                     .arg(MoneyCents::text(carriedShortfall->amount));
    if (outOfBalance > 0)
        notes << QStringLiteral("Out of balance by %1: a deposit of %1 is needed to finish")
                     .arg(MoneyCents::text(outOfBalance));
    if (changeOrders.fromContingencyThisPeriod != 0)
        notes << QStringLiteral("Moved from the contingency into the rows that used it this period: %1. The sum is "
                                "unchanged.")
                     .arg(MoneyCents::text(changeOrders.fromContingencyThisPeriod));
    if (retainageReleased() > 0)
        notes << QStringLiteral("Retainage released this period: %1").arg(MoneyCents::text(retainageReleased()));
    return notes;
}

QString DrawRequest::periodText() const
{
    const auto dateText = [](const QDate &date) { return date.toString(QStringLiteral("MMMM d, yyyy")); };
    return QStringLiteral("%1 to %2")
        .arg(periodFrom.isValid() ? dateText(periodFrom) : QStringLiteral("the start of the work"), dateText(periodTo));
}

DrawParties DrawRequest::partiesOf(const HeaderFields &header)
{
    return {header.text(HeaderFields::Name), header.text(HeaderFields::Address), header.text(HeaderFields::Builder)};
}

QStringList DrawRequest::columnCaptions()
{
    return {QStringLiteral("Item No."),
            QStringLiteral("Description of Work"),
            QStringLiteral("Scheduled Value"),
            QStringLiteral("Work Completed From Previous Application"),
            QStringLiteral("Work Completed This Period"),
            QStringLiteral("Materials Presently Stored"),
            QStringLiteral("Total Completed and Stored to Date"),
            QStringLiteral("% (G / C)"),
            QStringLiteral("Balance to Finish (C - G)"),
            QStringLiteral("Retainage")};
}

QStringList DrawRequest::textsOf(const DrawRequestLine &line)
{
    return {line.row > 0 ? QString::number(line.row) : QString(),
            line.description,
            MoneyCents::text(line.scheduledValue),
            MoneyCents::text(line.previousApplications),
            MoneyCents::text(line.thisPeriod),
            MoneyCents::text(line.storedMaterials),
            MoneyCents::text(line.completedToDate()),
            MoneyCents::percentText(line.completedToDate(), line.scheduledValue),
            MoneyCents::text(line.balanceToFinish()),
            MoneyCents::text(line.retainage)};
}

QList<DrawRequest::SummaryLine> DrawRequest::summary() const
{
    return {
        {QStringLiteral("1"), QStringLiteral("Original Sum"), originalSum()},
        {QStringLiteral("2"), QStringLiteral("Net Change by Change Orders"), netChangeByChangeOrders()},
        {QStringLiteral("2a"), QStringLiteral("Other Adjustments (Adjusted Estimates Changed without a Change Order)"),
         otherAdjustments()},
        {QStringLiteral("3"), QStringLiteral("Sum to Date (Line 1 + 2 + 2a)"), sumToDate()},
        {QStringLiteral("4"), QStringLiteral("Total Completed and Stored to Date"), completedToDate()},
        {QStringLiteral("5"),
         (ownerPaidByHand != 0 ? QStringLiteral("Retainage (%1 of Line 4 less the owner's payments, line by line)")
              : openingBalance() != 0
              ? QStringLiteral("Retainage (%1 of Line 4 less the opening balance, line by line)")
              : QStringLiteral("Retainage (%1 of Line 4, line by line)"))
             .arg(MoneyCents::rateText(retainageBasisPoints)),
         retainage()},
        {QStringLiteral("6"), QStringLiteral("Total Earned Less Retainage (Line 4 - 5)"), earnedLessRetainage()},
        {QStringLiteral("7"), QStringLiteral("Less Previous Payments (Line 6 of the Previous Application)"),
         previousPayments},
        {QStringLiteral("8"), QStringLiteral("Current Payment Due (Line 6 - 7)"), currentPaymentDue()},
        {QStringLiteral("9"), QStringLiteral("Balance to Finish, Including Retainage (Line 3 - 6)"), balanceToFinish()},
    };
}

DrawRequestLine DrawRequest::total() const
{
    DrawRequestLine total;
    total.description = QStringLiteral("Total");
    for (const DrawRequestLine &line : lines) {
        total.originalValue += line.originalValue;
        total.scheduledValue += line.scheduledValue;
        total.previousApplications += line.previousApplications;
        total.thisPeriod += line.thisPeriod;
        total.storedMaterials += line.storedMaterials;
        total.openingBalance += line.openingBalance;
        total.retainage += line.retainage;
    }
    return total;
}
