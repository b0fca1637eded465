#include "gridtablemodel.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/grid.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QColor>
#include <QFont>

namespace {
QString noteCaption()
{
    return QStringLiteral("Not an amount: not counted");
}
}

GridTableModel::GridTableModel(Grid &grid, QObject *parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
{
    connect(&grid, &Grid::cellChanged, this, &GridTableModel::onCellChanged);
    connect(&grid, &Grid::shapeChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount() - m_grid.fixedRows();
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.columnCount() - m_grid.fixedColumns();
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = gridRow(index);
    const int column = gridColumn(index);
    switch (role) {
    case Qt::DisplayRole:
        return m_grid.text(row, column);
    case Qt::FontRole: {
        QFont font;
        font.setBold(m_grid.isBold(row, column));
        font.setItalic(holdsNote(row, column));
        return font;
    }
    case Qt::ToolTipRole:
        return holdsNote(row, column) ? noteCaption() : QVariant();
    case Qt::TextAlignmentRole:
        return int(m_grid.alignment(row, column));
    case Qt::ForegroundRole:
        return m_grid.textColour(row, column) == TextColour::Red ? QVariant(QColor(255, 0, 0)) : QVariant();
    case AmountRole:
        return EstimateSheet::isMoneyColumn(column) && !holdsNote(row, column);
    case NoteRole:
        return holdsNote(row, column);
    case Qt::AccessibleTextRole:
        return spokenText(index);
    case Qt::AccessibleDescriptionRole:
        return column == m_adviceColumn ? advice(row) : QString();
    default:
        return {};
    }
}

bool GridTableModel::holdsNote(int row, int column) const
{
    return EstimateSheet::isMoneyColumn(column) && Money::holdsNote(m_grid.text(row, column));
}

QString GridTableModel::rowTitle(int row) const
{
    const QString title = m_rowTitleColumn >= 0 ? m_grid.text(row, m_rowTitleColumn).simplified() : QString();
    if (!title.isEmpty())
        return title;
    const QString label = m_grid.fixedColumns() > 0 ? m_grid.text(row, 0).trimmed() : QString();
    return QStringLiteral("Row %1").arg(label.isEmpty() ? QString::number(row) : label);
}

void GridTableModel::setAdvice(int column, const QStringList &advice)
{
    m_adviceColumn = column;
    m_advice = advice;
}

QString GridTableModel::advice(int row) const
{
    return m_advice.value(row - m_grid.fixedRows());
}

// A cell as heard, not seen: its text alone, as the row and the column are the headers'
// to tell. What only the eye sees is said: an empty cell, a note's italics, a negative
// amount's brackets and red.
QString GridTableModel::spokenText(const QModelIndex &index) const
{
    const int row = gridRow(index);
    const int column = gridColumn(index);
    const QString text = m_grid.text(row, column).simplified();
    if (text.isEmpty())
        return QStringLiteral("empty");
    if (holdsNote(row, column))
        return text + QStringLiteral(". ") + noteCaption();
    return EstimateSheet::isMoneyColumn(column) ? MoneyCents::spokenText(text) : text;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (m_grid.fixedRows() == 0 || m_grid.fixedColumns() == 0)
        return {};
    // Heard, a row is named by its title and a column by its caption on one line.
    if (role == Qt::AccessibleTextRole) {
        return orientation == Qt::Horizontal ? m_grid.text(0, section + m_grid.fixedColumns()).simplified()
                                             : rowTitle(section + m_grid.fixedRows());
    }
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_grid.text(0, section + m_grid.fixedColumns());
    return m_grid.text(section + m_grid.fixedRows(), 0);
}

QModelIndex GridTableModel::indexOfCell(int row, int column) const
{
    return index(row - m_grid.fixedRows(), column - m_grid.fixedColumns());
}

int GridTableModel::gridRow(const QModelIndex &index) const
{
    return index.row() + m_grid.fixedRows();
}

int GridTableModel::gridColumn(const QModelIndex &index) const
{
    return index.column() + m_grid.fixedColumns();
}

void GridTableModel::onCellChanged(int row, int column)
{
    const bool inFixedRow = row < m_grid.fixedRows();
    const bool inFixedColumn = column < m_grid.fixedColumns();
    if (inFixedRow && !inFixedColumn)
        emit headerDataChanged(Qt::Horizontal, column - m_grid.fixedColumns(), column - m_grid.fixedColumns());
    else if (inFixedColumn && !inFixedRow)
        emit headerDataChanged(Qt::Vertical, row - m_grid.fixedRows(), row - m_grid.fixedRows());
    else if (!inFixedRow && !inFixedColumn) {
        const QModelIndex changed = indexOfCell(row, column);
        emit dataChanged(changed, changed);
    }
}
