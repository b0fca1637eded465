#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class CellEditor;
class EstimateSheet;
class QWidget;

// Cut, Copy, Paste and Delete on whichever control of the main window has the focus: on
// the grid the whole text of the current cell, on a text box its selected text. A block
// copied from a spreadsheet (fields between tabs and line breaks) pastes into as many grid
// cells. Only plain text goes to and from the system clipboard. On the grid a command works on
// the current cell as the user sees it: while an edit is open over it, that is the edit's text,
// and a command that writes the cell writes over the edit, so that the row follows the cell.
class ClipboardCommands : public QObject
{
    Q_OBJECT

public:
    ClipboardCommands(EstimateSheet &sheet, CellEditor &editor, QWidget *window, QObject *parent = nullptr);

    void cut();
    void copy();
    void paste();
    // The current cell on the grid, the selected text in a text box.
    void deleteSelection();

signals:
    // The command is about to replace the text of grid cell (row, column), and did.
    void replacingCell(int row, int column);
    void replacedCell(int row, int column, const QString &commandName);
    // A block paste is about to replace texts of the given rows, and did, in one command.
    void replacingRows(const QList<int> &rows);
    void replacedRows(int column, const QString &commandName);
    // A block paste had more lines than rows below the current one: count were left out.
    void rowsLeftOut(int count);

private:
    bool gridHasFocus() const;
    // The text box of the main window that has the focus, if one has.
    QWidget *focusedTextBox() const;
    // The current cell's text as it goes onto the clipboard.
    QString gridCellText() const;
    void replaceGridCell(const QString &text, const QString &commandName);
    void pasteBlock(const QList<QStringList> &lines);
    QString selectedText(QWidget *control) const;
    void replaceSelection(QWidget *control, const QString &text) const;
    static void putOnClipboard(const QString &text);
    static QString clipboardText();

    EstimateSheet &m_sheet;
    CellEditor &m_editor;
    QWidget *const m_window;
};
