#pragma once

#include "estimatehistory.h"

#include <QList>

class Grid;

// The item rows as a draw recorded now would find them, in whole cents: the scheduled value
// (the adjusted estimate, or the original one while the adjusted one is empty), the previous
// payments before the draw and what the draw pays. A note in a money cell counts as nothing.
namespace DrawSnapshot {
// Every row that holds an amount, in row order; paidRows are the rows whose current amount
// the draw pays, the others pay nothing in it.
QList<DrawLine> linesOf(const Grid &grid, const QList<int> &paidRows);

// What the row says of itself now.
RowTexts textsOf(const Grid &grid, int row);

// What the draw pays in all.
Cents paidIn(const QList<DrawLine> &lines);
}
