#include "drawrequestchecks.h"

#include "changeorders.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"
#include "drawrequest.h"

#include <QMap>

namespace {
// Each row's payments to date after a draw: what it found paid plus what it paid.
QMap<int, Cents> paidAfter(const Draw &draw)
{
    QMap<int, Cents> paid;
    for (const DrawLine &line : draw.lines)
        paid[line.row] = line.previousPayments + line.paid;
    return paid;
}

QList<DrawRequestChecks::PaymentDifference> differences(const QMap<int, Cents> &shown, const QMap<int, Cents> &recorded)
{
    QList<DrawRequestChecks::PaymentDifference> differing;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        const Cents now = shown.value(row);
        const Cents then = recorded.value(row);
        if (now != then)
            differing.append({row, now, then});
    }
    return differing;
}

QString checkOf(const Grid &grid, int row, const QString &finding)
{
    return EstimateSheet::rowName(grid, row) + QStringLiteral(": ") + finding;
}

QStringList lineChecks(const DrawRequest &request, const Grid &grid)
{
    QStringList checks;
    for (const DrawRequestLine &line : request.lines) {
        // A credit row has work done beyond it by nature; its negative value is said below.
        if (line.scheduledValue >= 0 && line.completedToDate() > line.scheduledValue)
            checks << checkOf(
                grid, line.row,
                QStringLiteral("work completed to date, %1, is more than the scheduled value, %2.")
                    .arg(MoneyCents::text(line.completedToDate()), MoneyCents::text(line.scheduledValue)));
        const std::pair<Cents, const char *> amounts[] = {
            {line.scheduledValue, "the scheduled value"},
            {line.previousApplications, "the work completed from previous applications"},
            {line.thisPeriod, "the work completed this period"}};
        for (const auto &[amount, name] : amounts) {
            if (amount < 0)
                checks << checkOf(
                    grid, line.row,
                    QStringLiteral("%1 is negative, %2.").arg(QLatin1String(name), MoneyCents::text(amount)));
        }
    }
    return checks;
}

QStringList noteChecks(const Grid &grid)
{
    QStringList checks;
    const QStringList headers = EstimateSheet::columnHeaders();
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        for (int column = EstimateSheet::OriginalEstimateColumn; column <= EstimateSheet::CurrentPaymentColumn;
             ++column) {
            const QString &text = grid.text(row, column);
            if (!text.isEmpty() && !Money::holdsAmount(text))
                checks << checkOf(grid, row,
                                  QStringLiteral("\"%1\" in %2 is not an amount.").arg(text, headers.at(column - 1)));
        }
    }
    return checks;
}

QStringList differenceChecks(const Grid &grid, const QList<DrawRequestChecks::PaymentDifference> &differing,
                             const QString &recordedIn)
{
    QStringList checks;
    for (const DrawRequestChecks::PaymentDifference &difference : differing)
        checks << checkOf(
            grid, difference.row,
            QStringLiteral("the previous payments, %1, differ from %2, %3.")
                .arg(MoneyCents::text(difference.shown), recordedIn, MoneyCents::text(difference.recorded)));
    return checks;
}

// A request of no current amounts may still ask for something: a shortfall asked again, or
// retainage released.
QStringList nothingRequested(const DrawRequest &request)
{
    if (request.total().thisPeriod != 0 || request.currentPaymentDue() > 0)
        return {};
    return {QStringLiteral("Nothing is requested this period: no row has an amount to be paid.")};
}

// A retainage rate raised since the last draw takes its whole share of the work done before
// from this payment; a lender would see a payment due below zero.
QStringList paymentDueBelowZero(const DrawRequest &request)
{
    if (request.currentPaymentDue() >= 0)
        return {};
    return {QStringLiteral("The current payment due, %1, is below zero: the retainage held on the work done to date "
                           "is more than this period's work.")
                .arg(MoneyCents::text(request.currentPaymentDue()))};
}

// A lender asks what a pending order will do to the schedule before it funds the work.
QStringList pendingOrders(const EstimateHistory &history, const QDate &upTo)
{
    QStringList numbers;
    for (const ChangeOrder &order : history.changeOrders) {
        if (order.status == ChangeOrder::Status::Pending && !order.voided && (!upTo.isValid() || order.date <= upTo))
            numbers << QString::number(order.number);
    }
    if (numbers.isEmpty())
        return {};
    return {numbers.size() == 1
                ? QStringLiteral("Change order %1 is pending.").arg(numbers.first())
                : QStringLiteral("Change orders %1 and %2 are pending.")
                      .arg(QStringList(numbers.mid(0, numbers.size() - 1)).join(QStringLiteral(", ")), numbers.last())};
}

