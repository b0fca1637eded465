#pragma once

#include "core/history/historystep.h"

#include <QUndoCommand>

#include <functional>

// One Undo step of a command that changed rows of the sheet and the history together: Undo
// puts back the rows' texts and the history from before it, Redo those from after it.
class HistoryStepCommand : public QUndoCommand
{
public:
    // applied is called after each undo and redo.
    HistoryStepCommand(EstimateSheet &sheet, EstimateHistory &history, HistoryStep step, std::function<void()> applied,
                       const QString &text);

    void undo() override;
    void redo() override;

private:
    EstimateSheet &m_sheet;
    EstimateHistory &m_history;
    const HistoryStep m_step;
    const std::function<void()> m_applied;
    bool m_pushed = false;
};
