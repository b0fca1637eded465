#include "gridview.h"

#include "celldelegate.h"
#include "core/sheet/grid.h"
#include "core/sheet/twips.h"
#include "fixedcellheader.h"
#include "gridaccessible.h"

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

GridView::GridView(Grid &grid, QWidget *parent)
    : QTableView(parent)
    , m_grid(grid)
    , m_model(grid)
{
    setHorizontalHeader(new FixedCellHeader(Qt::Horizontal, grid, this));
    setVerticalHeader(new FixedCellHeader(Qt::Vertical, grid, this));
    setModel(&m_model);
    setItemDelegate(new CellDelegate(grid, m_model, this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setShowGrid(false);
    setCornerButtonEnabled(false);
    setWordWrap(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->viewport()->setMouseTracking(true);
        header->viewport()->installEventFilter(this);
    }

    connect(&grid, &Grid::sizesChanged, this, &GridView::applySizes);
    connect(&grid, &Grid::shapeChanged, this, &GridView::applySizes);
    connect(&grid, &Grid::currentCellChanged, this, &GridView::syncCurrentIndex);
    connect(&grid, &Grid::selectionChanged, this, &GridView::updateSelection);
    connect(&grid, &Grid::topRowChanged, this, &GridView::syncTopRow);
    connect(&grid, &Grid::cellChanged, this, &GridView::tellCellChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { m_grid.setTopRow(value + m_grid.fixedRows()); });
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()})
        connect(header, &QHeaderView::sectionResized, this, &GridView::cellsMoved);
    applySizes();
    syncCurrentIndex();
    // A screen reader sees the sheet as this program presents it; one factory serves every
    // sheet.
    QAccessible::removeFactory(&GridAccessible::create);
    QAccessible::installFactory(&GridAccessible::create);
}

bool GridView::hidesAmount(int row, int column) const
{
    if (row < m_grid.fixedRows() || column < m_grid.fixedColumns())
        return false;
    return CellDelegate::hidesAmount(m_model.indexOfCell(row, column), cellRect(row, column), font());
}

// The grid says its sizes changed once for each column it sets, some forty times while the
// window first lays itself out; only the sections whose size did change are set again.
void GridView::applySizes()
{
    const Twips::Scale scale = this->scale();
    const int fixedRows = m_grid.fixedRows();
    const int fixedColumns = m_grid.fixedColumns();
    horizontalHeader()->setVisible(fixedRows > 0);
    verticalHeader()->setVisible(fixedColumns > 0);
    if (fixedRows > 0)
        horizontalHeader()->setFixedHeight(scale.y(m_grid.rowHeight(0)));
    if (fixedColumns > 0)
        verticalHeader()->setFixedWidth(scale.x(m_grid.columnWidth(0)));
    for (int column = fixedColumns; column < m_grid.columnCount(); ++column) {
        const int width = scale.x(m_grid.columnWidth(column));
        if (columnWidth(column - fixedColumns) != width)
            setColumnWidth(column - fixedColumns, width);
    }
    for (int row = fixedRows; row < m_grid.rowCount(); ++row) {
        const int height = scale.y(m_grid.rowHeight(row));
        if (rowHeight(row - fixedRows) != height)
            setRowHeight(row - fixedRows, height);
    }
}

void GridView::setZoom(qreal factor)
{
    m_zoom = factor;
    applySizes();
}

void GridView::syncCurrentIndex()
{
    selectionModel()->setCurrentIndex(m_model.indexOfCell(m_grid.currentRow(), m_grid.currentColumn()),
                                      QItemSelectionModel::NoUpdate);
    updateSelection();
}

// An edit moves the current cell and changes a few others; drawing the whole sheet again for
// it would cost more than the rest of the edit together.
void GridView::updateSelection()
{
    const QRect selection = selectedCells();
    viewport()->update(QRegion(viewportArea(m_drawnSelection)) + viewportArea(selection));
    m_drawnSelection = selection;
}

QRect GridView::selectedCells() const
{
    return QRect(QPoint(m_grid.currentColumn(), m_grid.currentRow()),
                 QPoint(m_grid.selectionColumn(), m_grid.selectionRow()))
        .normalized();
}

QRect GridView::viewportArea(const QRect &cells) const
{
    if (cells.isNull())
        return {};
    const QRect inView = cellRect(cells.top(), cells.left()) | cellRect(cells.bottom(), cells.right());
    return inView.translated(-viewport()->geometry().topLeft()) & viewport()->rect();
}

void GridView::syncTopRow(int topRow)
{
    const int value = topRow - m_grid.fixedRows();
    if (verticalScrollBar()->value() != value)
        verticalScrollBar()->setValue(value);
    // The view may show fewer rows than asked: the grid then learns the row really on top.
    const int shown = verticalScrollBar()->value() + m_grid.fixedRows();
    if (shown != topRow)
        m_grid.setTopRow(shown);
}

QRect GridView::cellRect(int row, int column) const
{
    const int fixedRows = m_grid.fixedRows();
    const int fixedColumns = m_grid.fixedColumns();
    const QRect viewportArea = viewport()->geometry();
    int left;
    int width;
    if (column < fixedColumns) {
        left = verticalHeader()->geometry().left();
        width = verticalHeader()->width();
    } else {
        left = viewportArea.left() + columnViewportPosition(column - fixedColumns);
        width = columnWidth(column - fixedColumns);
    }
    int top;
    int height;
    if (row < fixedRows) {
        top = horizontalHeader()->geometry().top();
        height = horizontalHeader()->height();
    } else {
        top = viewportArea.top() + rowViewportPosition(row - fixedRows);
        height = rowHeight(row - fixedRows);
    }
    return QRect(left, top, width, height);
}

