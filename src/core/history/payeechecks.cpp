#include "payeechecks.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "payeeshares.h"

#include <algorithm>

namespace {
// What each payee was paid in a draw, by payee number.
QMap<int, Cents> paidTo(const Draw &draw, const QList<Payee> &payees)
{
    QMap<int, Cents> paid;
    for (const DrawLine &line : draw.lines) {
        for (const PayeeShare &share : PayeeShares::of(line, payees)) {
            if (share.amount > 0)
                paid[share.payee] += share.amount;
        }
    }
    return paid;
}

const Payee *payeeNumbered(const QList<Payee> &payees, int number)
{
    const auto found =
        std::find_if(payees.begin(), payees.end(), [number](const Payee &payee) { return payee.number == number; });
    return found == payees.end() ? nullptr : &*found;
}

QString payeeName(const QList<Payee> &payees, int number)
{
    const Payee *payee = payeeNumbered(payees, number);
    return payee ? payee->name : QStringLiteral("Payee %1").arg(number);
}

// Of the payee's conditional (or unconditional) waivers for the draw, progress and final, the
// one nearest to covering the payment: received for all of it, received, or asked for.
const LienWaiver *waiverOf(const EstimateHistory &history, int payee, int draw, bool conditional, Cents paid)
{
    const auto cover = [paid](const LienWaiver &waiver) {
        return waiver.status != LienWaiver::Status::Received ? 0 : waiver.amount < paid ? 1 : 2;
    };
    const LienWaiver *nearest = nullptr;
    for (const LienWaiver &waiver : history.waivers) {
        const bool forThePayment =
            waiver.payee == payee && waiver.draw == draw && waiver.isConditional() == conditional;
        if (forThePayment && (!nearest || cover(waiver) > cover(*nearest)))
            nearest = &waiver;
    }
    return nearest;
}

// The waiver a payment needs: there, received, and for the whole amount.
QString waiverFinding(const LienWaiver *waiver, const QString &kind, Cents paid, int draw)
{
    const QString amount = MoneyCents::text(paid);
    if (!waiver)
        return QStringLiteral("no %1 lien waiver for the %2 paid in draw %3.").arg(kind, amount).arg(draw);
    if (waiver->status != LienWaiver::Status::Received)
        return QStringLiteral("the %1 lien waiver for draw %2 is requested, not received.").arg(kind).arg(draw);
    if (waiver->amount < paid)
        return QStringLiteral("the %1 lien waiver for draw %2 is for %3, less than the %4 paid.")
            .arg(kind)
            .arg(draw)
            .arg(MoneyCents::text(waiver->amount), amount);
    return {};
}

// The conditional waiver goes with this draw's payment; the unconditional one for the draw
// before comes once that money has cleared.
QStringList waiverChecks(const Draw &draw, const EstimateHistory &history)
{
    QStringList checks;
    const QMap<int, Cents> paidNow = paidTo(draw, history.payees);
    for (auto paid = paidNow.cbegin(); paid != paidNow.cend(); ++paid) {
        const QString finding = waiverFinding(waiverOf(history, paid.key(), draw.number, true, paid.value()),
                                              QStringLiteral("conditional"), paid.value(), draw.number);
        if (!finding.isEmpty())
            checks << payeeName(history.payees, paid.key()) + QStringLiteral(": ") + finding;
    }
    if (draw.number < 2 || draw.number - 1 > history.draws.size())
        return checks;
    const int previous = draw.number - 1;
    const QMap<int, Cents> paidBefore = paidTo(history.draws.at(previous - 1), history.payees);
    for (auto paid = paidBefore.cbegin(); paid != paidBefore.cend(); ++paid) {
        const QString finding = waiverFinding(waiverOf(history, paid.key(), previous, false, paid.value()),
                                              QStringLiteral("unconditional"), paid.value(), previous);
        if (!finding.isEmpty())
            checks << payeeName(history.payees, paid.key()) + QStringLiteral(": ") + finding;
    }
    return checks;
}

bool paidBefore(const EstimateHistory &history, int payee, int draw)
{
    for (const Draw &earlier : history.draws) {
        if (earlier.number < draw && paidTo(earlier, history.payees).contains(payee))
            return true;
    }
    return false;
}

// A payee is insured on the day it is paid, and the owner files a W-9 before the first payment.
QStringList payeeRecordChecks(const Draw &draw, const EstimateHistory &history)
{
    QStringList checks;
    const QMap<int, Cents> paid = paidTo(draw, history.payees);
    for (auto payment = paid.cbegin(); payment != paid.cend(); ++payment) {
        const Payee *payee = payeeNumbered(history.payees, payment.key());
        if (!payee)
            continue;
        const QDate &expires = payee->insuranceExpires;
        if (expires.isValid() && expires < draw.date)
            checks << QStringLiteral("%1: the insurance certificate expired on %2, before draw %3 of %4.")
                          .arg(payee->name, expires.toString(Qt::ISODate))
                          .arg(draw.number)
                          .arg(draw.date.toString(Qt::ISODate));
        if (!payee->taxFormReceived.isValid() && !paidBefore(history, payee->number, draw.number))
            checks << QStringLiteral("%1: paid for the first time in draw %2 with no W-9 on file.")
                          .arg(payee->name)
                          .arg(draw.number);
    }
    return checks;
}

bool belongsToDraw(const Paper &paper, int draw)
{
    return (paper.subject == Paper::Subject::Draw || paper.subject == Paper::Subject::DrawLine)
        && paper.subjectNumber == draw;
}

// The invoices behind a line add up to at least what it asks; said only where the estimate
// keeps papers at all.
QStringList invoiceChecks(const Draw &draw, const Grid &grid, const EstimateHistory &history)
{
    if (history.papers.isEmpty())
        return {};
    QStringList checks;
    for (const DrawLine &line : draw.lines) {
        if (line.paid <= 0)
            continue;
        Cents invoiced = 0;
        for (const Paper &paper : history.papers) {
            if (paper.kind == Paper::Kind::Invoice && paper.subject == Paper::Subject::DrawLine
                && paper.subjectNumber == draw.number && paper.row == line.row)
                invoiced += paper.amount.value_or(0);
        }
        if (invoiced < line.paid)
            checks << EstimateSheet::rowName(grid, line.row)
                    + QStringLiteral(": the invoices attached add up to %1, less than the %2 requested.")
                          .arg(MoneyCents::text(invoiced), MoneyCents::text(line.paid));
    }
    return checks;
}

// The papers that go with the draw: its own, its lines', and its waivers'.
QStringList unavailableChecks(const Draw &draw, const EstimateHistory &history,
                              const PayeeChecks::UnavailablePapers &unavailable)
{
    QStringList checks;
    for (const Paper &paper : history.papers) {
        const bool signsWaiver =
            std::any_of(history.waivers.begin(), history.waivers.end(), [&](const LienWaiver &waiver) {
                return waiver.draw == draw.number && waiver.paper == paper.number;
            });
        if ((belongsToDraw(paper, draw.number) || signsWaiver) && unavailable.contains(paper.number))
            checks << QStringLiteral("Paper %1, \"%2\", %3.")
                          .arg(paper.number)
                          .arg(paper.title, unavailable.value(paper.number));
    }
    return checks;
}
}

namespace PayeeChecks {

QStringList of(const Draw &draw, const Grid &grid, const EstimateHistory &history, const UnavailablePapers &unavailable)
{
    return waiverChecks(draw, history) + payeeRecordChecks(draw, history) + invoiceChecks(draw, grid, history)
        + unavailableChecks(draw, history, unavailable);
}

}
