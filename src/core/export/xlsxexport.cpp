#include "xlsxexport.h"

#include "changeorderworksheet.h"
#include "core/document/safefilewriter.h"
#include "core/history/loanstatement.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/money.h"
#include "core/sheet/twips.h"
#include "loanstatementworksheet.h"
#include "xlsxworkbook.h"

namespace {
constexpr int HeaderFieldRows = 3;
constexpr int TitleRow = HeaderFieldRows;
constexpr int FirstItemRow = TitleRow + 1;
constexpr int TotalRow = FirstItemRow + EstimateSheet::ItemRowCount;
// A spreadsheet's pixel is one at 96 to the inch.
constexpr double TwipsPerPixel = Twips::PerInch / 96.0;
// The page a lender prints on, US Letter, less Excel's margins of 0.7 inch either side.
constexpr double PortraitPrintWidth = 8.5 - 2 * 0.7;
// Excel takes a page header of up to 255 characters, its codes included; each of the
// three fields keeps its share.
constexpr qsizetype PrintHeaderFieldLength = 80;

// The sheet's data column (1..7) in the workbook: column A is the first data column.
lxw_col_t workbookColumn(int column)
{
    return lxw_col_t(column - 1);
}

// The workbook row of a sheet row (1..37, 37 the Total row).
lxw_row_t workbookRow(int row)
{
    return lxw_row_t(FirstItemRow + row - 1);
}

QString cellName(int row, int column)
{
    return QChar(u'A' + column - 1) + QString::number(workbookRow(row) + 1);
}

// A header field in the print header's codes, where "&" starts a code, on one line.
QString printHeaderText(const QString &label, const QString &text)
{
    const QString line = label + QString(text).replace(u'\n', QLatin1String(", "));
    QString coded = QString(line).replace(u'&', QLatin1String("&&"));
    for (qsizetype kept = line.size() - 1; coded.size() > PrintHeaderFieldLength; --kept)
        coded = QString(line.left(kept) + u'\u2026').replace(u'&', QLatin1String("&&"));
    return coded;
}

// Writes one worksheet and keeps the first failure.
class WorksheetWriter
{
public:
    WorksheetWriter(lxw_workbook *workbook, const Grid &grid)
        : m_grid(grid)
        , m_sheet(workbook_add_worksheet(workbook, "Cost Estimate"))
        , m_title(workbook_add_format(workbook))
        , m_label(workbook_add_format(workbook))
        , m_wrapped(workbook_add_format(workbook))
        , m_money(workbook_add_format(workbook))
        , m_totalMoney(workbook_add_format(workbook))
    {
        format_set_bold(m_title);
        format_set_text_wrap(m_title);
        format_set_align(m_title, LXW_ALIGN_CENTER);
        format_set_align(m_title, LXW_ALIGN_VERTICAL_TOP);
        format_set_bold(m_label);
        format_set_text_wrap(m_wrapped);
        format_set_align(m_wrapped, LXW_ALIGN_VERTICAL_TOP);
        format_set_num_format(m_money, XlsxWorkbook::MoneyFormat);
        format_set_num_format(m_totalMoney, XlsxWorkbook::MoneyFormat);
        format_set_bold(m_totalMoney);
    }

    void writeHeaderFields(const HeaderFields &header)
    {
        const std::pair<const char *, HeaderFields::Field> fields[] = {
            {"Name:", HeaderFields::Name}, {"Address:", HeaderFields::Address}, {"Builder:", HeaderFields::Builder}};
        for (lxw_row_t row = 0; row < HeaderFieldRows; ++row) {
            check(worksheet_write_string(m_sheet, row, 0, fields[row].first, m_label));
            writeText(row, 1, header.text(fields[row].second), m_wrapped);
        }
    }

    void writeTitles()
    {
        for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column)
            writeText(TitleRow, workbookColumn(column), m_grid.text(0, column), m_title);
        check(worksheet_set_row(m_sheet, TitleRow, double(m_grid.rowHeight(0)) / Twips::PerPoint, nullptr));
    }

