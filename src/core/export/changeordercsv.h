#pragma once

#include "core/history/estimatehistory.h"

#include <QByteArray>
#include <QString>

class Grid;

// The change-order register as a CSV file (RFC 4180, UTF-8, CR LF): the register's column
// titles, then one record for each order with its texts as the register shows them.
namespace ChangeOrderCsv {
QByteArray encode(const Grid &grid, const EstimateHistory &history);
// Writes the whole file or leaves none; errorString learns why not.
bool save(const QString &path, const Grid &grid, const EstimateHistory &history, QString *errorString = nullptr);
}
