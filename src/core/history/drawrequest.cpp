#include "drawrequest.h"

#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/moneycents.h"
#include "drawsnapshot.h"

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

// What each row had been paid before the loan's first draw: the owner's, on which the
// lender holds no retainage.
QHash<int, Cents> openingBalances(const QList<DrawLine> &firstDrawLines)
{
    QHash<int, Cents> opening;
    for (const DrawLine &line : firstDrawLines)
        opening.insert(line.row, line.previousPayments);
    return opening;
}

// Line 5 of an application: the retainage of the work the loan paid for, line by line, at
// the rate given.
Cents retainageOf(const QList<DrawLine> &lines, const QHash<int, Cents> &opening, int basisPoints, bool withPaid)
{
    Cents retained = 0;
    for (const DrawLine &line : lines)
        retained += MoneyCents::share(line.previousPayments + (withPaid ? line.paid : 0) - opening.value(line.row),
                                      basisPoints);
    return retained;
}

Cents completedOf(const QList<DrawLine> &lines, bool withPaid)
{
    Cents completed = 0;
    for (const DrawLine &line : lines)
        completed += line.previousPayments + (withPaid ? line.paid : 0);
    return completed;
}

// first is the loan's first draw, which may be this one.
DrawRequest requestOf(const Grid &grid, const HeaderFields &header, const Draw &draw, const Draw *previous,
                      const Draw &first)
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
    // The lender holds retainage on the work it pays for, not on what the owner paid before
    // its first draw: line 7 of the first request is that opening balance in full. Whatever
    // the rates, the payments due add up to the work the loan paid once the retainage is
    // released.
    const QHash<int, Cents> opening = openingBalances(first.lines);
    for (const DrawLine &line : draw.lines) {
        const RowTexts texts = line.texts ? *line.texts : DrawSnapshot::textsOf(grid, line.row);
        DrawRequestLine requested{
            line.row, descriptionOf(texts), line.originalValue, line.scheduledValue, line.previousPayments, line.paid};
        requested.openingBalance = opening.value(line.row);
        requested.retainage =
            MoneyCents::share(requested.completedToDate() - requested.openingBalance, draw.retainageBasisPoints);
        request.lines << requested;
    }
    if (previous) {
        request.previousRetainage = retainageOf(previous->lines, opening, previous->retainageBasisPoints, true);
        request.previousPayments = completedOf(previous->lines, true) - request.previousRetainage;
    } else {
        request.previousPayments = completedOf(draw.lines, false);
    }
    request.retainageOnPreviousWork = retainageOf(draw.lines, opening, draw.retainageBasisPoints, false);
    return request;
}
}

DrawRequest DrawRequest::next(const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
                              const QDate &periodTo)
{
    const Draw draw{int(history.draws.size()) + 1,
                    periodTo,
                    {},
                    history.retainageBasisPoints,
                    DrawSnapshot::linesOf(grid, CurrentPayments::recordableRows(grid)),
                    partiesOf(header),
                    {}};
    return history.draws.isEmpty() ? requestOf(grid, header, draw, nullptr, draw)
                                   : requestOf(grid, header, draw, &history.draws.last(), history.draws.first());
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
    const Draw *previous = number > 1 ? &history.draws.at(number - 2) : nullptr;
    return requestOf(grid, header, history.draws.at(number - 1), previous, history.draws.first());
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
    if (openingBalance() != 0 && retainageBasisPoints != 0)
        notes << QStringLiteral("Retainage is held on the work the loan pays for: none is held on the %1 paid before "
                                "the first draw.")
                     .arg(MoneyCents::text(openingBalance()));
    if (retainageReleased() > 0)
        notes << QStringLiteral("Retainage released this period: %1").arg(MoneyCents::text(retainageReleased()));
    return notes;
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
        {QStringLiteral("Original Sum"), originalSum()},
        {QStringLiteral("Net Change (Adjusted Less Original Estimates)"), netChange()},
        {QStringLiteral("Sum to Date (Line 1 + 2)"), sumToDate()},
        {QStringLiteral("Total Completed and Stored to Date"), completedToDate()},
        {(openingBalance() != 0 ? QStringLiteral("Retainage (%1 of Line 4 less the opening balance, line by line)")
                                : QStringLiteral("Retainage (%1 of Line 4, line by line)"))
             .arg(MoneyCents::rateText(retainageBasisPoints)),
         retainage()},
        {QStringLiteral("Total Earned Less Retainage (Line 4 - 5)"), earnedLessRetainage()},
        {QStringLiteral("Less Previous Payments (Line 6 of the Previous Application)"), previousPayments},
        {QStringLiteral("Current Payment Due (Line 6 - 7)"), currentPaymentDue()},
        {QStringLiteral("Balance to Finish, Including Retainage (Line 3 - 6)"), balanceToFinish()},
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
