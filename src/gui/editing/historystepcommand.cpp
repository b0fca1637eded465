#include "historystepcommand.h"

#include "core/document/document.h"

#include <QUndoStack>

HistoryStepCommand::HistoryStepCommand(EstimateSheet &sheet, Document &document, HistoryStep step, const QString &text)
    : QUndoCommand(text)
    , m_sheet(sheet)
    , m_document(document)
    , m_step(std::move(step))
{
}

void HistoryStepCommand::undo()
{
    m_document.setHistory(m_step.restoreBefore(m_sheet));
}

void HistoryStepCommand::redo()
{
    // Pushed once the command has run: only a later redo has work to do.
    if (m_pushed)
        m_document.setHistory(m_step.restoreAfter(m_sheet));
    m_pushed = true;
}

bool HistoryStepCommand::perform(QUndoStack &undoStack, Document &document, const QList<int> &rows, const QString &text,
                                 const HistoryEdit::Change &change)
{
    const HistoryEdit edit(document.sheet(), document.history(), rows, change);
    if (edit.step()) {
        document.setHistory(edit.history());
        undoStack.push(new HistoryStepCommand(document.sheet(), document, *edit.step(), text));
    }
    return !edit.isRefused();
}
