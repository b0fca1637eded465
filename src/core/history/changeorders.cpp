#include "changeorders.h"

#include "core/reasons.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QMap>

#include <algorithm>
#include <optional>

namespace {
constexpr int Original = EstimateSheet::OriginalEstimateColumn;
constexpr int Adjusted = EstimateSheet::AdjustedEstimateColumn;
constexpr int Previous = EstimateSheet::PreviousPaymentColumn;
constexpr int Current = EstimateSheet::CurrentPaymentColumn;

bool isItemRow(int row)
{
    return row >= 1 && row <= EstimateSheet::ItemRowCount;
}

// What an order moves while it is approved: its amount into its row and, funded from the
// contingency, out of the contingency row.
void addMoves(QMap<int, Cents> &moves, const ChangeOrder &order, int contingencyRow, int sign)
{
    if (!order.isInForce())
        return;
    moves[order.row] += sign * order.amount;
    if (order.source == ChangeOrder::Source::Contingency)
        moves[contingencyRow] -= sign * order.amount;
}

// The amount a money cell holds: an empty one holds nothing, which counts as zero; a note
// ("TBD") holds no amount at all.
std::optional<Cents> amountIn(const QString &text)
{
    if (!text.isEmpty() && !Money::holdsAmount(text))
        return std::nullopt;
    return MoneyCents::fromText(text);
}

// The adjusted estimate a row stands at, as the recalculation reads it.
std::optional<Cents> adjustedEstimate(const Grid &grid, int row)
{
    return amountIn(EstimateSheet::scheduledValueText(grid, row));
}

bool moveAdjustedEstimates(EstimateSheet &sheet, const QMap<int, Cents> &moves, QString *errorString)
{
    Grid &grid = sheet.grid();
    QMap<int, Cents> targets;
    for (auto move = moves.cbegin(); move != moves.cend(); ++move) {
        if (move.value() == 0)
            continue;
        const std::optional<Cents> base = adjustedEstimate(grid, move.key());
        if (!base)
            return Reasons::fail(errorString,
                                 QStringLiteral("The estimate of row %1 holds \"%2\", which is not an amount: "
                                                "write the amount there first.")
                                     .arg(move.key())
                                     .arg(EstimateSheet::scheduledValueText(grid, move.key())));
        targets.insert(move.key(), *base + move.value());
    }
    for (auto target = targets.cbegin(); target != targets.cend(); ++target) {
        grid.setText(target.key(), Adjusted, MoneyCents::text(target.value()));
        sheet.recalculateRow(target.key());
    }
    if (!targets.isEmpty())
        sheet.recalculateColumnTotals();
    return true;
}

qsizetype indexOf(const EstimateHistory &history, int number)
{
    const auto found = std::find_if(history.changeOrders.cbegin(), history.changeOrders.cend(),
                                    [number](const ChangeOrder &order) { return order.number == number; });
    return found == history.changeOrders.cend() ? -1 : found - history.changeOrders.cbegin();
}

// The register in the order of the numbers, as the user reads it.
void insertInPlace(EstimateHistory &history, const ChangeOrder &order)
{
    const auto after = std::find_if(history.changeOrders.begin(), history.changeOrders.end(),
                                    [&order](const ChangeOrder &other) { return other.number > order.number; });
    history.changeOrders.insert(after, order);
    if (order.number >= history.deletedChangeOrderNumber)
        history.deletedChangeOrderNumber = 0;
}

// Which draws went out before the order was approved or voided: a request re-printed for one
// of them leaves the change out, as the request that went out did. Before the first draw
// there is nothing to tell apart.
ChangeOrder stampedWithLastDraw(const EstimateHistory &history, const ChangeOrder *stored, ChangeOrder order)
{
    if (history.draws.isEmpty())
        return order;
    const int lastDraw = history.draws.last().number;
    const bool wasApproved = stored && stored->status == ChangeOrder::Status::Approved;
    if (order.status != ChangeOrder::Status::Approved)
        order.approvedAfterDraw.reset();
    else if (!wasApproved)
        order.approvedAfterDraw = lastDraw;
    if (order.voided && !(stored && stored->voided))
        order.voided->afterDraw = lastDraw;
    return order;
}

// Puts order in the place of the stored one (or adds it, where stored is -1) and moves the
// adjusted estimates by the difference.
bool store(EstimateSheet &sheet, EstimateHistory &history, qsizetype stored, const ChangeOrder &given,
           QString *errorString)
{
    const ChangeOrder order =
        stampedWithLastDraw(history, stored >= 0 ? &history.changeOrders.at(stored) : nullptr, given);
    QMap<int, Cents> moves;
    if (stored >= 0)
        addMoves(moves, history.changeOrders.at(stored), history.contingencyRow, -1);
    addMoves(moves, order, history.contingencyRow, 1);
    if (!moveAdjustedEstimates(sheet, moves, errorString))
        return false;
    if (stored >= 0)
        history.changeOrders[stored] = order;
    else
        insertInPlace(history, order);
    return true;
}

QString noSuchOrder(int number)
{
    return QStringLiteral("There is no change order %1.").arg(number);
}

// The order's status in a sentence: "change order 3 is void".
QString statusWord(const ChangeOrder &order)
{
    return order.voided ? QStringLiteral("void") : ChangeOrders::statusName(order.status).toLower();
}

// What the order takes out of the contingency while it is in force.
Cents fromContingency(const ChangeOrder &order)
{
    return order.isInForce() && order.source == ChangeOrder::Source::Contingency ? order.amount : 0;
}
}