    void writeItems()
    {
        for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
            for (int column = 1; column < EstimateSheet::CostToCompleteColumn; ++column)
                writeCell(row, column);
            writeCostToComplete(row);
        }
    }

    void writeTotals()
    {
        const int total = EstimateSheet::TotalRow;
        writeText(workbookRow(total), workbookColumn(EstimateSheet::DescriptionColumn),
                  m_grid.text(total, EstimateSheet::DescriptionColumn), m_label);
        for (int column = EstimateSheet::OriginalEstimateColumn; column <= EstimateSheet::DataColumnCount; ++column) {
            const QString formula =
                QStringLiteral("=SUM(%1:%2)").arg(cellName(1, column), cellName(EstimateSheet::ItemRowCount, column));
            writeFormula(total, column, formula, m_totalMoney);
        }
    }

    // Column widths as on the sheet, the page one page wide and turned when the sheet is
    // wider than a portrait page, the titles on every page and the header fields above them.
    void setUpPage(const HeaderFields &header)
    {
        int sheetWidth = 0;
        for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column) {
            const int width = m_grid.columnWidth(column);
            sheetWidth += width;
            check(worksheet_set_column_pixels(m_sheet, workbookColumn(column), workbookColumn(column),
                                              uint32_t(width / TwipsPerPixel), nullptr));
        }
        if (double(sheetWidth) / Twips::PerInch > PortraitPrintWidth)
            worksheet_set_landscape(m_sheet);
        else
            worksheet_set_portrait(m_sheet);
        worksheet_fit_to_pages(m_sheet, 1, 0);
        check(worksheet_repeat_rows(m_sheet, TitleRow, TitleRow));
        check(worksheet_print_area(m_sheet, 0, 0, TotalRow, workbookColumn(EstimateSheet::DataColumnCount)));
        const QString printHeader = QStringLiteral("&L")
            + printHeaderText(QStringLiteral("Name: "), header.text(HeaderFields::Name)) + QStringLiteral("&C")
            + printHeaderText(QStringLiteral("Prop. Address: "), header.text(HeaderFields::Address))
            + QStringLiteral("&R") + printHeaderText(QStringLiteral("Builder: "), header.text(HeaderFields::Builder));
        check(worksheet_set_header(m_sheet, printHeader.toUtf8().constData()));
    }

    lxw_error error() const { return m_error; }

private:
    void check(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    void writeText(lxw_row_t row, lxw_col_t column, const QString &text, lxw_format *format)
    {
        if (!text.isEmpty())
            check(worksheet_write_string(m_sheet, row, column, text.toUtf8().constData(), format));
        else if (format)
            check(worksheet_write_blank(m_sheet, row, column, format));
    }

    // An amount becomes the number the sheet reads from it; a note in a money column stays
    // the text it is, and an empty one keeps the currency form for what is typed there.
    void writeCell(int row, int column)
    {
        const QString &text = m_grid.text(row, column);
        if (!EstimateSheet::isMoneyColumn(column))
            writeText(workbookRow(row), workbookColumn(column), text, nullptr);
        else if (Money::holdsAmount(text))
            check(worksheet_write_number(m_sheet, workbookRow(row), workbookColumn(column), Money::ReadMoneyValue(text),
                                         m_money));
        else
            writeText(workbookRow(row), workbookColumn(column), text, m_money);
    }

    void writeCostToComplete(int row)
    {
        const int column = EstimateSheet::CostToCompleteColumn;
        if (!Money::holdsAmount(m_grid.text(row, column))) {
            writeCell(row, column);
            return;
        }
        const QString formula = u'=' + operand(row, EstimateSheet::AdjustedEstimateColumn) + u'-'
            + operand(row, EstimateSheet::PreviousPaymentColumn) + u'-'
            + operand(row, EstimateSheet::CurrentPaymentColumn);
        writeFormula(row, column, formula, m_money);
    }

    // The sheet reads a note as nothing; a spreadsheet's subtraction would stop at it.
    QString operand(int row, int column) const
    {
        const QString &text = m_grid.text(row, column);
        const QString name = cellName(row, column);
        return text.isEmpty() || Money::holdsAmount(text) ? name : QStringLiteral("N(%1)").arg(name);
    }

    // With the result the sheet shows, for readers that do not calculate.
    void writeFormula(int row, int column, const QString &formula, lxw_format *format)
    {
        check(worksheet_write_formula_num(m_sheet, workbookRow(row), workbookColumn(column),
                                          formula.toUtf8().constData(), format,
                                          Money::ReadMoneyValue(m_grid.text(row, column))));
    }

    const Grid &m_grid;
    lxw_worksheet *const m_sheet;
    lxw_format *const m_title;
    lxw_format *const m_label;
    lxw_format *const m_wrapped;
    lxw_format *const m_money;
    lxw_format *const m_totalMoney;
    lxw_error m_error = LXW_NO_ERROR;
};

}

namespace XlsxExport {

QByteArray encode(const Grid &grid, const HeaderFields &header, const EstimateHistory &history, const QDate &asOf,
                  QString *errorString)
{
    return XlsxWorkbook::make(
        [&grid, &header, &history, &asOf](lxw_workbook *workbook) {
            WorksheetWriter writer(workbook, grid);
            writer.writeHeaderFields(header);
            writer.writeTitles();
            writer.writeItems();
            writer.writeTotals();
            writer.setUpPage(header);
            const lxw_error orders = ChangeOrderWorksheet::add(workbook, grid, history);
            // An estimate without a loan or a funding is the workbook it always was.
            const lxw_error loan = history.keepsLenderSide()
                ? LoanStatementWorksheet::add(workbook, LoanStatement::of(grid, header, history, asOf))
                : LXW_NO_ERROR;
            for (const lxw_error error : {writer.error(), orders, loan}) {
                if (error != LXW_NO_ERROR)
                    return error;
            }
            return LXW_NO_ERROR;
        },
        errorString);
}

bool save(const QString &path, const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
          const QDate &asOf, QString *errorString)
{
    const QByteArray bytes = encode(grid, header, history, asOf, errorString);
    return !bytes.isEmpty() && SafeFileWriter::write(path, bytes, errorString);
}

}
