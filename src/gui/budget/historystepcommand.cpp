#include "historystepcommand.h"

HistoryStepCommand::HistoryStepCommand(EstimateSheet &sheet, EstimateHistory &history, HistoryStep step,
                                       std::function<void()> applied, const QString &text)
    : QUndoCommand(text)
    , m_sheet(sheet)
    , m_history(history)
    , m_step(std::move(step))
    , m_applied(std::move(applied))
{
}

void HistoryStepCommand::undo()
{
    m_history = m_step.restoreBefore(m_sheet);
    m_applied();
}

void HistoryStepCommand::redo()
{
    // Pushed once the command has run: only a later redo has work to do.
    if (m_pushed) {
        m_history = m_step.restoreAfter(m_sheet);
        m_applied();
    }
    m_pushed = true;
}
