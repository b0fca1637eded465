#include "celleditor.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "gui/sheet/gridview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
constexpr ushort EnterKey = 13;
constexpr ushort BackspaceKey = 8;
constexpr ushort EscapeKey = 27;

bool isBackwards(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
}

bool isTabKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}

// Tab or Shift+Tab as a move between cells; Ctrl goes with a move between fields.
bool isPlainTab(const QKeyEvent *event)
{
    return isTabKey(event) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool isBacktab(const QKeyEvent *event)
{
    return isPlainTab(event) && isBackwards(event);
}

bool isControlTab(const QKeyEvent *event)
{
    return isTabKey(event) && (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier);
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

QString CellEditor::text() const
{
    return txtCell->text();
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
    // A note opens as it was written, so that editing it loses nothing.
    if ((text.isEmpty() && !emptyMoneyAsZero) || Money::holdsNote(text))
        return text;
    return Money::plainNumberText(Money::ReadMoneyValue(text));
}

void CellEditor::openWith(const QString &text)
{
    txtCell->setText(text);
    // An amount of nothing is there to be typed over: digits typed after it would make a
    // note of a grouped amount ("01,500").
    if (text == u"0" && EstimateSheet::isMoneyColumn(m_sheet.grid().currentColumn()))
        txtCell->selectAll();
    else
        txtCell->setCursorPosition(int(text.size()));
    txtCell->setFocus(Qt::OtherFocusReason);
}

void CellEditor::grdMain_DblClick()
{
    if (m_sheet.grid().currentColumn() == EstimateSheet::CostToCompleteColumn)
        return;
    openEditor();
    openWith(plainText(false));
}

void CellEditor::editCurrentCell()
{
    // Over an open edit, as in a spreadsheet, F2 goes back to the end of what was typed
    // rather than throwing it away.
    if (m_open) {
        openEditor();
        txtCell->deselect();
        txtCell->end(false);
        txtCell->setFocus(Qt::OtherFocusReason);
        return;
    }
    openEditor();
    openWith(plainText(true));
}

void CellEditor::grdMain_KeyPress(QChar &key)
{
    // Escape takes back an edit whose cell is scrolled out of view, and opens nothing.
    if (key.unicode() == EscapeKey) {
        cancel();
        return;
    }
    if (m_open) {
        continueEdit(key);
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
    // A blank alone holds no amount: it would only empty the cell once the user moves on.
    if (key == u' ' && EstimateSheet::isMoneyColumn(grid.currentColumn()))
        return;
    openEditor();
    // The typed character replaces whatever the editor held; a control character such as
    // Backspace opens the editor empty rather than putting an invisible character into the cell.
    openWith(key.unicode() < 32 ? QString() : QString(key));
}

// A key typed in the grid while the edit is open, its cell scrolled out of view or the grid
// clicked, goes on with the edit; only Enter, Tab or a move puts it in.
void CellEditor::continueEdit(QChar key)
{
    if (key.unicode() == EnterKey) {
        commitAndMoveDown();
        return;
    }
    openEditor();
    txtCell->setFocus(Qt::OtherFocusReason);
    const bool backspace = key.unicode() == BackspaceKey;
    QKeyEvent press(QEvent::KeyPress, backspace ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier,
                    backspace ? QString() : QString(key));
    QCoreApplication::sendEvent(txtCell, &press);
}

// Every character goes into the entry, a money entry's too: a key dropped from the middle of
// an amount would run its digits together ("300-450" into 300450), where the whole text,
// as a paste of it, is a note the user sees and can mend.
void CellEditor::txtCell_KeyPress(QChar key)
{
    if (key.unicode() == EnterKey)
        commitAndMoveDown();
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

void CellEditor::commitAndMoveRight()
{
    Grid &grid = m_sheet.grid();
    const int column = grid.currentColumn();
    grid.setCurrentColumn(column == EstimateSheet::DataColumnCount ? 1 : column + 1);
    grdMain->scrollToCurrentCell();
}

// The field before or after the sheet in the tab order, passing over the editor and the tab
// trap, which lead back into the sheet. An open edit stays open, as when a field is clicked.
void CellEditor::leaveSheet(bool forwards)
{
    QWidget *field = grdMain;
    do {
        field = forwards ? field->nextInFocusChain() : field->previousInFocusChain();
        const bool takesTab = field->isVisible() && field->isEnabled() && (field->focusPolicy() & Qt::TabFocus);
        if (takesTab && field != txtCell && field != txtTemp && field->window() == grdMain->window()) {
            field->setFocus(forwards ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (field != grdMain);
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
    // Coming into the sheet for the first time, the user starts at its first cell, not
    // beside wherever the building of the sheet left the current cell.
    if (!m_gridEntered) {
        Grid &grid = m_sheet.grid();
        grid.setCurrentCell(grid.fixedRows(), grid.fixedColumns());
        grdMain->scrollToCurrentCell();
    } else {
        commitAndMoveRight();
    }
    grdMain->setFocus(Qt::TabFocusReason);
}

bool CellEditor::filterEditorKey(QKeyEvent *event)
{
    if (isBacktab(event)) {
        commitAndMoveLeft();
        return true;
    }
    if (isControlTab(event)) {
        leaveSheet(!isBackwards(event));
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    txtCell_KeyPress(QChar(EnterKey));
    return true;
}

bool CellEditor::filterGridEvent(QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        m_gridEntered = true;
    if (event->type() != QEvent::KeyPress)
        return false;
    // Tab and Shift+Tab move between the cells, as in the editor, so that a Tab too many
    // never lands in a header field and types over it; Ctrl leaves the sheet.
    const auto *key = static_cast<QKeyEvent *>(event);
    if (isControlTab(key))
        leaveSheet(!isBackwards(key));
    else if (isBacktab(key))
        commitAndMoveLeft();
    else if (isPlainTab(key))
        commitAndMoveRight();
    else
        return false;
    return true;
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
