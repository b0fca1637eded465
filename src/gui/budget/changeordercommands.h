#pragma once

#include "core/history/estimatehistory.h"

#include <QList>
#include <QObject>

class EstimateSheet;
class QUndoStack;

// The register's commands on the estimate: each changes the sheet and the history together
// through the change orders' arithmetic and is one step on the window's Undo stack. A
// command that cannot be done changes nothing and says why.
class ChangeOrderCommands : public QObject
{
    Q_OBJECT

public:
    ChangeOrderCommands(EstimateSheet &sheet, EstimateHistory &history, QUndoStack &undoStack,
                        QObject *parent = nullptr);

    EstimateSheet &sheet() { return m_sheet; }
    const EstimateHistory &history() const { return m_history; }

    // Adds a new order or changes the one with its number.
    bool put(const ChangeOrder &order, QString *errorString = nullptr);
    bool setStatus(int number, ChangeOrder::Status status, QString *errorString = nullptr);
    bool remove(int number, QString *errorString = nullptr);
    bool setContingencyRow(int row, QString *errorString = nullptr);

signals:
    // A command, or its undo or redo, changed the sheet or the history.
    void applied();

private:
    template <typename Operation> bool perform(const QList<int> &rows, const QString &text, Operation operation);

    EstimateSheet &m_sheet;
    EstimateHistory &m_history;
    QUndoStack &m_undoStack;
};
