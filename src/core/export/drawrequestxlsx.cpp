#include "drawrequestxlsx.h"

#include "core/document/safefilewriter.h"
#include "core/history/drawrequest.h"
#include "xlsxworkbook.h"

#include <QHash>

namespace {
constexpr char PercentFormat[] = "0.00%";
constexpr char DateFormat[] = "mmmm d, yyyy";
constexpr char ContinuationName[] = "Continuation Sheet";
constexpr lxw_row_t CaptionRow = 3;
constexpr lxw_row_t FirstLineRow = CaptionRow + 1;
constexpr lxw_row_t RateRow = 8;
constexpr lxw_row_t FirstSummaryRow = RateRow + 2;
constexpr lxw_col_t AmountColumn = 2;
constexpr lxw_col_t DeductionsColumn = AmountColumn + 1;
// The continuation sheet's columns, A to J.
enum Column : lxw_col_t {
    Item,
    Description,
    Scheduled,
    Previous,
    ThisPeriod,
    Stored,
    Completed,
    Percent,
    Balance,
    Retained
};

double dollars(Cents cents)
{
    return double(cents) / 100.0;
}

QString cell(lxw_col_t column, lxw_row_t row)
{
    return QChar(u'A' + int(column)) + QString::number(row + 1);
}

// Formats and writes of one workbook, keeping the first failure.
class Writer
{
public:
    explicit Writer(lxw_workbook *workbook)
        : m_bold(workbook_add_format(workbook))
        , m_caption(workbook_add_format(workbook))
        , m_wrapped(workbook_add_format(workbook))
        , m_money(workbook_add_format(workbook))
        , m_boldMoney(workbook_add_format(workbook))
        , m_percent(workbook_add_format(workbook))
        , m_boldPercent(workbook_add_format(workbook))
        , m_date(workbook_add_format(workbook))
    {
        format_set_bold(m_bold);
        format_set_bold(m_caption);
        format_set_text_wrap(m_caption);
        format_set_align(m_caption, LXW_ALIGN_CENTER);
        format_set_align(m_caption, LXW_ALIGN_VERTICAL_TOP);
        format_set_text_wrap(m_wrapped);
        format_set_align(m_wrapped, LXW_ALIGN_VERTICAL_TOP);
        for (lxw_format *money : {m_money, m_boldMoney})
            format_set_num_format(money, XlsxWorkbook::MoneyFormat);
        for (lxw_format *percent : {m_percent, m_boldPercent})
            format_set_num_format(percent, PercentFormat);
        format_set_bold(m_boldMoney);
        format_set_bold(m_boldPercent);
        format_set_num_format(m_date, DateFormat);
        format_set_align(m_date, LXW_ALIGN_LEFT);
    }

    void writeSummary(lxw_worksheet *sheet, const DrawRequest &request)
    {
        text(sheet, 0, 0, QStringLiteral("DRAW REQUEST"), m_bold);
        const QString labels[] = {QStringLiteral("Application No."),  QStringLiteral("Period From"),
                                  QStringLiteral("Period To"),        QStringLiteral("Owner"),
                                  QStringLiteral("Property Address"), QStringLiteral("Builder"),
                                  QStringLiteral("Retainage Rate")};
        for (lxw_row_t row = 2; row <= RateRow; ++row)
            text(sheet, row, 0, labels[row - 2], m_bold);
        check(worksheet_write_number(sheet, 2, 1, request.applicationNumber, nullptr));
        if (request.periodFrom.isValid())
            date(sheet, 3, 1, request.periodFrom);
        else
            text(sheet, 3, 1, QStringLiteral("the start of the work"), nullptr);
        date(sheet, 4, 1, request.periodTo);
        text(sheet, 5, 1, request.owner, m_wrapped);
        text(sheet, 6, 1, request.address, m_wrapped);
        text(sheet, 7, 1, request.builder, m_wrapped);
        check(worksheet_write_number(sheet, RateRow, 1, request.retainageBasisPoints / 10000.0, m_percent));

        const QList<DrawRequest::SummaryLine> summary = request.summary();
        const lxw_row_t changeOrderRow = FirstSummaryRow + lxw_row_t(summary.size()) + 1;
        const lxw_row_t totalRow = FirstLineRow + lxw_row_t(request.lines.size());
        const QString continuation = QStringLiteral("='%1'!").arg(QLatin1String(ContinuationName));
        const auto summaryCell = [&summary](const char *number) {
            lxw_row_t row = FirstSummaryRow;
            while (summary.at(row - FirstSummaryRow).number != QLatin1String(number))
                ++row;
            return cell(AmountColumn, row);
        };
        // An amount where nothing else on the sheets holds it, else the formula that makes it.
        const QHash<QString, QString> formulas = {
            {QStringLiteral("2"), u'=' + cell(DeductionsColumn, changeOrderRow + 4)},
            {QStringLiteral("2a"),
             QStringLiteral("=%1-%2-%3").arg(summaryCell("3"), summaryCell("1"), summaryCell("2"))},
            {QStringLiteral("3"), continuation + cell(Scheduled, totalRow)},
            {QStringLiteral("4"), continuation + cell(Completed, totalRow)},
            {QStringLiteral("5"), continuation + cell(Retained, totalRow)},
            {QStringLiteral("6"), QStringLiteral("=%1-%2").arg(summaryCell("4"), summaryCell("5"))},
            {QStringLiteral("8"), QStringLiteral("=%1-%2").arg(summaryCell("6"), summaryCell("7"))},
            {QStringLiteral("9"), QStringLiteral("=%1-%2").arg(summaryCell("3"), summaryCell("6"))},
        };
        lxw_row_t row = FirstSummaryRow;
        for (const DrawRequest::SummaryLine &line : summary) {
            text(sheet, row, 0, line.number, nullptr);
            text(sheet, row, 1, line.caption, nullptr);
            amount(sheet, row, AmountColumn, formulas.value(line.number), line.amount,
                   line.isPaymentDue() ? m_boldMoney : m_money);
            ++row;
        }
        writeChangeOrderSummary(sheet, changeOrderRow, request.changeOrders);
        check(worksheet_set_column(sheet, 0, 0, 16, nullptr));
        check(worksheet_set_column(sheet, 1, 1, 58, nullptr));
        check(worksheet_set_column(sheet, AmountColumn, DeductionsColumn, 18, nullptr));
        worksheet_set_portrait(sheet);
        worksheet_fit_to_pages(sheet, 1, 1);
    }

