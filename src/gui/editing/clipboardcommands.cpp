#include "clipboardcommands.h"

#include "core/sheet/estimatesheet.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

ClipboardCommands::ClipboardCommands(EstimateSheet &sheet, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
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
    return grid.text(grid.currentRow(), grid.currentColumn());
}

void ClipboardCommands::replaceGridCell(const QString &text, const QString &commandName)
{
    Grid &grid = m_sheet.grid();
    const int row = grid.currentRow();
    const int column = grid.currentColumn();
    emit replacingCell(row, column);
    grid.setText(row, column, text);
    m_sheet.RecalculateTotals();
    emit replacedCell(row, column, commandName);
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

void ClipboardCommands::mnuCut_Click()
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

void ClipboardCommands::mnuCopy_Click()
{
    if (gridHasFocus())
        putOnClipboard(gridCellText());
    else if (QWidget *textBox = focusedTextBox())
        putOnClipboard(selectedText(textBox));
}

void ClipboardCommands::mnuPaste_Click()
{
    if (gridHasFocus())
        replaceGridCell(clipboardText(), QStringLiteral("Paste"));
    else if (QWidget *textBox = focusedTextBox())
        replaceSelection(textBox, clipboardText());
}

void ClipboardCommands::mnuDelete_Click()
{
    if (gridHasFocus())
        replaceGridCell(QString(), QStringLiteral("Delete"));
    else if (QWidget *textBox = focusedTextBox(); textBox && !selectedText(textBox).isEmpty())
        replaceSelection(textBox, QString());
}