namespace ChangeOrders {

QString statusName(ChangeOrder::Status status)
{
    switch (status) {
    case ChangeOrder::Status::Pending:
        return QStringLiteral("Pending");
    case ChangeOrder::Status::Approved:
        return QStringLiteral("Approved");
    case ChangeOrder::Status::Rejected:
        return QStringLiteral("Rejected");
    }
    return {};
}

QString sourceName(ChangeOrder::Source source)
{
    switch (source) {
    case ChangeOrder::Source::Loan:
        return QStringLiteral("Loan");
    case ChangeOrder::Source::Contingency:
        return QStringLiteral("Contingency");
    case ChangeOrder::Source::OwnerCash:
        return QStringLiteral("Owner's cash");
    }
    return {};
}

QString statusText(const ChangeOrder &order)
{
    if (!order.voided)
        return statusName(order.status);
    const QString date = order.voided->date.toString(Qt::ISODate);
    return QStringLiteral("Void%1: %2")
        .arg(date.isEmpty() ? QString() : QStringLiteral(" on ") + date, order.voided->reason);
}

QStringList registerTitles()
{
    return {QStringLiteral("No."),    QStringLiteral("Date"),   QStringLiteral("Row"),   QStringLiteral("Description"),
            QStringLiteral("Amount"), QStringLiteral("Status"), QStringLiteral("Source")};
}

QStringList registerTexts(const Grid &grid, const ChangeOrder &order)
{
    return {QString::number(order.number),
            order.date.toString(Qt::ISODate),
            EstimateSheet::rowName(grid, order.row),
            order.description,
            MoneyCents::text(order.amount),
            statusText(order),
            sourceName(order.source)};
}

int nextNumber(const EstimateHistory &history)
{
    int highest = history.deletedChangeOrderNumber;
    for (const ChangeOrder &order : history.changeOrders)
        highest = std::max(highest, order.number);
    return highest + 1;
}

const ChangeOrder *find(const EstimateHistory &history, int number)
{
    const qsizetype index = indexOf(history, number);
    return index < 0 ? nullptr : &history.changeOrders.at(index);
}

bool put(EstimateSheet &sheet, EstimateHistory &history, const ChangeOrder &order, QString *errorString)
{
    if (!isItemRow(order.row))
        return Reasons::fail(errorString,
                             QStringLiteral("A change order belongs to one of the rows 1 to %1, not to row %2.")
                                 .arg(EstimateSheet::ItemRowCount)
                                 .arg(order.row));
    if (order.number < 1)
        return Reasons::fail(errorString,
                             QStringLiteral("A change order's number is 1 or more, not %1.").arg(order.number));
    const qsizetype stored = indexOf(history, order.number);
    if (stored >= 0 && history.changeOrders.at(stored).voided)
        return Reasons::fail(errorString,
                             QStringLiteral("Change order %1 is void: it stays as it was voided.").arg(order.number));
    return store(sheet, history, stored, order, errorString);
}

bool setStatus(EstimateSheet &sheet, EstimateHistory &history, int number, ChangeOrder::Status status,
               QString *errorString)
{
    const ChangeOrder *stored = find(history, number);
    if (!stored)
        return Reasons::fail(errorString, noSuchOrder(number));
    ChangeOrder changed = *stored;
    changed.status = status;
    return put(sheet, history, changed, errorString);
}

bool voidOrder(EstimateSheet &sheet, EstimateHistory &history, int number, const ChangeOrderVoid &voided,
               QString *errorString)
{
    const qsizetype stored = indexOf(history, number);
    if (stored < 0)
        return Reasons::fail(errorString, noSuchOrder(number));
    ChangeOrder changed = history.changeOrders.at(stored);
    if (!changed.isInForce())
        return Reasons::fail(errorString,
                             QStringLiteral("Only an approved change order is voided: change order %1 is %2.")
                                 .arg(number)
                                 .arg(statusWord(changed)));
    if (voided.reason.trimmed().isEmpty())
        return Reasons::fail(errorString, QStringLiteral("Say why change order %1 is voided.").arg(number));
    changed.voided = ChangeOrderVoid{voided.date, voided.reason.trimmed(), {}};
    return store(sheet, history, stored, changed, errorString);
}

bool remove(EstimateHistory &history, int number, QString *errorString)
{
    const qsizetype stored = indexOf(history, number);
    if (stored < 0)
        return Reasons::fail(errorString, noSuchOrder(number));
    const ChangeOrder &order = history.changeOrders.at(stored);
    if (order.isInForce())
        return Reasons::fail(
            errorString,
            QStringLiteral("Change order %1 is approved: void it instead, so that the register keeps it.").arg(number));
    if (order.status != ChangeOrder::Status::Pending || order.voided)
        return Reasons::fail(errorString,
                             QStringLiteral("Change order %1 is %2: only a pending change order may be deleted.")
                                 .arg(number)
                                 .arg(statusWord(order)));
    if (number == nextNumber(history) - 1)
        history.deletedChangeOrderNumber = number;
    history.changeOrders.removeAt(stored);
    return true;
}

QList<int> rowsTouched(const EstimateHistory &history, const ChangeOrder &order)
{
    QList<int> rows = {order.row, history.contingencyRow};
    if (const ChangeOrder *stored = find(history, order.number))
        rows << stored->row;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([](int row) { return !isItemRow(row); });
    return rows;
}

bool setContingencyRow(EstimateHistory &history, int row, QString *errorString)
{
    if (!isItemRow(row))
        return Reasons::fail(errorString,
                             QStringLiteral("The contingency is one of the rows 1 to %1, not row %2.")
                                 .arg(EstimateSheet::ItemRowCount)
                                 .arg(row));
    const bool drawnOn = std::any_of(history.changeOrders.cbegin(), history.changeOrders.cend(),
                                     [](const ChangeOrder &order) { return fromContingency(order) != 0; });
    if (drawnOn && row != history.contingencyRow)
        return Reasons::fail(errorString,
                             QStringLiteral("Approved change orders are funded from the contingency in row %1: "
                                            "reject them first, or they would be unaccounted for.")
                                 .arg(history.contingencyRow));
    history.contingencyRow = row;
    return true;
}

Cents contingencyLeft(const Grid &grid, const EstimateHistory &history)
{
    const int row = history.contingencyRow;
    return adjustedEstimate(grid, row).value_or(0) - MoneyCents::fromText(grid.text(row, Previous))
        - MoneyCents::fromText(grid.text(row, Current));
}

QString overdrawQuestion(const Grid &grid, const EstimateHistory &history, const ChangeOrder &order)
{
    const ChangeOrder *stored = find(history, order.number);
    const Cents more = fromContingency(order) - (stored ? fromContingency(*stored) : 0);
    const Cents left = contingencyLeft(grid, history);
    if (more <= 0 || more <= left)
        return {};
    return QStringLiteral("Change order %1 takes %2 from the contingency, which has %3 left. Approve it all the same?")
        .arg(order.number)
        .arg(MoneyCents::text(more), MoneyCents::text(left));
}

QList<HandEdit> handEdits(const Grid &grid, const EstimateHistory &history)
{
    QMap<int, Cents> moves;
    for (const ChangeOrder &order : history.changeOrders)
        addMoves(moves, order, history.contingencyRow, 1);
    QList<HandEdit> edits;
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        const std::optional<Cents> original = amountIn(grid.text(row, Original));
        const std::optional<Cents> adjusted = adjustedEstimate(grid, row);
        if (!original || !adjusted)
            continue;
        const Cents explained = *original + moves.value(row);
        if (*adjusted != explained)
            edits.append({row, *adjusted, explained});
    }
    return edits;
}

QString handEditText(const Grid &grid, const HandEdit &edit)
{
    return QStringLiteral("%1: the adjusted estimate, %2, is not the original plus the approved change orders, %3: "
                          "it was edited by hand.")
        .arg(EstimateSheet::rowName(grid, edit.row), MoneyCents::text(edit.adjusted), MoneyCents::text(edit.explained));
}

}
