#include "changeorderworksheet.h"

#include "core/history/changeorders.h"
#include "xlsxworkbook.h"

namespace {
constexpr lxw_col_t AmountColumn = 4;
// Widths in characters, the description widest.
constexpr double ColumnWidths[] = {5, 11, 22, 40, 13, 10, 13};
}

namespace ChangeOrderWorksheet {

lxw_error add(lxw_workbook *workbook, const Grid &grid, const EstimateHistory &history)
{
    if (history.changeOrders.isEmpty())
        return LXW_NO_ERROR;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Change Orders");
    lxw_format *title = workbook_add_format(workbook);
    format_set_bold(title);
    lxw_format *money = workbook_add_format(workbook);
    format_set_num_format(money, XlsxWorkbook::MoneyFormat);

    lxw_error error = LXW_NO_ERROR;
    const auto check = [&error](lxw_error result) {
        if (error == LXW_NO_ERROR)
            error = result;
    };
    const QStringList titles = ChangeOrders::registerTitles();
    for (lxw_col_t column = 0; column < lxw_col_t(titles.size()); ++column) {
        check(worksheet_write_string(sheet, 0, column, titles.at(column).toUtf8().constData(), title));
        check(worksheet_set_column(sheet, column, column, ColumnWidths[column], nullptr));
    }
    lxw_row_t row = 1;
    for (const ChangeOrder &order : history.changeOrders) {
        const QStringList texts = ChangeOrders::registerTexts(grid, order);
        check(worksheet_write_number(sheet, row, 0, order.number, nullptr));
        for (lxw_col_t column = 1; column < lxw_col_t(texts.size()); ++column) {
            if (column == AmountColumn)
                check(worksheet_write_number(sheet, row, column, double(order.amount) / 100, money));
            else
                check(worksheet_write_string(sheet, row, column, texts.at(column).toUtf8().constData(), nullptr));
        }
        ++row;
    }
    check(worksheet_repeat_rows(sheet, 0, 0));
    return error;
}

}
