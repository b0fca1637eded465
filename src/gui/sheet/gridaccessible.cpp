#include "gridaccessible.h"

#include "core/sheet/grid.h"
#include "gridcellaccessible.h"
#include "gridview.h"

GridAccessible::GridAccessible(GridView *view)
    : QAccessibleWidget(view, QAccessible::Table)
{
}

GridAccessible::~GridAccessible()
{
    forgetCells();
}

QAccessibleInterface *GridAccessible::create(const QString &className, QObject *object)
{
    Q_UNUSED(className);
    auto *view = qobject_cast<GridView *>(object);
    return view ? new GridAccessible(view) : nullptr;
}

GridView *GridAccessible::view() const
{
    return static_cast<GridView *>(widget());
}

void GridAccessible::forgetCells()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}

// The grid has one fixed row and one fixed column, which are the view's headers: a cell's
// grid position is its place among the children.
QAccessibleInterface *GridAccessible::cell(int gridRow, int gridColumn) const
{
    const Grid &grid = view()->grid();
    if (gridRow < 0 || gridColumn < 0 || gridRow >= grid.rowCount() || gridColumn >= grid.columnCount())
        return nullptr;
    const int index = gridRow * grid.columnCount() + gridColumn;
    if (const auto known = m_cells.constFind(index); known != m_cells.cend())
        return QAccessible::accessibleInterface(*known);
    auto *made = new GridCellAccessible(*this, view(), gridRow, gridColumn);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

int GridAccessible::childCount() const
{
    return view()->grid().rowCount() * view()->grid().columnCount();
}

QAccessibleInterface *GridAccessible::child(int index) const
{
    const int columns = view()->grid().columnCount();
    return index < 0 || columns == 0 ? nullptr : cell(index / columns, index % columns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
    for (auto known = m_cells.cbegin(); known != m_cells.cend(); ++known) {
        if (known.value() == id)
            return known.key();
    }
    return -1;
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const
{
    const GridView::CellPosition position = view()->cellAt(view()->mapFromGlobal(QPoint(x, y)));
    return cell(position.row, position.column);
}

QAccessibleInterface *GridAccessible::focusChild() const
{
    const Grid &grid = view()->grid();
    return cell(grid.currentRow(), grid.currentColumn());
}

void *GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *GridAccessible::cellAt(int row, int column) const
{
    return cell(row + 1, column + 1);
}

int GridAccessible::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<QAccessibleInterface *> GridAccessible::selectedCells() const
{
    const Grid &grid = view()->grid();
    QList<QAccessibleInterface *> cells;
    for (int row = grid.fixedRows(); row < grid.rowCount(); ++row) {
        for (int column = grid.fixedColumns(); column < grid.columnCount(); ++column) {
            if (grid.isSelected(row, column))
                cells << cell(row, column);
        }
    }
    return cells;
}

QString GridAccessible::columnDescription(int column) const
{
    QAccessibleInterface *header = cell(0, column + 1);
    return header ? header->text(QAccessible::Name) : QString();
}

QString GridAccessible::rowDescription(int row) const
{
    QAccessibleInterface *header = cell(row + 1, 0);
    return header ? header->text(QAccessible::Name) : QString();
}

int GridAccessible::columnCount() const
{
    return view()->grid().columnCount() - 1;
}

int GridAccessible::rowCount() const
{
    return view()->grid().rowCount() - 1;
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    // Cells read their texts as they are asked; only a new shape makes them stale.
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset)
        forgetCells();
}
