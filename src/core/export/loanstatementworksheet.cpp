#include "loanstatementworksheet.h"

#include "core/document/safefilewriter.h"
#include "core/history/loanstatement.h"
#include "xlsxworkbook.h"

#include <array>

namespace {
constexpr lxw_row_t TitleRow = 0;
constexpr lxw_row_t FirstLineRow = 1;
constexpr char DateFormat[] = "yyyy-mm-dd";
// The statement's columns, A to K, as LoanStatement::columnTitles() names them.
enum Column : lxw_col_t {
    Draw,
    Date,
    State,
    FundedOn,
    Requested,
    Funded,
    FeesWithheld,
    RetainageHeld,
    RetainageReleased,
    OwnerCash,
    UndisbursedAfter
};
// Widths in characters, each amount's as wide as a million dollars.
constexpr std::array<double, 11> ColumnWidths = {6, 11, 10, 11, 14, 14, 14, 14, 14, 14, 14};

double dollars(Cents cents)
{
    return double(cents) / 100;
}

QString cell(lxw_col_t column, lxw_row_t row)
{
    return QChar(u'A' + int(column)) + QString::number(row + 1);
}

// What the Total row adds up of the draws' rows.
std::array<std::pair<Column, Cents>, 5> summedAmounts(const LoanStatement::Line &line)
{
    return {{{Requested, line.requested},
             {Funded, line.fundedAmount},
             {FeesWithheld, line.feesWithheld},
             {RetainageReleased, line.retainageReleased},
             {OwnerCash, line.ownerCash}}};
}

// Formats and writes of the worksheet, keeping the first failure.
class Writer
{
public:
    Writer(lxw_workbook *workbook, lxw_worksheet *sheet)
        : m_sheet(sheet)
        , m_title(workbook_add_format(workbook))
        , m_bold(workbook_add_format(workbook))
        , m_money(workbook_add_format(workbook))
        , m_boldMoney(workbook_add_format(workbook))
        , m_date(workbook_add_format(workbook))
    {
        format_set_bold(m_title);
        format_set_text_wrap(m_title);
        format_set_align(m_title, LXW_ALIGN_VERTICAL_TOP);
        format_set_bold(m_bold);
        format_set_num_format(m_money, XlsxWorkbook::MoneyFormat);
        format_set_num_format(m_boldMoney, XlsxWorkbook::MoneyFormat);
        format_set_bold(m_boldMoney);
        format_set_num_format(m_date, DateFormat);
        format_set_align(m_date, LXW_ALIGN_LEFT);
    }

    void writeTitles()
    {
        const QStringList titles = LoanStatement::columnTitles();
        for (lxw_col_t column = Draw; column <= UndisbursedAfter; ++column) {
            text(TitleRow, column, titles.at(column), m_title);
            check(worksheet_set_column(m_sheet, column, column, ColumnWidths.at(column), nullptr));
        }
    }

    void writeLine(lxw_row_t row, const LoanStatement::Line &line)
    {
        check(worksheet_write_number(m_sheet, row, Draw, line.draw, nullptr));
        date(row, Date, line.date);
        text(row, State, line.state, nullptr);
        date(row, FundedOn, line.funded);
        for (const auto &[column, amount] : summedAmounts(line))
            check(worksheet_write_number(m_sheet, row, column, dollars(amount), m_money));
        check(worksheet_write_number(m_sheet, row, RetainageHeld, dollars(line.retainageHeld), m_money));
        if (line.undisbursedAfter)
            check(worksheet_write_number(m_sheet, row, UndisbursedAfter, dollars(*line.undisbursedAfter), m_money));
    }

    // The sums of the draws' rows, and the retainage held and the loan undisbursed after the
    // last of them, each holding the statement's figure for readers that do not calculate.
    void writeTotal(lxw_row_t row, const LoanStatement::Line &total)
    {
        text(row, Draw, QStringLiteral("Total"), m_bold);
        const lxw_row_t last = row - 1;
        if (last < FirstLineRow) {
            for (const auto &[column, amount] : summedAmounts(total))
                check(worksheet_write_number(m_sheet, row, column, dollars(amount), m_boldMoney));
            check(worksheet_write_number(m_sheet, row, RetainageHeld, dollars(total.retainageHeld), m_boldMoney));
            return;
        }
        for (const auto &[column, amount] : summedAmounts(total))
            formula(row, column, QStringLiteral("=SUM(%1:%2)").arg(cell(column, FirstLineRow), cell(column, last)),
                    amount);
        formula(row, RetainageHeld, u'=' + cell(RetainageHeld, last), total.retainageHeld);
        if (total.undisbursedAfter)
            formula(row, UndisbursedAfter, u'=' + cell(UndisbursedAfter, last), *total.undisbursedAfter);
    }

    void writeInterest(lxw_row_t row, const LoanStatement &statement)
    {
        text(row, Draw, QStringLiteral("Interest to date"), m_bold);
        check(worksheet_write_number(m_sheet, row, Requested, dollars(statement.interestToDate), m_money));
        text(row + 1, Draw, QStringLiteral("As of"), m_bold);
        date(row + 1, Requested, statement.asOf);
    }

    // One page wide, the titles on every page and in sight as the rows scroll.
    void setUpPage()
    {
        worksheet_set_portrait(m_sheet);
        worksheet_fit_to_pages(m_sheet, 1, 0);
        worksheet_freeze_panes(m_sheet, FirstLineRow, 0);
        check(worksheet_repeat_rows(m_sheet, TitleRow, TitleRow));
    }

    lxw_error error() const { return m_error; }

private:
    void text(lxw_row_t row, lxw_col_t column, const QString &text, lxw_format *format)
    {
        if (!text.isEmpty())
            check(worksheet_write_string(m_sheet, row, column, text.toUtf8().constData(), format));
    }

    void date(lxw_row_t row, lxw_col_t column, const QDate &date)
    {
        if (!date.isValid())
            return;
        lxw_datetime day = {date.year(), date.month(), date.day(), 0, 0, 0};
        check(worksheet_write_datetime(m_sheet, row, column, &day, m_date));
    }

    void formula(lxw_row_t row, lxw_col_t column, const QString &formula, Cents cached)
    {
        check(worksheet_write_formula_num(m_sheet, row, column, formula.toUtf8().constData(), m_boldMoney,
                                          dollars(cached)));
    }

    void check(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    lxw_worksheet *const m_sheet;
    lxw_format *const m_title;
    lxw_format *const m_bold;
    lxw_format *const m_money;
    lxw_format *const m_boldMoney;
    lxw_format *const m_date;
    lxw_error m_error = LXW_NO_ERROR;
};
}

namespace LoanStatementWorksheet {

lxw_error add(lxw_workbook *workbook, const LoanStatement &statement)
{
    Writer writer(workbook, workbook_add_worksheet(workbook, "Loan"));
    writer.writeTitles();
    lxw_row_t row = FirstLineRow;
    for (const LoanStatement::Line &line : statement.lines)
        writer.writeLine(row++, line);
    writer.writeTotal(row, statement.total());
    writer.writeInterest(row + 2, statement);
    writer.setUpPage();
    return writer.error();
}

QByteArray encode(const LoanStatement &statement, QString *errorString)
{
    return XlsxWorkbook::make([&statement](lxw_workbook *workbook) { return add(workbook, statement); }, errorString);
}

bool save(const QString &path, const LoanStatement &statement, QString *errorString)
{
    const QByteArray bytes = encode(statement, errorString);
    return !bytes.isEmpty() && SafeFileWriter::write(path, bytes, errorString);
}

}
