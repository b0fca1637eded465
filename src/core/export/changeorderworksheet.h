#pragma once

#include "core/history/estimatehistory.h"

#include <xlsxwriter.h>

class Grid;

// The change-order register as a worksheet of the estimate's workbook, for the lender and
// the accountant: the register's titles, then each order with its texts as the register
// shows them, its amount a number in currency form.
namespace ChangeOrderWorksheet {
// Adds the worksheet when the register has orders; the first failure, if any.
lxw_error add(lxw_workbook *workbook, const Grid &grid, const EstimateHistory &history);
}
