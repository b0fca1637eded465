#include "payees.h"

#include "core/reasons.h"
#include "core/sheet/estimatesheet.h"
#include "payeeshares.h"

#include <QSet>

#include <algorithm>

namespace {
bool isItemRow(int row)
{
    return row >= 1 && row <= EstimateSheet::ItemRowCount;
}

qsizetype indexOf(const EstimateHistory &history, int number)
{
    const auto found = std::find_if(history.payees.cbegin(), history.payees.cend(),
                                    [number](const Payee &payee) { return payee.number == number; });
    return found == history.payees.cend() ? -1 : found - history.payees.cbegin();
}

QString noSuchPayee(int number)
{
    return QStringLiteral("There is no payee %1.").arg(number);
}

// The draws' shares as they stand, a line without shares of its own paying the row's first
// payee: deleting that payee would hand the line to the next one on the papers shown again.
int firstDrawPaying(const EstimateHistory &history, int number)
{
    for (const Draw &draw : history.draws) {
        for (const DrawLine &line : draw.lines) {
            const QList<PayeeShare> shares = PayeeShares::of(line, history.payees);
            if (std::any_of(shares.cbegin(), shares.cend(),
                            [number](const PayeeShare &share) { return share.payee == number; }))
                return draw.number;
        }
    }
    return 0;
}

// A draw line that names no shares went to the row's first payee as the list stands: a change
// to the list that hands such a line to someone else would change what the draw's papers say.
// A line of a row no payee was on yet went to no one on the list: the row's first payee now
// says who was paid, and nothing said before changes.
const DrawLine *firstLineMoved(const EstimateHistory &history, const QList<Payee> &changed, int *draw)
{
    for (const Draw &drawn : history.draws) {
        for (const DrawLine &line : drawn.lines) {
            const QList<PayeeShare> before = PayeeShares::of(line, history.payees);
            if (!before.isEmpty() && before != PayeeShares::of(line, changed)) {
                *draw = drawn.number;
                return &line;
            }
        }
    }
    return nullptr;
}

QString dateOrElse(const QDate &date, const QString &missing)
{
    return date.isValid() ? date.toString(Qt::ISODate) : missing;
}

QString rowsText(const Payee &payee)
{
    QList<int> rows;
    for (const PayeeRow &link : payee.rows)
        rows << link.row;
    std::sort(rows.begin(), rows.end());
    QStringList texts;
    for (const int row : rows)
        texts << QString::number(row);
    return texts.join(QStringLiteral(", "));
}
}