QRect GridView::shownCellRect(int row, int column) const
{
    return cellRect(row, column) & viewport()->geometry();
}

GridView::CellPosition GridView::cellAt(const QPoint &position) const
{
    const QRect viewportArea = viewport()->geometry();
    const QPoint inViewport = position - viewportArea.topLeft();
    CellPosition cell;
    if (position.y() < viewportArea.top())
        cell.row = 0;
    else if (const int row = rowAt(inViewport.y()); row >= 0)
        cell.row = row + m_grid.fixedRows();
    if (position.x() < viewportArea.left())
        cell.column = 0;
    else if (const int column = columnAt(inViewport.x()); column >= 0)
        cell.column = column + m_grid.fixedColumns();
    return cell;
}

void GridView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    showTopRowWhole();
    emit cellsMoved();
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    showTopRowWhole();
    emit cellsMoved();
}

void GridView::showTopRowWhole()
{
    // At the end of its range the view lines the last row up with its bottom edge, which
    // leaves a sliver of the row above under the header row. The sheet always starts at the
    // top edge of the row the scroll bar names; what is left below the last row stays empty.
    QHeaderView *rows = verticalHeader();
    if (rows->count() == 0)
        return;
    const int topRowOffset = rows->sectionPosition(rows->logicalIndex(verticalScrollBar()->value()));
    if (rows->offset() == topRowOffset)
        return;
    rows->setOffset(topRowOffset);
    viewport()->update();
}

void GridView::scrollToCurrentCell()
{
    scrollTo(m_model.indexOfCell(m_grid.currentRow(), m_grid.currentColumn()));
}

int GridView::visibleRowCount() const
{
    const int rowPixels = std::max(1, scale().y(m_grid.rowHeight(std::min(1, m_grid.rowCount() - 1))));
    return std::max(1, viewport()->height() / rowPixels);
}

bool GridView::navigate(QKeyEvent *event)
{
    const int firstRow = m_grid.fixedRows();
    const int firstColumn = m_grid.fixedColumns();
    const int lastRow = m_grid.rowCount() - 1;
    const int lastColumn = m_grid.columnCount() - 1;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    int row = extend ? m_grid.selectionRow() : m_grid.currentRow();
    int column = extend ? m_grid.selectionColumn() : m_grid.currentColumn();

    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_PageUp:
        row -= visibleRowCount();
        break;
    case Qt::Key_PageDown:
        row += visibleRowCount();
        break;
    case Qt::Key_Home:
        column = firstColumn;
        if (control)
            row = firstRow;
        break;
    case Qt::Key_End:
        column = lastColumn;
        if (control)
            row = lastRow;
        break;
    default:
        return false;
    }
    row = std::clamp(row, firstRow, lastRow);
    column = std::clamp(column, firstColumn, lastColumn);
    if (extend) {
        m_grid.setSelectionEnd(row, column);
        scrollTo(m_model.indexOfCell(row, column));
    } else {
        m_grid.setCurrentCell(row, column);
        scrollToCurrentCell();
    }
    return true;
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (navigate(event))
        return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit characterTyped(QChar(13));
        return;
    }
    const bool shortcutModifier = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    const QString text = event->text();
    if (shortcutModifier || text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    for (const QChar key : text)
        emit characterTyped(key);
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const CellPosition cell = cellAt(viewport()->mapTo(this, event->position().toPoint()));
    if (cell.row < m_grid.fixedRows() || cell.column < m_grid.fixedColumns())
        return;
    if (event->modifiers() & Qt::ShiftModifier)
        m_grid.setSelectionEnd(cell.row, cell.column);
    else
        m_grid.setCurrentCell(cell.row, cell.column);
    m_selecting = true;
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = viewport()->mapTo(this, event->position().toPoint());
    reportMouseMove(position);
    if (!m_selecting || !(event->buttons() & Qt::LeftButton))
        return;
    const CellPosition cell = cellAt(position);
    if (cell.row >= m_grid.fixedRows() && cell.column >= m_grid.fixedColumns())
        m_grid.setSelectionEnd(cell.row, cell.column);
}

void GridView::mouseReleaseEvent(QMouseEvent *)
{
    m_selecting = false;
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit cellDoubleClicked();
}

bool GridView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto *header = static_cast<QWidget *>(watched);
        const auto *move = static_cast<QMouseEvent *>(event);
        reportMouseMove(header->mapTo(this, move->position().toPoint()));
    }
    return QTableView::eventFilter(watched, event);
}

// Qt's item view draws its whole viewport again as the focus comes and goes, and the cell
// editor takes the focus and gives it back with every entry. Only the selection looks other
// without the focus, so only it is drawn again. What else the item view does here is to make
// a current index where there is none, and the grid always has one.
void GridView::focusInEvent(QFocusEvent *event)
{
    event->accept();
    viewport()->update(viewportArea(m_drawnSelection));
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    event->accept();
    viewport()->update(viewportArea(m_drawnSelection));
}

// A screen reader keeps the names it was told: a cell that changes says so, or it would be
// heard with the text it had when it was first heard.
void GridView::tellCellChanged(int row, int column)
{
    if (!QAccessible::isActive())
        return;
    auto *table = static_cast<GridAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (QAccessibleInterface *cell = table ? table->cell(row, column) : nullptr) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void GridView::reportMouseMove(const QPoint &position)
{
    const CellPosition cell = cellAt(position);
    emit mouseMovedOverCell(cell.row, cell.column);
}
