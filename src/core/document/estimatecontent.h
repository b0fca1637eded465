#pragma once

#include "core/history/estimatehistory.h"

#include <QString>

#include <array>

// Everything an estimate file holds: the three header fields, the texts of the 36 item rows
// by 7 data columns, exactly as the sheet shows them, and the history kept after them.
struct EstimateContent
{
    static constexpr int RowCount = 36;
    static constexpr int ColumnCount = 7;

    using Cells = std::array<std::array<QString, ColumnCount>, RowCount>;

    QString name;
    QString address;
    QString builder;
    // cells[r - 1][c - 1] holds sheet row r, data column c.
    Cells cells;
    EstimateHistory history;
    // Why the file's history could not be read, when it has one that could not: the sheet is
    // read without it.
    QString historyError;
    // What makes the file look damaged (its texts shifted out of their columns), when
    // something does: it is read as it stands, and the user is told.
    QString damageWarning;

    friend bool operator==(const EstimateContent &, const EstimateContent &) = default;
};
