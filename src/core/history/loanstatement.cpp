#include "loanstatement.h"

#include "core/sheet/moneycents.h"
#include "drawrequest.h"
#include "loanfigures.h"

QString LoanStatement::stateName(DrawFunding::State state)
{
    switch (state) {
    case DrawFunding::State::Submitted:
        return QStringLiteral("submitted");
    case DrawFunding::State::Funded:
        return QStringLiteral("funded");
    case DrawFunding::State::Returned:
        return QStringLiteral("returned");
    case DrawFunding::State::Requested:
        break;
    }
    return QStringLiteral("requested");
}

namespace {
// What the owner paid with this draw: the opening balance with the first, what was typed
// into the previous payments since the one before, and the shortfall the owner paid.
Cents ownerCashOf(const DrawRequest &request, const DrawRequest *previous, const Draw &draw)
{
    Cents cash = previous ? request.ownerPaidByHand - previous->ownerPaidByHand : request.openingBalance();
    if (draw.state() == DrawFunding::State::Funded && draw.funding->shortfall == DrawFunding::Shortfall::PaidByOwner)
        cash += request.currentPaymentDue() - draw.funding->fundedAmount;
    return cash;
}
}

LoanStatement LoanStatement::of(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                                const QDate &asOf)
{
    LoanStatement statement;
    const QList<DrawRequest> requests = DrawRequest::allRecorded(grid, header, history);
    Cents fundedSoFar = 0;
    for (qsizetype index = 0; index < requests.size(); ++index) {
        const Draw &draw = history.draws.at(index);
        const DrawRequest &request = requests.at(index);
        Line line;
        line.draw = draw.number;
        line.date = draw.date;
        line.state = stateName(draw.state());
        line.requested = request.currentPaymentDue();
        if (draw.state() == DrawFunding::State::Funded) {
            line.funded = draw.funding->funded;
            line.fundedAmount = draw.funding->fundedAmount;
            line.feesWithheld = draw.funding->feesWithheld;
        }
        line.retainageHeld = request.retainage();
        line.retainageReleased = request.retainageReleased();
        line.ownerCash = ownerCashOf(request, index > 0 ? &requests.at(index - 1) : nullptr, draw);
        fundedSoFar += line.fundedAmount;
        if (history.loan)
            line.undisbursedAfter = history.loan->amount - fundedSoFar;
        statement.lines << line;
    }
    statement.interestToDate = LoanFigures::interestOn(history, asOf);
    statement.asOf = asOf;
    return statement;
}

QStringList LoanStatement::columnTitles()
{
    return {QStringLiteral("Draw"),
            QStringLiteral("Date"),
            QStringLiteral("State"),
            QStringLiteral("Funded On"),
            QStringLiteral("Requested"),
            QStringLiteral("Funded"),
            QStringLiteral("Fees Withheld"),
            QStringLiteral("Retainage Held"),
            QStringLiteral("Retainage Released"),
            QStringLiteral("Owner's Cash"),
            QStringLiteral("Undisbursed After")};
}

QStringList LoanStatement::textsOf(const Line &line)
{
    const auto dateText = [](const QDate &date) { return date.toString(Qt::ISODate); };
    return {line.draw > 0 ? QString::number(line.draw) : QStringLiteral("Total"),
            dateText(line.date),
            line.state,
            dateText(line.funded),
            MoneyCents::text(line.requested),
            MoneyCents::text(line.fundedAmount),
            MoneyCents::text(line.feesWithheld),
            MoneyCents::text(line.retainageHeld),
            MoneyCents::text(line.retainageReleased),
            MoneyCents::text(line.ownerCash),
            line.undisbursedAfter ? MoneyCents::text(*line.undisbursedAfter) : QString()};
}

LoanStatement::Line LoanStatement::total() const
{
    Line total;
    for (const Line &line : lines) {
        total.requested += line.requested;
        total.fundedAmount += line.fundedAmount;
        total.feesWithheld += line.feesWithheld;
        total.retainageReleased += line.retainageReleased;
        total.ownerCash += line.ownerCash;
    }
    if (!lines.isEmpty()) {
        total.retainageHeld = lines.last().retainageHeld;
        total.undisbursedAfter = lines.last().undisbursedAfter;
    }
    return total;
}
