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
    // What follows the 38 records and could not be read, as it was, so that saving writes it
    // back after the history rather than losing it; historyError says why it was not read.
    QByteArray unreadLines;
    QString historyError;
    // The draw history is among the unread lines: the history is empty because it could not
    // be read, not because there is none.
    bool historyUnread = false;
    // What makes the file look damaged (its texts shifted out of their columns), when
    // something does: it is read as it stands, and the user is told.
    QString damageWarning;

    // What the user is told of the unread lines; empty when there are none.
    QString unreadWarning() const;
    // What the user is told when the file opens: the damage, the unread lines, or both,
    // separated as given; empty when there is nothing to tell.
    QString openWarning(const QString &separator) const;

    friend bool operator==(const EstimateContent &, const EstimateContent &) = default;
};
