#include "xlsxwriterlibrary.h"

#include <QLibrary>

namespace {
template <typename Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

struct Loaded
{
    XlsxWriterLibrary functions;
    QString errorString;
};

Loaded loadLibrary()
{
    // The version the program was built against, which names the library file.
    QLibrary library(QStringLiteral("xlsxwriter"), QStringLiteral(LXW_SOVERSION));
    Loaded loaded;
    XlsxWriterLibrary &f = loaded.functions;
#define VARN_RESOLVE(name) resolve(library, #name, f.name)
    const bool complete = VARN_RESOLVE(workbook_new_opt) && VARN_RESOLVE(workbook_add_worksheet)
        && VARN_RESOLVE(workbook_add_format) && VARN_RESOLVE(workbook_close) && VARN_RESOLVE(format_set_bold)
        && VARN_RESOLVE(format_set_text_wrap) && VARN_RESOLVE(format_set_align) && VARN_RESOLVE(format_set_num_format)
        && VARN_RESOLVE(worksheet_write_string) && VARN_RESOLVE(worksheet_write_blank)
        && VARN_RESOLVE(worksheet_write_number) && VARN_RESOLVE(worksheet_write_formula_num)
        && VARN_RESOLVE(worksheet_set_row) && VARN_RESOLVE(worksheet_set_column_pixels)
        && VARN_RESOLVE(worksheet_set_landscape) && VARN_RESOLVE(worksheet_set_portrait)
        && VARN_RESOLVE(worksheet_fit_to_pages) && VARN_RESOLVE(worksheet_repeat_rows)
        && VARN_RESOLVE(worksheet_print_area) && VARN_RESOLVE(worksheet_set_header) && VARN_RESOLVE(lxw_strerror);
#undef VARN_RESOLVE
    if (!complete)
        loaded.errorString = QStringLiteral("the spreadsheet library cannot be loaded (%1)").arg(library.errorString());
    // Once loaded, the library stays for the rest of the run.
    return loaded;
}
}

const XlsxWriterLibrary *XlsxWriterLibrary::load(QString *errorString)
{
    static const Loaded loaded = loadLibrary();
    if (!loaded.errorString.isEmpty()) {
        *errorString = loaded.errorString;
        return nullptr;
    }
    return &loaded.functions;
}
