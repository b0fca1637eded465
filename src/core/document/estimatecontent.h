#pragma once

#include <QString>

#include <array>

// Everything an estimate file holds: the three header fields and the texts of the 36
// item rows by 7 data columns, exactly as the sheet shows them.
struct EstimateContent
{
    static constexpr int RowCount = 36;
    static constexpr int ColumnCount = 7;

    QString name;
    QString address;
    QString builder;
    // cells[r - 1][c - 1] holds sheet row r, data column c.
    std::array<std::array<QString, ColumnCount>, RowCount> cells;

    friend bool operator==(const EstimateContent &, const EstimateContent &) = default;
};
