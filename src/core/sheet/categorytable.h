#pragma once

#include <QStringList>

// The 30 construction cost categories of the sheet, in row order, with the advice shown
// for each; category k lives in sheet row k (positions 0..29 here).
namespace CategoryTable {
QStringList names();
QStringList helpTexts();
}