namespace Payees {

QStringList registerTitles()
{
    return {QStringLiteral("No."),
            QStringLiteral("Name"),
            QStringLiteral("Trade"),
            QStringLiteral("Rows"),
            QStringLiteral("Contact"),
            QStringLiteral("W-9 received"),
            QStringLiteral("Insurance expires")};
}

QStringList registerTexts(const Payee &payee)
{
    return {QString::number(payee.number),
            payee.name,
            payee.trade,
            rowsText(payee),
            payee.contact,
            dateOrElse(payee.taxFormReceived, QStringLiteral("Not received")),
            dateOrElse(payee.insuranceExpires, QStringLiteral("None on file"))};
}

int nextNumber(const EstimateHistory &history)
{
    int highest = history.deletedPayeeNumber;
    for (const Payee &payee : history.payees)
        highest = std::max(highest, payee.number);
    return highest + 1;
}

const Payee *find(const EstimateHistory &history, int number)
{
    const qsizetype index = indexOf(history, number);
    return index < 0 ? nullptr : &history.payees.at(index);
}

bool check(const Payee &payee, QString *errorString)
{
    if (payee.name.trimmed().isEmpty())
        return Reasons::fail(errorString, QStringLiteral("Give the payee a name."));
    QSet<int> seen;
    for (const PayeeRow &link : payee.rows) {
        if (!isItemRow(link.row))
            return Reasons::fail(errorString,
                                 QStringLiteral("A payee works on the rows 1 to %1, not on row %2.")
                                     .arg(EstimateSheet::ItemRowCount)
                                     .arg(link.row));
        if (seen.contains(link.row))
            return Reasons::fail(errorString,
                                 QStringLiteral("Row %1 is named twice among the payee's rows.").arg(link.row));
        seen.insert(link.row);
    }
    return true;
}

bool put(EstimateHistory &history, const Payee &payee, QString *errorString)
{
    if (payee.number < 1)
        return Reasons::fail(errorString, QStringLiteral("A payee's number is 1 or more, not %1.").arg(payee.number));
    if (!check(payee, errorString))
        return false;
    Payee stored = payee;
    stored.name = payee.name.trimmed();
    QList<Payee> changed = history.payees;
    const qsizetype index = indexOf(history, payee.number);
    if (index >= 0) {
        changed[index] = stored;
    } else {
        // The list in the order of the numbers, which is also the order in which a row's
        // payees are taken: a new payee does not become a row's first one ahead of those before.
        const auto after = std::find_if(changed.begin(), changed.end(),
                                        [&payee](const Payee &other) { return other.number > payee.number; });
        changed.insert(after, stored);
    }
    int draw = 0;
    if (const DrawLine *line = firstLineMoved(history, changed, &draw)) {
        return Reasons::fail(errorString,
                             QStringLiteral("Row %1 was paid to payee %2 in draw %3: it stays with that payee, so "
                                            "that the draw's papers still name it.")
                                 .arg(line->row)
                                 .arg(PayeeShares::of(*line, history.payees).first().payee)
                                 .arg(draw));
    }
    history.payees = changed;
    if (index < 0 && payee.number >= history.deletedPayeeNumber)
        history.deletedPayeeNumber = 0;
    return true;
}

bool remove(EstimateHistory &history, int number, QString *errorString)
{
    const qsizetype index = indexOf(history, number);
    if (index < 0)
        return Reasons::fail(errorString, noSuchPayee(number));
    if (const int draw = firstDrawPaying(history, number))
        return Reasons::fail(
            errorString,
            QStringLiteral("Payee %1 is paid in draw %2: it stays, so that the draw's papers still name it.")
                .arg(number)
                .arg(draw));
    const auto waiver = std::find_if(history.waivers.cbegin(), history.waivers.cend(),
                                     [number](const LienWaiver &waiver) { return waiver.payee == number; });
    if (waiver != history.waivers.cend())
        return Reasons::fail(errorString,
                             QStringLiteral("Payee %1 has a lien waiver for draw %2: remove the waiver first.")
                                 .arg(number)
                                 .arg(waiver->draw));
    const auto paper = std::find_if(history.papers.cbegin(), history.papers.cend(), [number](const Paper &paper) {
        return paper.subject == Paper::Subject::Payee && paper.subjectNumber == number;
    });
    if (paper != history.papers.cend())
        return Reasons::fail(errorString,
                             QStringLiteral("Payee %1 has paper %2 kept with it: it stays with its paper.")
                                 .arg(number)
                                 .arg(paper->number));
    if (number == nextNumber(history) - 1)
        history.deletedPayeeNumber = number;
    history.payees.removeAt(index);
    return true;
}

bool linkRow(EstimateHistory &history, int number, int row, QString *errorString)
{
    const Payee *stored = find(history, number);
    if (!stored)
        return Reasons::fail(errorString, noSuchPayee(number));
    if (stored->worksOn(row))
        return true;
    Payee changed = *stored;
    changed.rows.append(PayeeRow{row, {}});
    return put(history, changed, errorString);
}

bool unlinkRow(EstimateHistory &history, int number, int row, QString *errorString)
{
    const Payee *stored = find(history, number);
    if (!stored)
        return Reasons::fail(errorString, noSuchPayee(number));
    Payee changed = *stored;
    changed.rows.removeIf([row](const PayeeRow &link) { return link.row == row; });
    return put(history, changed, errorString);
}

}
