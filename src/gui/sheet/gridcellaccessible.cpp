#include "gridcellaccessible.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/grid.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"
#include "gridaccessible.h"
#include "gridview.h"

GridCellAccessible::GridCellAccessible(const GridAccessible &table, GridView *view, int gridRow, int gridColumn)
    : m_table(table)
    , m_view(view)
    , m_row(gridRow)
    , m_column(gridColumn)
{
}

QWindow *GridCellAccessible::window() const
{
    return m_table.window();
}

QAccessibleInterface *GridCellAccessible::parent() const
{
    return const_cast<GridAccessible *>(&m_table);
}

QAccessibleInterface *GridCellAccessible::table() const
{
    return parent();
}

// What the cell shows: the header cells their captions, the others their text.
QString GridCellAccessible::shownText() const
{
    if (!isValid() || (m_row == 0 && m_column == 0))
        return QString();
    const GridTableModel &model = m_view->tableModel();
    if (m_row == 0)
        return model.headerData(m_column - 1, Qt::Horizontal, Qt::AccessibleTextRole).toString();
    if (m_column == 0)
        return model.headerData(m_row - 1, Qt::Vertical, Qt::AccessibleTextRole).toString();
    return m_view->grid().text(m_row, m_column);
}

// The text a screen reader reads out of the cell, which speaks the cell's text rather than
// its name: what it shows, with a negative amount's parentheses said as "minus".
QString GridCellAccessible::readText() const
{
    const QString shown = shownText();
    if (isHeader() || !EstimateSheet::isMoneyColumn(m_column) || Money::holdsNote(shown))
        return shown;
    return MoneyCents::spokenText(shown);
}

QString GridCellAccessible::spokenText() const
{
    if (isHeader())
        return shownText();
    return m_view->tableModel()
        .data(m_view->tableModel().indexOfCell(m_row, m_column), Qt::AccessibleTextRole)
        .toString();
}

QString GridCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    switch (t) {
    case QAccessible::Name:
        return spokenText();
    case QAccessible::Description: {
        if (isHeader())
            return QString();
        // The advice of a category, or the whole of an amount too wide to show.
        const QString description =
            m_view->tableModel()
                .data(m_view->tableModel().indexOfCell(m_row, m_column), Qt::AccessibleDescriptionRole)
                .toString();
        return description.isEmpty() && m_view->hidesAmount(m_row, m_column) ? shownText() : description;
    }
    case QAccessible::Value:
        return isHeader() ? QString() : readText();
    default:
        return QString();
    }
}

QRect GridCellAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect cell = m_view->cellRect(m_row, m_column);
    return QRect(m_view->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::Role GridCellAccessible::role() const
{
    if (m_row == 0)
        return QAccessible::ColumnHeader;
    if (m_column == 0)
        return QAccessible::RowHeader;
    return QAccessible::Cell;
}

QAccessible::State GridCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const Grid &grid = m_view->grid();
    if (!isHeader()) {
        state.focusable = true;
        state.selectable = true;
        state.selected = isSelected();
        state.focused = m_view->hasFocus() && grid.currentRow() == m_row && grid.currentColumn() == m_column;
        state.offscreen = m_view->shownCellRect(m_row, m_column).isEmpty();
        state.readOnly = true;
    }
    return state;
}

void *GridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return nullptr;
}

bool GridCellAccessible::isSelected() const
{
    return isValid() && !isHeader() && m_view->grid().isSelected(m_row, m_column);
}

QList<QAccessibleInterface *> GridCellAccessible::columnHeaderCells() const
{
    QAccessibleInterface *header = isHeader() ? nullptr : m_table.cell(0, m_column);
    return header ? QList<QAccessibleInterface *>{header} : QList<QAccessibleInterface *>();
}

QList<QAccessibleInterface *> GridCellAccessible::rowHeaderCells() const
{
    QAccessibleInterface *header = isHeader() ? nullptr : m_table.cell(m_row, 0);
    return header ? QList<QAccessibleInterface *>{header} : QList<QAccessibleInterface *>();
}

void GridCellAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString GridCellAccessible::text(int startOffset, int endOffset) const
{
    return readText().mid(startOffset, endOffset - startOffset);
}

QString GridCellAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
