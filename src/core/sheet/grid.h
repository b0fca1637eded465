#pragma once

#include <QObject>
#include <QString>

#include <vector>

enum class TextColour { Default, Red };

// A grid of text cells in the manner of a spreadsheet control: it stores only texts and
// their look, has one current cell and a selection stretching from it, and announces
// every change of the current cell before it happens (leavingCell), whoever makes it.
// Sizes are in twips (1/1440 inch); views convert them to pixels.
class Grid : public QObject
{
    Q_OBJECT

public:
    explicit Grid(QObject *parent = nullptr);

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    void setRowCount(int rows);
    void setColumnCount(int columns);
    bool contains(int row, int column) const;

    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    void setFixedRows(int rows);
    void setFixedColumns(int columns);

    const QString &text(int row, int column) const;
    void setText(int row, int column, const QString &text);

    bool isBold(int row, int column) const;
    Qt::Alignment alignment(int row, int column) const;
    TextColour textColour(int row, int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);

    // A cell's own look, set without making it current: only the user and the commands
    // move the current cell, so every leave notification is a real move.
    void setCellBold(int row, int column, bool bold);
    void setCellAlignment(int row, int column, Qt::Alignment alignment);
    void setCellTextColour(int row, int column, TextColour colour);

    int currentRow() const { return m_currentRow; }
    int currentColumn() const { return m_currentColumn; }
    void setCurrentRow(int row);
    void setCurrentColumn(int column);
    void setCurrentCell(int row, int column);

    // The selection runs from the current cell to this corner; any change of the current
    // cell collapses it onto the new cell.
    int selectionRow() const { return m_selectionRow; }
    int selectionColumn() const { return m_selectionColumn; }
    void setSelectionEnd(int row, int column);
    bool isSelected(int row, int column) const;

    int columnWidth(int column) const;
    void setColumnWidth(int column, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int twips);

    // The grid's outer size, set by whoever lays it out.
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setWidth(int twips);
    void setHeight(int twips);

    // The first scrollable row shown at the top.
    int topRow() const { return m_topRow; }
    void setTopRow(int row);

signals:
    void leavingCell();
    void currentCellChanged();
    void selectionChanged();
    void cellChanged(int row, int column);
    void shapeChanged();
    void sizesChanged();
    void topRowChanged(int row);

private:
    struct Cell
    {
        QString text;
        bool bold = false;
        bool hasOwnAlignment = false;
        Qt::Alignment alignment;
        TextColour colour = TextColour::Default;
    };

    Cell &cell(int row, int column);
    const Cell &cell(int row, int column) const;
    void moveCurrentCell(int row, int column);

    int m_rowCount = 1;
    int m_columnCount = 1;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    std::vector<Cell> m_cells;
    std::vector<int> m_columnWidths;
    std::vector<Qt::Alignment> m_columnAlignments;
    // Before the row heights, which start from it.
    int m_defaultRowHeight = 240;
    std::vector<int> m_rowHeights;
    int m_currentRow = 0;
    int m_currentColumn = 0;
    int m_selectionRow = 0;
    int m_selectionColumn = 0;
    int m_width = 0;
    int m_height = 0;
    int m_topRow = 0;
};
