#include "drawcommands.h"

#include "core/document/document.h"
#include "core/history/drawsnapshot.h"
#include "core/history/moneycents.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "drawquestion.h"
#include "gui/editing/edithistory.h"

#include <QUndoCommand>

// Puts one side of a change of the history back in the document.
class DrawCommands::HistoryChange : public QUndoCommand
{
public:
    HistoryChange(Document &document, EstimateHistory before, EstimateHistory after, const QString &name)
        : QUndoCommand(name)
        , m_document(document)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }

    void undo() override { m_document.setHistory(m_before); }
    void redo() override { m_document.setHistory(m_after); }

private:
    Document &m_document;
    const EstimateHistory m_before;
    const EstimateHistory m_after;
};

DrawCommands::DrawCommands(Document &document, EditHistory &edits, QWidget *owner)
    : QObject(owner)
    , m_document(document)
    , m_edits(edits)
    , m_owner(owner)
{
}

void DrawCommands::recordCurrentPayments()
{
    EstimateSheet &sheet = m_document.sheet();
    const Grid &grid = sheet.grid();
    const QList<int> rows = CurrentPayments::recordableRows(grid);
    if (rows.isEmpty())
        return;
    EstimateHistory history = m_document.history();
    const Cents total = DrawSnapshot::paidIn(DrawSnapshot::linesOf(grid, rows));
    const std::optional<DrawQuestion::Answer> answer = DrawQuestion::ask(
        m_owner, int(history.draws.size()) + 1, MoneyCents::text(total), CurrentPayments::leftOutRows(grid));
    if (!answer)
        return;

    const QString name = QStringLiteral("Record Current Payments");
    const EstimateHistory before = history;
    QUndoStack &stack = m_edits.stack();
    stack.beginMacro(name);
    m_edits.beginRowsChange(rows);
    CurrentPayments::recordDraw(sheet, history, rows, answer->date, answer->note);
    m_edits.endRowsChange(EstimateSheet::PreviousPaymentColumn, name);
    m_document.setHistory(history);
    pushHistoryChange(before, name);
    stack.endMacro();
}

void DrawCommands::setRetainage(int basisPoints)
{
    EstimateHistory history = m_document.history();
    if (history.retainageBasisPoints == basisPoints)
        return;
    const EstimateHistory before = history;
    history.retainageBasisPoints = basisPoints;
    m_document.setHistory(history);
    pushHistoryChange(before, QStringLiteral("Retainage"));
}

// The document holds the history after the change already; the step keeps both sides.
void DrawCommands::pushHistoryChange(const EstimateHistory &before, const QString &name)
{
    m_edits.stack().push(new HistoryChange(m_document, before, m_document.history(), name));
}
