#include "grid.h"

#include <algorithm>

namespace {
constexpr int DefaultColumnWidth = 960;
constexpr Qt::Alignment DefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

Grid::Grid(QObject *parent)
    : QObject(parent)
    , m_cells(1)
    , m_columnWidths(1, DefaultColumnWidth)
    , m_columnAlignments(1, DefaultAlignment)
    , m_rowHeights(1, m_defaultRowHeight)
{
}

void Grid::setRowCount(int rows)
{
    rows = std::max(rows, 1);
    if (rows == m_rowCount)
        return;
    m_cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(m_columnCount));
    m_rowHeights.resize(static_cast<size_t>(rows), m_defaultRowHeight);
    m_rowCount = rows;
    m_fixedRows = std::min(m_fixedRows, rows - 1);
    m_currentRow = std::min(m_currentRow, rows - 1);
    m_selectionRow = std::min(m_selectionRow, rows - 1);
    m_topRow = std::min(m_topRow, rows - 1);
    emit shapeChanged();
}

void Grid::setColumnCount(int columns)
{
    columns = std::max(columns, 1);
    if (columns == m_columnCount)
        return;
    std::vector<Cell> cells(static_cast<size_t>(m_rowCount) * static_cast<size_t>(columns));
    const int kept = std::min(columns, m_columnCount);
    for (int row = 0; row < m_rowCount; ++row) {
        for (int column = 0; column < kept; ++column)
            cells[static_cast<size_t>(row * columns + column)] = std::move(cell(row, column));
    }
    m_cells = std::move(cells);
    m_columnWidths.resize(static_cast<size_t>(columns), DefaultColumnWidth);
    m_columnAlignments.resize(static_cast<size_t>(columns), DefaultAlignment);
    m_columnCount = columns;
    m_fixedColumns = std::min(m_fixedColumns, columns - 1);
    m_currentColumn = std::min(m_currentColumn, columns - 1);
    m_selectionColumn = std::min(m_selectionColumn, columns - 1);
    emit shapeChanged();
}

bool Grid::contains(int row, int column) const
{
    return row >= 0 && row < m_rowCount && column >= 0 && column < m_columnCount;
}

void Grid::setFixedRows(int rows)
{
    m_fixedRows = std::clamp(rows, 0, m_rowCount - 1);
    m_topRow = std::max(m_topRow, m_fixedRows);
    emit shapeChanged();
}

void Grid::setFixedColumns(int columns)
{
    m_fixedColumns = std::clamp(columns, 0, m_columnCount - 1);
    emit shapeChanged();
}

const QString &Grid::text(int row, int column) const
{
    return cell(row, column).text;
}

void Grid::setText(int row, int column, const QString &text)
{
    if (!contains(row, column))
        return;
    Cell &target = cell(row, column);
    if (target.text == text)
        return;
    target.text = text;
    emit cellChanged(row, column);
}

bool Grid::isBold(int row, int column) const
{
    return cell(row, column).bold;
}

Qt::Alignment Grid::alignment(int row, int column) const
{
    const Cell &c = cell(row, column);
    if (c.hasOwnAlignment)
        return c.alignment;
    return m_columnAlignments[static_cast<size_t>(column)];
}

TextColour Grid::textColour(int row, int column) const
{
    return cell(row, column).colour;
}

void Grid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (column < 0 || column >= m_columnCount)
        return;
    m_columnAlignments[static_cast<size_t>(column)] = alignment;
    emit sizesChanged();
}

void Grid::setCellBold(int row, int column, bool bold)
{
    if (!contains(row, column))
        return;
    cell(row, column).bold = bold;
    emit cellChanged(row, column);
}

void Grid::setCellAlignment(int row, int column, Qt::Alignment alignment)
{
    if (!contains(row, column))
        return;
    Cell &c = cell(row, column);
    c.hasOwnAlignment = true;
    c.alignment = alignment;
    emit cellChanged(row, column);
}

void Grid::setCellTextColour(int row, int column, TextColour colour)
{
    if (!contains(row, column))
        return;
    Cell &c = cell(row, column);
    if (c.colour == colour)
        return;
    c.colour = colour;
    emit cellChanged(row, column);
}

void Grid::setCurrentRow(int row)
{
    moveCurrentCell(row, m_currentColumn);
}

void Grid::setCurrentColumn(int column)
{
    moveCurrentCell(m_currentRow, column);
}

void Grid::setCurrentCell(int row, int column)
{
    moveCurrentCell(row, column);
}

void Grid::moveCurrentCell(int row, int column)
{
    if (!contains(row, column) || (row == m_currentRow && column == m_currentColumn))
        return;
    // The cell being left is still current while the notification runs.
    emit leavingCell();
    m_currentRow = row;
    m_currentColumn = column;
    m_selectionRow = row;
    m_selectionColumn = column;
    emit currentCellChanged();
    emit selectionChanged();
}

void Grid::setSelectionEnd(int row, int column)
{
    if (!contains(row, column))
        return;
    m_selectionRow = row;
    m_selectionColumn = column;
    emit selectionChanged();
}

bool Grid::isSelected(int row, int column) const
{
    const auto [top, bottom] = std::minmax(m_currentRow, m_selectionRow);
    const auto [left, right] = std::minmax(m_currentColumn, m_selectionColumn);
    return row >= top && row <= bottom && column >= left && column <= right;
}

int Grid::columnWidth(int column) const
{
    return m_columnWidths[static_cast<size_t>(column)];
}

void Grid::setColumnWidth(int column, int twips)
{
    if (column < 0 || column >= m_columnCount)
        return;
    m_columnWidths[static_cast<size_t>(column)] = std::max(twips, 0);
    emit sizesChanged();
}

int Grid::rowHeight(int row) const
{
    return m_rowHeights[static_cast<size_t>(row)];
}

void Grid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= m_rowCount)
        return;
    m_rowHeights[static_cast<size_t>(row)] = std::max(twips, 0);
    emit sizesChanged();
}

void Grid::setDefaultRowHeight(int twips)
{
    for (int &height : m_rowHeights) {
        if (height == m_defaultRowHeight)
            height = twips;
    }
    m_defaultRowHeight = twips;
    emit sizesChanged();
}

void Grid::setWidth(int twips)
{
    m_width = std::max(twips, 0);
}

void Grid::setHeight(int twips)
{
    m_height = std::max(twips, 0);
}

void Grid::setTopRow(int row)
{
    row = std::clamp(row, m_fixedRows, m_rowCount - 1);
    if (row == m_topRow)
        return;
    m_topRow = row;
    emit topRowChanged(row);
}

Grid::Cell &Grid::cell(int row, int column)
{
    return m_cells[static_cast<size_t>(row * m_columnCount + column)];
}

const Grid::Cell &Grid::cell(int row, int column) const
{
    return m_cells[static_cast<size_t>(row * m_columnCount + column)];
}
