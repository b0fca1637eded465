#pragma once

#include <QHeaderView>

class Grid;

// The sheet's fixed row or fixed column, drawn from the grid's own cells: the column
// titles bold, centred and wrapped onto the double-height row, the row numbers.
class FixedCellHeader : public QHeaderView
{
    Q_OBJECT

public:
    FixedCellHeader(Qt::Orientation orientation, const Grid &grid, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    const Grid &m_grid;
};
