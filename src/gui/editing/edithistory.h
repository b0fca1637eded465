#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>

class CellEditor;
class ClipboardCommands;
class EstimateSheet;

// Undo and redo for what changes the texts of the sheet: committed edits and Cut, Paste
// and Delete on the grid. A change is kept as its row before and after, so that undoing
// it also takes back what the recalculation filled in (the adjusted estimate copied from
// the original one), and the row and the totals are recomputed as after an edit.
class EditHistory : public QObject
{
    Q_OBJECT

public:
    explicit EditHistory(EstimateSheet &sheet, QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }
    // Keeps each edit the editor commits and each change the clipboard commands make.
    void follow(const CellEditor &editor, const ClipboardCommands &clipboard);

    // Called around a change of cell (row, column) made by the command of that name.
    void beginChange(int row, int column);
    void endChange(int row, int column, const QString &commandName);
    // Called around a change of several rows made by one command, which Undo takes back
    // as one step; column is the cell each row's undo makes current.
    void beginRowsChange(const QList<int> &rows);
    void endRowsChange(int column, const QString &commandName);
    void clear() { m_stack.clear(); }

signals:
    // An undo or redo changed the sheet.
    void applied();

private:
    class RowChange;
    using RowTexts = std::array<QString, 7>;

    RowTexts rowTexts(int row) const;
    void apply(int row, int column, const RowTexts &texts);

    EstimateSheet &m_sheet;
    QUndoStack m_stack;
    RowTexts m_before;
    QList<std::pair<int, RowTexts>> m_rowsBefore;
};
