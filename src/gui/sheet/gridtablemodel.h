#pragma once

#include <QAbstractTableModel>

class Grid;

// Presents a grid to an item view: its fixed rows and columns become the view's headers,
// the rest its cells, served with their look (font, alignment, colour) through the item
// roles. The grid stays the one place that holds texts.
class GridTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // True for a cell that holds an amount, which is never shown cut.
    static constexpr int AmountRole = Qt::UserRole;
    // True for a money cell holding a note, which counts as nothing.
    static constexpr int NoteRole = Qt::UserRole + 1;

    explicit GridTableModel(Grid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The column whose text names a row to a screen reader, where the row has one.
    void setRowTitleColumn(int column) { m_rowTitleColumn = column; }

    QModelIndex indexOfCell(int row, int column) const;
    int gridRow(const QModelIndex &index) const;
    int gridColumn(const QModelIndex &index) const;

private:
    void onCellChanged(int row, int column);
    bool holdsNote(int row, int column) const;
    QString rowTitle(int row) const;
    QString spokenText(const QModelIndex &index) const;

    Grid &m_grid;
    int m_rowTitleColumn = -1;
};