    void writeContinuation(lxw_worksheet *sheet, const DrawRequest &request)
    {
        text(sheet, 0, 0, QStringLiteral("CONTINUATION SHEET"), m_bold);
        text(sheet, 1, 0,
             QStringLiteral("Application No. %1, period %2").arg(request.applicationNumber).arg(request.periodText()),
             nullptr);
        const QStringList captions = DrawRequest::columnCaptions();
        for (lxw_col_t column = Item; column <= Retained; ++column)
            text(sheet, CaptionRow, column, captions.at(column), m_caption);
        lxw_row_t row = FirstLineRow;
        for (const DrawRequestLine &line : request.lines)
            writeLine(sheet, row++, line);
        writeTotal(sheet, row, request.total());

        check(worksheet_set_column(sheet, Item, Item, 6, nullptr));
        check(worksheet_set_column(sheet, Description, Description, 34, m_wrapped));
        check(worksheet_set_column(sheet, Scheduled, Retained, 15, nullptr));
        worksheet_set_landscape(sheet);
        worksheet_fit_to_pages(sheet, 1, 0);
        check(worksheet_repeat_rows(sheet, CaptionRow, CaptionRow));
    }

    lxw_error error() const { return m_error; }

private:
    // Additions and deductions by period, their totals, and the net change that line 2 takes.
    void writeChangeOrderSummary(lxw_worksheet *sheet, lxw_row_t top, const ChangeOrderSummary &orders)
    {
        text(sheet, top, 1, QStringLiteral("Change Order Summary"), m_bold);
        text(sheet, top, AmountColumn, QStringLiteral("Additions"), m_bold);
        text(sheet, top, DeductionsColumn, QStringLiteral("Deductions"), m_bold);
        text(sheet, top + 1, 1, QStringLiteral("Approved in previous periods"), nullptr);
        amount(sheet, top + 1, AmountColumn, {}, orders.previousAdditions, m_money);
        amount(sheet, top + 1, DeductionsColumn, {}, orders.previousDeductions, m_money);
        text(sheet, top + 2, 1, QStringLiteral("Approved this period"), nullptr);
        amount(sheet, top + 2, AmountColumn, {}, orders.additionsThisPeriod, m_money);
        amount(sheet, top + 2, DeductionsColumn, {}, orders.deductionsThisPeriod, m_money);
        text(sheet, top + 3, 1, QStringLiteral("Totals"), m_bold);
        for (const auto &[column, sum] :
             {std::pair{AmountColumn, orders.additions()}, {DeductionsColumn, orders.deductions()}})
            amount(sheet, top + 3, column, QStringLiteral("=%1+%2").arg(cell(column, top + 1), cell(column, top + 2)),
                   sum, m_boldMoney);
        text(sheet, top + 4, 1, QStringLiteral("Net change by change orders"), m_bold);
        amount(sheet, top + 4, DeductionsColumn,
               QStringLiteral("=%1-%2").arg(cell(AmountColumn, top + 3), cell(DeductionsColumn, top + 3)),
               orders.netChange(), m_boldMoney);
    }

    // The formula, with the program's figure as its result, or the figure alone.
    void amount(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QString &formula, Cents cents,
                lxw_format *format)
    {
        if (formula.isEmpty())
            check(worksheet_write_number(sheet, row, column, dollars(cents), format));
        else
            this->formula(sheet, row, column, formula, dollars(cents), format);
    }