// Released retainage is paid out with the work of this period, which a reviewer looks at apart.
QStringList retainageReleased(const DrawRequest &request)
{
    if (request.retainageReleased() <= 0)
        return {};
    return {
        QStringLiteral("This request releases %1 of retainage.").arg(MoneyCents::text(request.retainageReleased()))};
}

// A schedule of values moves by change order only; a reviewer asks for the paper behind any
// other move.
QStringList scheduleMovedByHand(const Grid &grid, const EstimateHistory &history)
{
    QStringList checks;
    for (const ChangeOrders::HandEdit &edit : ChangeOrders::handEdits(grid, history)) {
        const Cents moved = edit.adjusted - edit.explained;
        checks << checkOf(grid, edit.row,
                          QStringLiteral("scheduled value %1 %2 with no change order")
                              .arg(moved > 0 ? QStringLiteral("up") : QStringLiteral("down"),
                                   MoneyCents::text(moved > 0 ? moved : -moved)));
    }
    return checks;
}

// The contingency is not work: lenders want what it paid for moved into the row that used it.
QStringList billedToContingency(const DrawRequest &request, const Grid &grid, const EstimateHistory &history)
{
    for (const DrawRequestLine &line : request.lines) {
        if (line.row == history.contingencyRow && line.thisPeriod != 0)
            return {checkOf(grid, line.row,
                            QStringLiteral("%1 is billed straight to the contingency; approve a change order "
                                           "from the contingency into the row that used it instead.")
                                .arg(MoneyCents::text(line.thisPeriod)))};
    }
    return {};
}

// Lenders take one request at a time: the next waits until the one before is funded.
QStringList previousNotFunded(const EstimateHistory &history)
{
    // Said only where the lender's side is kept at all.
    if (!history.keepsLenderSide() || history.draws.isEmpty()
        || history.draws.last().state() == DrawFunding::State::Funded)
        return {};
    const Draw &last = history.draws.last();
    const QString state = last.state() == DrawFunding::State::Returned ? QStringLiteral("was returned")
                                                                       : QStringLiteral("is not funded yet");
    return {QStringLiteral("Draw %1 %2: this request goes out before the lender has paid the one before.")
                .arg(last.number)
                .arg(state)};
}

// The next draw as its request would record it: what each line pays this period.
Draw drawOf(const DrawRequest &request)
{
    Draw draw;
    draw.number = request.applicationNumber;
    draw.date = request.periodTo;
    for (const DrawRequestLine &line : request.lines) {
        DrawLine paid;
        paid.row = line.row;
        paid.paid = line.thisPeriod;
        draw.lines << paid;
    }
    return draw;
}

// A lender funds no draw of a loan that can no longer finish the house.
QStringList outOfBalance(const DrawRequest &request)
{
    if (request.outOfBalance <= 0)
        return {};
    return {QStringLiteral("Out of balance by %1: a deposit of %1 is needed to finish.")
                .arg(MoneyCents::text(request.outOfBalance))};
}
}

namespace DrawRequestChecks {

QList<PaymentDifference> previousPaymentsDifferingFromHistory(const Grid &grid, const EstimateHistory &history)
{
    if (history.draws.isEmpty())
        return {};
    QMap<int, Cents> shown;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
        shown[row] = MoneyCents::fromText(grid.text(row, EstimateSheet::PreviousPaymentColumn));
    return differences(shown, paidAfter(history.draws.last()));
}

QStringList ofNext(const DrawRequest &request, const Grid &grid, const EstimateHistory &history,
                   const PayeeChecks::UnavailablePapers &unavailable)
{
    return lineChecks(request, grid) + noteChecks(grid)
        + differenceChecks(grid, previousPaymentsDifferingFromHistory(grid, history),
                           QStringLiteral("what the recorded draws paid"))
        + nothingRequested(request) + paymentDueBelowZero(request) + pendingOrders(history, {})
        + retainageReleased(request) + previousNotFunded(history) + outOfBalance(request)
        + scheduleMovedByHand(grid, history) + billedToContingency(request, grid, history)
        + PayeeChecks::of(drawOf(request), grid, history, unavailable);
}

QStringList ofRecorded(const DrawRequest &request, const Grid &grid, const EstimateHistory &history,
                       const PayeeChecks::UnavailablePapers &unavailable)
{
    QStringList checks = lineChecks(request, grid);
    const int number = request.applicationNumber;
    if (number > 1) {
        QMap<int, Cents> found;
        for (const DrawLine &line : history.draws.at(number - 1).lines)
            found[line.row] = line.previousPayments;
        checks += differenceChecks(grid, differences(found, paidAfter(history.draws.at(number - 2))),
                                   QStringLiteral("what draw %1 left paid").arg(number - 1));
    }
    return checks + nothingRequested(request) + paymentDueBelowZero(request) + pendingOrders(history, request.periodTo)
        + retainageReleased(request) + PayeeChecks::of(history.draws.at(number - 1), grid, history, unavailable);
}

}
