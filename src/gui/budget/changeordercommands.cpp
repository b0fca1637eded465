#include "changeordercommands.h"

#include "core/history/changeorders.h"
#include "historystepcommand.h"

#include <QUndoStack>

namespace {
QString statusVerb(ChangeOrder::Status status)
{
    switch (status) {
    case ChangeOrder::Status::Approved:
        return QStringLiteral("Approve");
    case ChangeOrder::Status::Rejected:
        return QStringLiteral("Reject");
    case ChangeOrder::Status::Pending:
        break;
    }
    return QStringLiteral("Reopen");
}
}

ChangeOrderCommands::ChangeOrderCommands(EstimateSheet &sheet, EstimateHistory &history, QUndoStack &undoStack,
                                         QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
    , m_history(history)
    , m_undoStack(undoStack)
{
}

template <typename Operation>
bool ChangeOrderCommands::perform(const QList<int> &rows, const QString &text, Operation operation)
{
    HistoryStep step(m_sheet, m_history, rows);
    if (!operation())
        return false;
    step.finish(m_sheet, m_history);
    if (step.changesSomething())
        m_undoStack.push(new HistoryStepCommand(
            m_sheet, m_history, std::move(step), [this] { emit applied(); }, text));
    emit applied();
    return true;
}

bool ChangeOrderCommands::put(const ChangeOrder &order, QString *errorString)
{
    const bool isNew = !ChangeOrders::find(m_history, order.number);
    const QString text = QStringLiteral("%1 Change Order %2")
                             .arg(isNew ? QStringLiteral("New") : QStringLiteral("Edit"))
                             .arg(order.number);
    return perform(ChangeOrders::rowsTouched(m_history, order), text,
                   [&] { return ChangeOrders::put(m_sheet, m_history, order, errorString); });
}

bool ChangeOrderCommands::setStatus(int number, ChangeOrder::Status status, QString *errorString)
{
    const ChangeOrder *order = ChangeOrders::find(m_history, number);
    const QList<int> rows = order ? ChangeOrders::rowsTouched(m_history, *order) : QList<int>();
    return perform(rows, QStringLiteral("%1 Change Order %2").arg(statusVerb(status)).arg(number),
                   [&] { return ChangeOrders::setStatus(m_sheet, m_history, number, status, errorString); });
}

bool ChangeOrderCommands::remove(int number, QString *errorString)
{
    const ChangeOrder *order = ChangeOrders::find(m_history, number);
    const QList<int> rows = order ? ChangeOrders::rowsTouched(m_history, *order) : QList<int>();
    return perform(rows, QStringLiteral("Delete Change Order %1").arg(number),
                   [&] { return ChangeOrders::remove(m_sheet, m_history, number, errorString); });
}

bool ChangeOrderCommands::setContingencyRow(int row, QString *errorString)
{
    return perform({}, QStringLiteral("Contingency Row"),
                   [&] { return ChangeOrders::setContingencyRow(m_history, row, errorString); });
}
