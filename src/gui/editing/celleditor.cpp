#include "celleditor.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "gui/sheet/gridview.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
constexpr ushort EnterKey = 13;
constexpr ushort BackspaceKey = 8;
constexpr ushort TabKey = 9;
constexpr ushort EscapeKey = 27;

bool passesMoneyFilter(QChar key)
{
    const ushort code = key.unicode();
    // Credits and refunds are written with a minus sign or in parentheses.
    const bool marksCredit = key == u'-' || key == u'(' || key == u')';
    return (key >= u'0' && key <= u'9') || key == u'.' || marksCredit || code == BackspaceKey || code == TabKey;
}

bool isBacktab(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    return event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier));
}
}

CellEditor::CellEditor(EstimateSheet &sheet, GridView *grdMain, QLineEdit *txtCell, QLineEdit *txtTemp, QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
    , grdMain(grdMain)
    , txtCell(txtCell)
    , txtTemp(txtTemp)
{
    txtCell->hide();
    txtCell->installEventFilter(this);
    txtTemp->installEventFilter(this);
    grdMain->installEventFilter(this);

    Grid &grid = sheet.grid();
    connect(&grid, &Grid::leavingCell, this, &CellEditor::grdMain_LeaveCell);
    connect(grdMain, &GridView::cellDoubleClicked, this, &CellEditor::grdMain_DblClick);
    connect(grdMain, &GridView::characterTyped, this, [this](QChar key) { grdMain_KeyPress(key); });
    connect(grdMain, &GridView::cellsMoved, this, &CellEditor::followCell);
}

bool CellEditor::isOpen() const
{
    return m_open;
}

void CellEditor::openEditor()
{
    grdMain->scrollToCurrentCell();
    m_open = true;
    followCell();
}

void CellEditor::followCell()
{
    if (!m_open)
        return;
    const Grid &grid = m_sheet.grid();
    const QRect shown = grdMain->shownCellRect(grid.currentRow(), grid.currentColumn());
    if (shown.isEmpty()) {
        // Hiding the focused editor would hand the focus to the tab trap, which moves the
        // current cell and so commits: the grid keeps the focus until the cell is back.
        if (txtCell->hasFocus())
            grdMain->setFocus(Qt::OtherFocusReason);
        txtCell->hide();
        return;
    }
    const bool returning = txtCell->isHidden();
    txtCell->setGeometry(shown.translated(grdMain->geometry().topLeft()));
    txtCell->show();
    txtCell->raise();
    if (returning && grdMain->hasFocus())
        txtCell->setFocus(Qt::OtherFocusReason);
}

void CellEditor::closeEditor()
{
    m_open = false;
    // Hiding the focused editor would hand the focus to the next tab stop, the tab trap,
    // which moves the current cell: the grid takes it first.
    if (txtCell->hasFocus())
        grdMain->setFocus(Qt::OtherFocusReason);
    txtCell->hide();
}

void CellEditor::cancel()
{
    // The cell was never written while the edit was open: it still shows its old text.
    if (m_open)
        closeEditor();
}

QString CellEditor::plainText(bool emptyMoneyAsZero) const
{
    const Grid &grid = m_sheet.grid();
    const QString &text = grid.text(grid.currentRow(), grid.currentColumn());
    if (!EstimateSheet::isMoneyColumn(grid.currentColumn()))
        return text;
    if (text.isEmpty() && !emptyMoneyAsZero)
        return text;
    return Money::plainNumberText(Money::ReadMoneyValue(text));
}

void CellEditor::openWith(const QString &text, int caret)
{
    txtCell->setText(text);
    txtCell->setCursorPosition(caret);
    txtCell->setFocus(Qt::OtherFocusReason);
}

void CellEditor::grdMain_DblClick()
{
    if (m_sheet.grid().currentColumn() == EstimateSheet::CostToCompleteColumn)
        return;
    openEditor();
    const QString text = plainText(false);
    openWith(text, int(text.size()));
}

void CellEditor::mnuEditCell_Click()
{
    openEditor();
    const QString text = plainText(true);
    openWith(text, int(text.size()));
}

void CellEditor::grdMain_KeyPress(QChar &key)
{
    // Escape takes back an edit whose cell is scrolled out of view, and opens nothing.
    if (key.unicode() == EscapeKey) {
        cancel();
        return;
    }
    Grid &grid = m_sheet.grid();
    const int row = grid.currentRow();
    if (row == 0 || row == EstimateSheet::TotalRow || grid.currentColumn() == EstimateSheet::CostToCompleteColumn)
        return;
    if (key.unicode() == EnterKey) {
        grid.setCurrentRow(row + 1);
        grdMain->scrollToCurrentCell();
        return;
    }
    txtCell_KeyPress(key);
    // A key that cannot go into the cell opens no editor, which would empty the cell once
    // the user moves on.
    if (key.isNull())
        return;
    openEditor();
    // A control character such as Backspace opens the editor empty rather than putting an
    // invisible character into the cell.
    const QString text = key.unicode() < 32 ? QString() : QString(key);
    openWith(text, int(text.size()));
}

void CellEditor::txtCell_KeyPress(QChar &key)
{
    if (key.unicode() == EnterKey) {
        commitAndMoveDown();
        return;
    }
    if (EstimateSheet::isMoneyColumn(m_sheet.grid().currentColumn()) && !passesMoneyFilter(key))
        key = QChar(0);
}

void CellEditor::commitAndMoveDown()
{
    grdMain->setFocus(Qt::OtherFocusReason);
    Grid &grid = m_sheet.grid();
    // There is no row below the totals: the edit goes in and the cell stays current.
    if (grid.currentRow() == EstimateSheet::TotalRow) {
        commitInPlace();
        return;
    }
    grid.setCurrentRow(grid.currentRow() + 1);
    grdMain->scrollToCurrentCell();
}

void CellEditor::commitAndMoveLeft()
{
    grdMain->setFocus(Qt::BacktabFocusReason);
    Grid &grid = m_sheet.grid();
    const int column = grid.currentColumn();
    grid.setCurrentColumn(column == 1 ? EstimateSheet::DataColumnCount : column - 1);
    grdMain->scrollToCurrentCell();
}

void CellEditor::grdMain_LeaveCell()
{
    commitInPlace();
}

void CellEditor::commitInPlace()
{
    if (!isOpen())
        return;
    Grid &grid = m_sheet.grid();
    const int row = grid.currentRow();
    const int column = grid.currentColumn();
    emit committing(row, column);
    grid.setText(row, column, txtCell->text());
    // Closed before the recalculation, so that the cell moves it makes commit nothing twice.
    closeEditor();
    if (EstimateSheet::isMoneyColumn(column)) {
        m_sheet.FormatMoneyCell(row, column);
        m_sheet.RecalculateTotals();
    }
    emit committed(row, column);
}

void CellEditor::txtTemp_GotFocus()
{
    Grid &grid = m_sheet.grid();
    // Coming into the sheet for the first time, the user starts at its first cell, not
    // beside wherever the building of the sheet left the current cell.
    if (!m_gridEntered) {
        grid.setCurrentCell(grid.fixedRows(), grid.fixedColumns());
    } else {
        const int column = grid.currentColumn();
        grid.setCurrentColumn(column == EstimateSheet::DataColumnCount ? 1 : column + 1);
    }
    grdMain->setFocus(Qt::TabFocusReason);
    grdMain->scrollToCurrentCell();
}

bool CellEditor::filterEditorKey(QKeyEvent *event)
{
    if (isBacktab(event)) {
        commitAndMoveLeft();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    QString keys;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        keys = QChar(EnterKey);
        break;
    case Qt::Key_Backspace:
        keys = QChar(BackspaceKey);
        break;
    case Qt::Key_Tab:
        keys = QChar(TabKey);
        break;
    default:
        if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        keys = event->text();
    }
    if (keys.isEmpty())
        return false;
    bool discarded = false;
    for (QChar key : keys) {
        txtCell_KeyPress(key);
        discarded = discarded || key.isNull() || key.unicode() == EnterKey;
    }
    return discarded;
}

bool CellEditor::filterGridEvent(QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        m_gridEntered = true;
    // Shift+Tab mirrors Tab here rather than going back to the tab trap, which moves right.
    if (event->type() == QEvent::KeyPress && isBacktab(static_cast<QKeyEvent *>(event))) {
        commitAndMoveLeft();
        return true;
    }
    return false;
}

bool CellEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtCell && event->type() == QEvent::KeyPress)
        return filterEditorKey(static_cast<QKeyEvent *>(event));
    if (watched == grdMain && filterGridEvent(event))
        return true;
    if (watched == txtTemp && event->type() == QEvent::FocusIn)
        txtTemp_GotFocus();
    return QObject::eventFilter(watched, event);
}
