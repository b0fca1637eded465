#pragma once

#include "grid.h"

#include <QStringList>

#include <array>
#include <optional>

// The estimate sheet: the grid of 30 cost categories and 6 spare rows by 7 data columns,
// with a header row, a row-number column and a Total row, and the arithmetic that keeps
// each row's cost to complete and the column totals current. It is built once and never
// changes shape.
class EstimateSheet
{
public:
    static constexpr int DataColumnCount = 7;
    static constexpr int CategoryCount = 30;
    static constexpr int ItemRowCount = CategoryCount + 6;
    static constexpr int TotalRow = ItemRowCount + 1;

    static constexpr int SupplierColumn = 1;
    static constexpr int DescriptionColumn = 2;
    static constexpr int OriginalEstimateColumn = 3;
    static constexpr int AdjustedEstimateColumn = 4;
    static constexpr int PreviousPaymentColumn = 5;
    static constexpr int CurrentPaymentColumn = 6;
    static constexpr int CostToCompleteColumn = 7;

    // The grid's size in the window's design, before the first layout.
    static constexpr int DesignWidth = 6735;
    static constexpr int DesignHeight = 5775;
    static constexpr int ItemRowHeight = 280;
    static constexpr int MinimumSupplierWidth = 1500;

    using ColumnWidths = std::array<int, DataColumnCount + 1>;

    // Builds the sheet; defaultRowHeight is the grid's natural row height for its font.
    explicit EstimateSheet(int defaultRowHeight = 240);

    Grid &grid() { return m_grid; }
    const Grid &grid() const { return m_grid; }

    const QStringList CategoryNames;
    const QStringList CategoryHelpTexts;
    static QStringList columnHeaders();
    static bool isMoneyColumn(int column);

    // A row by its number and description ("8 Roofing"), or "Row 31" while it has none, as
    // every list and message names it.
    static QString rowName(const Grid &grid, int row);

    // The text that holds a row's scheduled value: its adjusted estimate, or the original one
    // while the adjusted one is empty.
    static const QString &scheduledValueText(const Grid &grid, int row);
    // The amount of that text; nothing while it is empty or holds a note ("TBD").
    static std::optional<double> scheduledValue(const Grid &grid, int row);

    // The column widths for a grid of the given outer width: fixed widths for all but the
    // first data column, which takes what is left, never less than 1500 twips.
    static ColumnWidths columnWidthsFor(int gridWidth);
    // The narrowest grid that shows every column whole, in twips.
    static int minimumGridWidth();
    void SetColumnWidths();

    void FormatMoneyCell(int row, int column);
    // The current row's cost to complete, then the column totals. Arithmetic on the
    // cells' texts only: the current cell stays where it is.
    void RecalculateTotals();
    void recalculateRow(int row);
    void recalculateColumnTotals();

    void ResetDescriptions();
    // Empties every item cell, writes the category names back and puts the bare "0"
    // into the totals: the sheet of a new estimate.
    void clearItems();

private:
    void setUp();
    void formatFixedCells();
    void setTotalsToZero();
    QString columnTotalText(int column) const;

    Grid m_grid;
};
