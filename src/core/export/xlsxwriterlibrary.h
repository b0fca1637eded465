#pragma once

#include <QString>

#include <xlsxwriter.h>

// libxlsxwriter, loaded at the first spreadsheet export instead of at every start: with the
// compression and cryptography libraries it brings, it cost every other export, and every
// start of the window, several milliseconds of loading. Its functions keep their names.
class XlsxWriterLibrary
{
public:
    // The library, loaded once for the run; null, with errorString saying why, when it cannot be.
    static const XlsxWriterLibrary *load(QString *errorString);

    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::format_set_text_wrap) format_set_text_wrap = nullptr;
    decltype(&::format_set_align) format_set_align = nullptr;
    decltype(&::format_set_num_format) format_set_num_format = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_blank) worksheet_write_blank = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_write_formula_num) worksheet_write_formula_num = nullptr;
    decltype(&::worksheet_set_row) worksheet_set_row = nullptr;
    decltype(&::worksheet_set_column_pixels) worksheet_set_column_pixels = nullptr;
    decltype(&::worksheet_set_landscape) worksheet_set_landscape = nullptr;
    decltype(&::worksheet_set_portrait) worksheet_set_portrait = nullptr;
    decltype(&::worksheet_fit_to_pages) worksheet_fit_to_pages = nullptr;
    decltype(&::worksheet_repeat_rows) worksheet_repeat_rows = nullptr;
    decltype(&::worksheet_print_area) worksheet_print_area = nullptr;
    decltype(&::worksheet_set_header) worksheet_set_header = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;
};
