#pragma once

#include "core/history/historystep.h"

#include <QUndoCommand>

class Document;

// One Undo step of a command that changed rows of the sheet and the history together: Undo
// puts back the rows' texts and the history from before it, Redo those from after it.
class HistoryStepCommand : public QUndoCommand
{
public:
    HistoryStepCommand(EstimateSheet &sheet, Document &document, HistoryStep step, const QString &text);

    void undo() override;
    void redo() override;

private:
    EstimateSheet &m_sheet;
    Document &m_document;
    const HistoryStep m_step;
    bool m_pushed = false;
};
