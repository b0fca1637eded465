#pragma once

#include <QStyledItemDelegate>

class Grid;
class GridTableModel;

// Paints the sheet's cells from the grid: the highlight of the selection, the focus frame
// of the current cell, light grey cell lines and the cell's own text, an amount too wide
// for its cell as ### with the amount in its tooltip.
class CellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    CellDelegate(const Grid &grid, const GridTableModel &model, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    static QColor gridLineColour() { return QColor(0xC0, 0xC0, 0xC0); }
    // Whether the cell shows ### for an amount too wide for it, in the view's font.
    static bool hidesAmount(const QModelIndex &index, const QRect &cellRect, const QFont &font);

private:
    const Grid &m_grid;
    const GridTableModel &m_model;
};
