#pragma once

#include "core/sheet/twips.h"
#include "gridtablemodel.h"

#include <QTableView>

class Grid;

// The on-screen sheet. It draws the grid and turns the user's keys and clicks into
// changes of the grid's current cell; it adds no behaviour of its own: no editors, no
// keyboard search, no selection of its own. Typed characters, Enter and double-clicks
// are passed on to whoever edits the sheet.
class GridView : public QTableView
{
    Q_OBJECT

public:
    struct CellPosition
    {
        int row = -1;
        int column = -1;
    };

    explicit GridView(Grid &grid, QWidget *parent = nullptr);

    Grid &grid() const { return m_grid; }
    const GridTableModel &tableModel() const { return m_model; }

    // A cell's rectangle in this widget's coordinates, fixed cells included; it follows
    // the scrolling.
    QRect cellRect(int row, int column) const;
    // The part of a scrollable cell's rectangle that shows in the view, in this widget's
    // coordinates; empty while the cell is scrolled out of view.
    QRect shownCellRect(int row, int column) const;
    // The grid cell under a point of this widget, fixed cells included.
    CellPosition cellAt(const QPoint &position) const;

    // The column whose text names each row to a screen reader.
    void setRowTitleColumn(int column) { m_model.setRowTitleColumn(column); }
    // The advice each row of a column gives a screen reader as its description.
    void setAdvice(int column, const QStringList &advice) { m_model.setAdvice(column, advice); }
    // Whether a cell shows ### for an amount too wide for it.
    bool hidesAmount(int row, int column) const;

    void scrollToCurrentCell();

    // Draws the grid's twips larger by factor, as the window's zoom asks.
    void setZoom(qreal factor);
    // How the grid's twips become this view's pixels.
    Twips::Scale scale() const { return Twips::Scale::of(*this).zoomed(m_zoom); }

signals:
    void characterTyped(QChar key);
    void cellDoubleClicked();
    void mouseMovedOverCell(int row, int column);
    // The cells may have moved on screen: the view scrolled, or it or a row or column
    // changed size.
    void cellsMoved();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyboardSearch(const QString &) override { }
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    void applySizes();
    void syncCurrentIndex();
    // Draws again the cells the selection left and those it reaches, and no others.
    void updateSelection();
    // The cells from the current cell to the selection's end, as columns across and rows down.
    QRect selectedCells() const;
    // Where these cells are on the viewport, as far as they are in it.
    QRect viewportArea(const QRect &cells) const;
    void syncTopRow(int topRow);
    void tellCellChanged(int row, int column);
    void showTopRowWhole();
    bool navigate(QKeyEvent *event);
    int visibleRowCount() const;
    void reportMouseMove(const QPoint &viewPosition);

    Grid &m_grid;
    GridTableModel m_model;
    qreal m_zoom = 1;
    bool m_selecting = false;
    // The selection as last drawn.
    QRect m_drawnSelection;
};
