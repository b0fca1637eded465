#include "edithistory.h"

#include "celleditor.h"
#include "clipboardcommands.h"
#include "core/sheet/estimatesheet.h"

class EditHistory::RowChange : public QUndoCommand
{
public:
    RowChange(EditHistory &history, int row, int column, RowTexts before, RowTexts after)
        : m_history(history)
        , m_row(row)
        , m_column(column)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }

    void undo() override { m_history.apply(m_row, m_column, m_before); }

    void redo() override
    {
        // Pushed once the change has been made: only a later redo has work to do.
        if (m_pushed)
            m_history.apply(m_row, m_column, m_after);
        m_pushed = true;
    }

private:
    EditHistory &m_history;
    const int m_row;
    const int m_column;
    const RowTexts m_before;
    const RowTexts m_after;
    bool m_pushed = false;
};

EditHistory::EditHistory(EstimateSheet &sheet, QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
{
}

EditHistory::RowTexts EditHistory::rowTexts(int row) const
{
    RowTexts texts;
    for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column)
        texts[size_t(column - 1)] = m_sheet.grid().text(row, column);
    return texts;
}

void EditHistory::follow(const CellEditor &editor, const ClipboardCommands &clipboard)
{
    connect(&editor, &CellEditor::committing, this, &EditHistory::beginChange);
    connect(&editor, &CellEditor::committed, this,
            [this](int row, int column) { endChange(row, column, QStringLiteral("Typing")); });
    connect(&clipboard, &ClipboardCommands::replacingCell, this, &EditHistory::beginChange);
    connect(&clipboard, &ClipboardCommands::replacedCell, this, &EditHistory::endChange);
    connect(&clipboard, &ClipboardCommands::replacingRows, this, &EditHistory::beginRowsChange);
    connect(&clipboard, &ClipboardCommands::replacedRows, this, &EditHistory::endRowsChange);
}

void EditHistory::beginChange(int row, int)
{
    m_before = rowTexts(row);
}

void EditHistory::endChange(int row, int column, const QString &commandName)
{
    RowTexts after = rowTexts(row);
    if (after == m_before)
        return;
    auto *change = new RowChange(*this, row, column, m_before, std::move(after));
    // The row is named by its category, as it reads once the change is made.
    const QString category = m_sheet.grid().text(row, EstimateSheet::DescriptionColumn);
    change->setText(category.isEmpty() ? commandName : QStringLiteral("%1 in %2").arg(commandName, category));
    m_stack.push(change);
}

void EditHistory::beginRowsChange(const QList<int> &rows)
{
    m_rowsBefore.clear();
    for (const int row : rows)
        m_rowsBefore.append({row, rowTexts(row)});
}

void EditHistory::endRowsChange(int column, const QString &commandName)
{
    QList<RowChange *> changes;
    for (const auto &[row, before] : std::as_const(m_rowsBefore)) {
        RowTexts after = rowTexts(row);
        if (after != before)
            changes << new RowChange(*this, row, column, before, std::move(after));
    }
    m_rowsBefore.clear();
    if (changes.isEmpty())
        return;
    m_stack.beginMacro(commandName);
    for (RowChange *change : std::as_const(changes))
        m_stack.push(change);
    m_stack.endMacro();
}

void EditHistory::apply(int row, int column, const RowTexts &texts)
{
    Grid &grid = m_sheet.grid();
    for (int c = 1; c <= EstimateSheet::DataColumnCount; ++c)
        grid.setText(row, c, texts[size_t(c - 1)]);
    grid.setCurrentCell(row, column);
    m_sheet.RecalculateTotals();
    emit applied();
}
