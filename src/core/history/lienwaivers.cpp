#include "lienwaivers.h"

#include "core/reasons.h"
#include "core/sheet/moneycents.h"
#include "payees.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {
qsizetype indexOf(const EstimateHistory &history, int payee, int draw, LienWaiver::Kind kind)
{
    const auto found = std::find_if(history.waivers.cbegin(), history.waivers.cend(), [&](const LienWaiver &waiver) {
        return waiver.payee == payee && waiver.draw == draw && waiver.kind == kind;
    });
    return found == history.waivers.cend() ? -1 : found - history.waivers.cbegin();
}

bool comesBefore(const LienWaiver &one, const LienWaiver &other)
{
    return std::tuple(one.payee, one.draw, int(one.kind)) < std::tuple(other.payee, other.draw, int(other.kind));
}

QString noSuchWaiver(int payee, int draw, LienWaiver::Kind kind)
{
    return QStringLiteral("Payee %1 has no %2 waiver for draw %3.")
        .arg(payee)
        .arg(LienWaivers::kindName(kind).toLower())
        .arg(draw);
}

bool holdsDraw(const EstimateHistory &history, int number)
{
    return std::any_of(history.draws.cbegin(), history.draws.cend(),
                       [number](const Draw &draw) { return draw.number == number; });
}

// A waiver may name no paper yet, or one the estimate keeps.
bool checkPaper(const EstimateHistory &history, int number, QString *errorString)
{
    if (number == 0 || std::any_of(history.papers.cbegin(), history.papers.cend(), [number](const Paper &paper) {
            return paper.number == number;
        }))
        return true;
    return Reasons::fail(errorString, QStringLiteral("There is no paper %1.").arg(number));
}
}

namespace LienWaivers {

QString kindName(LienWaiver::Kind kind)
{
    switch (kind) {
    case LienWaiver::Kind::ConditionalProgress:
        return QStringLiteral("Conditional progress");
    case LienWaiver::Kind::UnconditionalProgress:
        return QStringLiteral("Unconditional progress");
    case LienWaiver::Kind::ConditionalFinal:
        return QStringLiteral("Conditional final");
    case LienWaiver::Kind::UnconditionalFinal:
        return QStringLiteral("Unconditional final");
    }
    return {};
}

QString statusName(LienWaiver::Status status)
{
    switch (status) {
    case LienWaiver::Status::Requested:
        return QStringLiteral("Requested");
    case LienWaiver::Status::Received:
        return QStringLiteral("Received");
    }
    return {};
}

QStringList registerTitles()
{
    return {QStringLiteral("Draw"),    QStringLiteral("Kind"),   QStringLiteral("Amount"),
            QStringLiteral("Through"), QStringLiteral("Status"), QStringLiteral("Paper")};
}

QStringList registerTexts(const LienWaiver &waiver)
{
    return {
        QString::number(waiver.draw),    kindName(waiver.kind),
        MoneyCents::text(waiver.amount), waiver.through.toString(Qt::ISODate),
        statusName(waiver.status),       waiver.paper == 0 ? QStringLiteral("None") : QString::number(waiver.paper)};
}

QList<LienWaiver> of(const EstimateHistory &history, int payee)
{
    QList<LienWaiver> waivers;
    std::copy_if(history.waivers.cbegin(), history.waivers.cend(), std::back_inserter(waivers),
                 [payee](const LienWaiver &waiver) { return waiver.payee == payee; });
    std::sort(waivers.begin(), waivers.end(), comesBefore);
    return waivers;
}

const LienWaiver *find(const EstimateHistory &history, int payee, int draw, LienWaiver::Kind kind)
{
    const qsizetype index = indexOf(history, payee, draw, kind);
    return index < 0 ? nullptr : &history.waivers.at(index);
}

bool checkAmount(Cents amount, QString *errorString)
{
    if (amount < 0)
        return Reasons::fail(
            errorString,
            QStringLiteral("A lien waiver's amount is $0.00 or more, not %1.").arg(MoneyCents::text(amount)));
    return true;
}

bool add(EstimateHistory &history, const LienWaiver &waiver, QString *errorString)
{
    if (!Payees::find(history, waiver.payee))
        return Reasons::fail(errorString, QStringLiteral("There is no payee %1.").arg(waiver.payee));
    // The conditional waiver goes out with the request, before its draw is recorded.
    if (!holdsDraw(history, waiver.draw) && waiver.draw != history.nextDrawNumber())
        return Reasons::fail(
            errorString,
            QStringLiteral("There is no draw %1: a lien waiver is for a draw recorded or the next request.")
                .arg(waiver.draw));
    if (!checkAmount(waiver.amount, errorString))
        return false;
    if (!checkPaper(history, waiver.paper, errorString))
        return false;
    if (find(history, waiver.payee, waiver.draw, waiver.kind))
        return Reasons::fail(errorString,
                             QStringLiteral("Payee %1 already has a %2 waiver for draw %3.")
                                 .arg(waiver.payee)
                                 .arg(kindName(waiver.kind).toLower())
                                 .arg(waiver.draw));
    const auto after = std::find_if(history.waivers.begin(), history.waivers.end(),
                                    [&waiver](const LienWaiver &other) { return comesBefore(waiver, other); });
    history.waivers.insert(after, waiver);
    return true;
}

bool remove(EstimateHistory &history, int payee, int draw, LienWaiver::Kind kind, QString *errorString)
{
    const qsizetype index = indexOf(history, payee, draw, kind);
    if (index < 0)
        return Reasons::fail(errorString, noSuchWaiver(payee, draw, kind));
    history.waivers.removeAt(index);
    return true;
}

bool markReceived(EstimateHistory &history, const LienWaiver &received, QString *errorString)
{
    const qsizetype index = indexOf(history, received.payee, received.draw, received.kind);
    if (index < 0)
        return Reasons::fail(errorString, noSuchWaiver(received.payee, received.draw, received.kind));
    if (!checkAmount(received.amount, errorString) || !checkPaper(history, received.paper, errorString))
        return false;
    LienWaiver &waiver = history.waivers[index];
    waiver.amount = received.amount;
    waiver.through = received.through;
    waiver.paper = received.paper;
    waiver.status = LienWaiver::Status::Received;
    return true;
}

}
