#include "loanfigures.h"

#include "drawrequest.h"

#include <cmath>

namespace {
int wholeMonthsBetween(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid() || to <= from)
        return 0;
    int months = (to.year() - from.year()) * 12 + to.month() - from.month();
    if (to.day() < from.day())
        --months;
    return std::max(0, months);
}

// The interest of an amount for some months at a yearly rate in thousandths of a percent.
Cents interestOf(Cents amount, int rateThousandths, int months)
{
    const long double cents = (long double)(amount)*rateThousandths * months / (100000.0L * 12);
    return Cents(std::llround(cents));
}

Cents fundedOf(const EstimateHistory &history)
{
    Cents funded = 0;
    for (const Draw &draw : history.draws)
        funded += draw.state() == DrawFunding::State::Funded ? draw.funding->fundedAmount : 0;
    return funded;
}

Cents pendingChanges(const EstimateHistory &history)
{
    Cents pending = 0;
    for (const ChangeOrder &change : history.changeOrders)
        pending += change.status == ChangeOrder::Status::Pending ? change.amount : 0;
    return pending;
}
}

LoanFigures LoanFigures::of(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                            const QDate &asOf)
{
    LoanFigures figures;
    // The next request last: what is left to pay depends on the current amounts.
    const QList<DrawRequest> requests = DrawRequest::allWithNext(grid, header, history, asOf);
    const DrawRequest &next = requests.last();
    Cents shortfallsPaidByOwner = 0;
    for (qsizetype index = 0; index < history.draws.size(); ++index) {
        const Draw &draw = history.draws.at(index);
        const DrawRequest &request = requests.at(index);
        const Cents due = request.currentPaymentDue();
        figures.requested += due - (request.carriedShortfall ? request.carriedShortfall->amount : 0);
        if (draw.state() != DrawFunding::State::Funded)
            continue;
        const DrawFunding &funding = *draw.funding;
        figures.feesWithheld += funding.feesWithheld;
        if (funding.shortfall == DrawFunding::Shortfall::PaidByOwner)
            shortfallsPaidByOwner += due - funding.fundedAmount;
    }
    figures.funded = fundedOf(history);
    figures.notFunded = figures.requested - figures.funded - shortfallsPaidByOwner;
    figures.ownerCash = shortfallsPaidByOwner;
    if (!history.draws.isEmpty()) {
        const DrawRequest &last = requests.at(history.draws.size() - 1);
        figures.retainageHeld = last.retainage();
        figures.ownerCash += last.openingBalance();
    }
    if (history.loan) {
        figures.commitment = history.loan->amount;
        figures.undisbursed = history.loan->amount - figures.funded;
    }
    figures.interestToDate = interestOn(history, asOf);
    figures.costToComplete = costToCompleteOf(next, history);
    figures.outOfBalance = next.outOfBalance;
    return figures;
}

Cents LoanFigures::interestOn(const EstimateHistory &history, const QDate &asOf)
{
    if (!history.loan)
        return 0;
    Cents interest = 0;
    for (const Draw &draw : history.draws) {
        if (draw.state() == DrawFunding::State::Funded)
            interest += interestOf(draw.funding->fundedAmount, history.loan->interestRateThousandths,
                                   wholeMonthsBetween(draw.funding->funded, asOf));
    }
    return interest;
}

Cents LoanFigures::costToCompleteOf(const DrawRequest &next, const EstimateHistory &history)
{
    return next.sumToDate() + pendingChanges(history) - next.previousPayments;
}

Cents LoanFigures::outOfBalanceOf(const DrawRequest &next, const EstimateHistory &history)
{
    if (!history.loan)
        return 0;
    const Cents available = history.loan->amount - fundedOf(history) + history.loan->ownerFunds;
    return std::max(Cents(0), costToCompleteOf(next, history) - available);
}

QString LoanFigures::balanceText() const
{
    if (outOfBalance <= 0)
        return {};
    return QStringLiteral("Out of balance by %1: a deposit of %1 is needed to finish")
        .arg(MoneyCents::text(outOfBalance));
}
