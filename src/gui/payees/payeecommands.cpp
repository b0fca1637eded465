#include "payeecommands.h"

#include "core/document/document.h"
#include "core/history/lienwaivers.h"
#include "core/history/payees.h"
#include "gui/editing/historystepcommand.h"

#include <QUndoStack>

PayeeCommands::PayeeCommands(Document &document, QUndoStack &undoStack, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_undoStack(undoStack)
{
}

const EstimateHistory &PayeeCommands::history() const
{
    return m_document.history();
}

// The payees touch no row of the sheet: the history alone goes back and forth.
bool PayeeCommands::perform(const QString &text, const HistoryEdit::Change &change)
{
    return HistoryStepCommand::perform(m_undoStack, m_document, {}, text, change);
}

bool PayeeCommands::put(const Payee &payee, QString *errorString)
{
    const QString text = Payees::find(history(), payee.number) ? QStringLiteral("Payee %1").arg(payee.number)
                                                               : QStringLiteral("Add Payee");
    return perform(text, [&](EstimateHistory &history) { return Payees::put(history, payee, errorString); });
}

bool PayeeCommands::remove(int number, QString *errorString)
{
    return perform(QStringLiteral("Delete Payee %1").arg(number),
                   [&](EstimateHistory &history) { return Payees::remove(history, number, errorString); });
}

bool PayeeCommands::addWaiver(const LienWaiver &waiver, QString *errorString)
{
    return perform(QStringLiteral("Lien Waiver"),
                   [&](EstimateHistory &history) { return LienWaivers::add(history, waiver, errorString); });
}

bool PayeeCommands::markReceived(const LienWaiver &waiver, QString *errorString)
{
    return perform(QStringLiteral("Lien Waiver Received"),
                   [&](EstimateHistory &history) { return LienWaivers::markReceived(history, waiver, errorString); });
}

bool PayeeCommands::removeWaiver(const LienWaiver &waiver, QString *errorString)
{
    return perform(QStringLiteral("Remove Lien Waiver"), [&](EstimateHistory &history) {
        return LienWaivers::remove(history, waiver.payee, waiver.draw, waiver.kind, errorString);
    });
}
