#include "changeordercommands.h"

#include "core/document/document.h"
#include "core/history/changeorders.h"
#include "gui/editing/historystepcommand.h"

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

ChangeOrderCommands::ChangeOrderCommands(Document &document, QUndoStack &undoStack, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_undoStack(undoStack)
{
}

EstimateSheet &ChangeOrderCommands::sheet() const
{
    return m_document.sheet();
}

const EstimateHistory &ChangeOrderCommands::history() const
{
    return m_document.history();
}

bool ChangeOrderCommands::perform(const QList<int> &rows, const QString &text, const HistoryEdit::Change &change)
{
    return HistoryStepCommand::perform(m_undoStack, m_document, rows, text, change);
}

bool ChangeOrderCommands::put(const ChangeOrder &order, QString *errorString)
{
    const bool isNew = !ChangeOrders::find(history(), order.number);
    const QString text = QStringLiteral("%1 Change Order %2")
                             .arg(isNew ? QStringLiteral("New") : QStringLiteral("Edit"))
                             .arg(order.number);
    return perform(ChangeOrders::rowsTouched(history(), order), text,
                   [&](EstimateHistory &history) { return ChangeOrders::put(sheet(), history, order, errorString); });
}

bool ChangeOrderCommands::setStatus(int number, ChangeOrder::Status status, QString *errorString)
{
    const ChangeOrder *order = ChangeOrders::find(history(), number);
    const QList<int> rows = order ? ChangeOrders::rowsTouched(history(), *order) : QList<int>();
    return perform(rows, QStringLiteral("%1 Change Order %2").arg(statusVerb(status)).arg(number),
                   [&](EstimateHistory &history) {
                       return ChangeOrders::setStatus(sheet(), history, number, status, errorString);
                   });
}

bool ChangeOrderCommands::voidOrder(int number, const ChangeOrderVoid &voided, QString *errorString)
{
    const ChangeOrder *order = ChangeOrders::find(history(), number);
    const QList<int> rows = order ? ChangeOrders::rowsTouched(history(), *order) : QList<int>();
    return perform(rows, QStringLiteral("Void Change Order %1").arg(number), [&](EstimateHistory &history) {
        return ChangeOrders::voidOrder(sheet(), history, number, voided, errorString);
    });
}

bool ChangeOrderCommands::remove(int number, QString *errorString)
{
    return perform({}, QStringLiteral("Delete Change Order %1").arg(number),
                   [&](EstimateHistory &history) { return ChangeOrders::remove(history, number, errorString); });
}

bool ChangeOrderCommands::setContingencyRow(int row, QString *errorString)
{
    return perform({}, QStringLiteral("Contingency Row"), [&](EstimateHistory &history) {
        return ChangeOrders::setContingencyRow(history, row, errorString);
    });
}
