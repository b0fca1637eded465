#pragma once

#include "core/history/historyedit.h"

#include <QUndoCommand>

class Document;
class QUndoStack;

// One Undo step of a command that changed rows of the sheet and the history together: Undo
// puts back the rows' texts and the history from before it, Redo those from after it.
class HistoryStepCommand : public QUndoCommand
{
public:
    HistoryStepCommand(EstimateSheet &sheet, Document &document, HistoryStep step, const QString &text);

    // Makes the change to the document's history and the rows named, and pushes the step
    // when it changed something; false when the change refused.
    static bool perform(QUndoStack &undoStack, Document &document, const QList<int> &rows, const QString &text,
                        const HistoryEdit::Change &change);

    void undo() override;
    void redo() override;

private:
    EstimateSheet &m_sheet;
    Document &m_document;
    const HistoryStep m_step;
    bool m_pushed = false;
};