    void date(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QDate &day)
    {
        if (!day.isValid())
            return;
        lxw_datetime date = {day.year(), day.month(), day.day(), 0, 0, 0};
        check(worksheet_write_datetime(sheet, row, column, &date, m_date));
    }

    void writeLine(lxw_worksheet *sheet, lxw_row_t row, const DrawRequestLine &line)
    {
        check(worksheet_write_number(sheet, row, Item, line.row, nullptr));
        text(sheet, row, Description, line.description, m_wrapped);
        const std::pair<Column, Cents> amounts[] = {{Scheduled, line.scheduledValue},
                                                    {Previous, line.previousApplications},
                                                    {ThisPeriod, line.thisPeriod},
                                                    {Stored, line.storedMaterials}};
        for (const auto &[column, amount] : amounts)
            check(worksheet_write_number(sheet, row, column, dollars(amount), m_money));
        writeFormulas(sheet, row, line, m_money, m_percent);
        const QString rate = QStringLiteral("Summary!$B$%1").arg(RateRow + 1);
        // In whole cents and whole basis points, as the program takes it: a product of binary
        // fractions that should end in half a cent rounds either way from one engine to the next.
        // No retainage is held on what the owner paid before the loan's first draw.
        const QString heldOn = line.openingBalance == 0
            ? cell(Completed, row)
            : QStringLiteral("(%1-%2)").arg(cell(Completed, row)).arg(dollars(line.openingBalance), 0, 'f', 2);
        formula(sheet, row, Retained,
                QStringLiteral("=ROUND(ROUND(%1*100,0)*ROUND(%2*10000,0)/10000,0)/100").arg(heldOn, rate),
                dollars(line.retainage), m_money);
    }

    void writeTotal(lxw_worksheet *sheet, lxw_row_t row, const DrawRequestLine &total)
    {
        text(sheet, row, Description, total.description, m_bold);
        const std::pair<Column, Cents> sums[] = {{Scheduled, total.scheduledValue},
                                                 {Previous, total.previousApplications},
                                                 {ThisPeriod, total.thisPeriod},
                                                 {Stored, total.storedMaterials},
                                                 {Retained, total.retainage}};
        for (const auto &[column, amount] : sums)
            formula(sheet, row, column,
                    QStringLiteral("=SUM(%1:%2)").arg(cell(column, FirstLineRow), cell(column, row - 1)),
                    dollars(amount), m_boldMoney);
        writeFormulas(sheet, row, total, m_boldMoney, m_boldPercent);
    }

    // G, % and H of a line, from its own C to F.
    void writeFormulas(lxw_worksheet *sheet, lxw_row_t row, const DrawRequestLine &line, lxw_format *money,
                       lxw_format *percent)
    {
        formula(sheet, row, Completed,
                QStringLiteral("=%1+%2+%3").arg(cell(Previous, row), cell(ThisPeriod, row), cell(Stored, row)),
                dollars(line.completedToDate()), money);
        const QString ratio = QStringLiteral("=IF(%1=0,\"\",%2/%1)").arg(cell(Scheduled, row), cell(Completed, row));
        if (line.scheduledValue == 0)
            check(worksheet_write_formula_str(sheet, row, Percent, ratio.toUtf8().constData(), percent, ""));
        else
            formula(sheet, row, Percent, ratio, double(line.completedToDate()) / double(line.scheduledValue), percent);
        formula(sheet, row, Balance, QStringLiteral("=%1-%2").arg(cell(Scheduled, row), cell(Completed, row)),
                dollars(line.balanceToFinish()), money);
    }

    void formula(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QString &formula, double cached,
                 lxw_format *format)
    {
        check(worksheet_write_formula_num(sheet, row, column, formula.toUtf8().constData(), format, cached));
    }

    void text(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QString &text, lxw_format *format)
    {
        if (!text.isEmpty())
            check(worksheet_write_string(sheet, row, column, text.toUtf8().constData(), format));
    }

    void check(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    lxw_format *const m_bold;
    lxw_format *const m_caption;
    lxw_format *const m_wrapped;
    lxw_format *const m_money;
    lxw_format *const m_boldMoney;
    lxw_format *const m_percent;
    lxw_format *const m_boldPercent;
    lxw_format *const m_date;
    lxw_error m_error = LXW_NO_ERROR;
};
}

namespace DrawRequestXlsx {

QByteArray encode(const DrawRequest &request, QString *errorString)
{
    return XlsxWorkbook::make(
        [&request](lxw_workbook *workbook) {
            Writer writer(workbook);
            writer.writeSummary(workbook_add_worksheet(workbook, "Summary"), request);
            writer.writeContinuation(workbook_add_worksheet(workbook, ContinuationName), request);
            return writer.error();
        },
        errorString);
}

bool save(const QString &path, const DrawRequest &request, QString *errorString)
{
    const QByteArray bytes = encode(request, errorString);
    return !bytes.isEmpty() && SafeFileWriter::write(path, bytes, errorString);
}

}
