#include "clipboardcommands.h"

#include "celleditor.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/tabseparatedtext.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace {
// The cells of a text on the clipboard. Only a text with tabs or line breaks comes from a
// spreadsheet; any other, quotes and all, is one cell as it stands.
QList<QStringList> pastedCells(const QString &text)
{
    const bool fromSpreadsheet = text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r');
    return fromSpreadsheet ? TabSeparatedText::read(text) : QList<QStringList>{{text}};
}
}

ClipboardCommands::ClipboardCommands(EstimateSheet &sheet, CellEditor &editor, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
    , m_editor(editor)
    , m_window(window)
{
}

bool ClipboardCommands::gridHasFocus() const
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && focused->objectName() == u"grdMain";
}

QString ClipboardCommands::gridCellText() const
{
    const Grid &grid = m_sheet.grid();
    const QString &text = m_editor.isOpen() ? m_editor.text() : grid.text(grid.currentRow(), grid.currentColumn());
    return TabSeparatedText::cellText(text);
}

void ClipboardCommands::replaceGridCell(const QString &text, const QString &commandName)
{
    Grid &grid = m_sheet.grid();
    const int row = grid.currentRow();
    const int column = grid.currentColumn();
    // Put in afterwards, the edit would write over the cell the row was just worked out from.
    m_editor.cancel();
    emit replacingCell(row, column);
    grid.setText(row, column, text);
    // A pasted amount is written as money, as when it is typed.
    m_sheet.FormatMoneyCell(row, column);
    m_sheet.RecalculateTotals();
    emit replacedCell(row, column, commandName);
}

// Each field lands in its own cell as if typed there; fields beyond the last item row or
// the last column a user can type into are left out, so the totals stay computed.
void ClipboardCommands::pasteBlock(const QList<QStringList> &lines)
{
    Grid &grid = m_sheet.grid();
    const int top = grid.currentRow();
    const int left = grid.currentColumn();
    const int lastRow = std::min<int>(EstimateSheet::ItemRowCount, top + int(lines.size()) - 1);
    QList<int> rows;
    for (int row = top; row <= lastRow; ++row)
        rows.append(row);
    if (const int leftOut = int(lines.size() - rows.size()); leftOut > 0)
        emit rowsLeftOut(leftOut);
    if (rows.isEmpty())
        return;

    m_editor.cancel();
    emit replacingRows(rows);
    for (int row = top; row <= lastRow; ++row) {
        const QStringList &fields = lines.at(row - top);
        const int lastColumn = std::min<int>(EstimateSheet::CostToCompleteColumn - 1, left + int(fields.size()) - 1);
        for (int column = left; column <= lastColumn; ++column) {
            grid.setText(row, column, fields.at(column - left).trimmed());
            m_sheet.FormatMoneyCell(row, column);
        }
        m_sheet.recalculateRow(row);
    }
    m_sheet.recalculateColumnTotals();
    emit replacedRows(left, QStringLiteral("Paste"));
}

QString ClipboardCommands::selectedText(QWidget *control) const
{
    if (const auto *line = qobject_cast<QLineEdit *>(control))
        return line->selectedText();
    if (const auto *box = qobject_cast<QPlainTextEdit *>(control)) {
        // Line breaks of a selection come as paragraph separators.
        return box->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
    }
    return QString();
}

void ClipboardCommands::replaceSelection(QWidget *control, const QString &text) const
{
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        // Typed in, so the text box's own undo and change notifications follow it.
        line->insert(text);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(control)) {
        box->insertPlainText(text);
        // Pasted lines below the box's last line would otherwise stay out of sight.
        box->ensureCursorVisible();
    }
}

void ClipboardCommands::putOnClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString ClipboardCommands::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QWidget *ClipboardCommands::focusedTextBox() const
{
    QWidget *focused = QApplication::focusWidget();
    const bool isTextBox = qobject_cast<QLineEdit *>(focused) || qobject_cast<QPlainTextEdit *>(focused);
    return isTextBox && focused->window() == m_window ? focused : nullptr;
}

void ClipboardCommands::cut()
{
    if (gridHasFocus()) {
        putOnClipboard(gridCellText());
        replaceGridCell(QString(), QStringLiteral("Cut"));
    } else if (QWidget *textBox = focusedTextBox()) {
        const QString selected = selectedText(textBox);
        putOnClipboard(selected);
        if (!selected.isEmpty())
            replaceSelection(textBox, QString());
    }
}

void ClipboardCommands::copy()
{
    if (gridHasFocus())
        putOnClipboard(gridCellText());
    else if (QWidget *textBox = focusedTextBox())
        putOnClipboard(selectedText(textBox));
}

void ClipboardCommands::paste()
{
    const QString text = clipboardText();
    // On X11 the clipboard dies with the program that copied: a paste of nothing keeps the
    // cell or the selection it would have emptied.
    if (text.isEmpty())
        return;
    if (gridHasFocus()) {
        // A single cell copied from a spreadsheet, with the line break after it, is one cell,
        // its blanks trimmed as in a block.
        const QList<QStringList> cells = pastedCells(text);
        if (cells.size() == 1 && cells.first().size() == 1)
            replaceGridCell(cells.first().first().trimmed(), QStringLiteral("Paste"));
        else
            pasteBlock(cells);
    } else if (QWidget *textBox = focusedTextBox())
        replaceSelection(textBox, text);
}

void ClipboardCommands::deleteSelection()
{
    if (gridHasFocus())
        replaceGridCell(QString(), QStringLiteral("Delete"));
    else if (QWidget *textBox = focusedTextBox(); textBox && !selectedText(textBox).isEmpty())
        replaceSelection(textBox, QString());
}
