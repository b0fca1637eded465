#include "loanstatementreport.h"

#include "cellpainter.h"
#include "core/sheet/moneycents.h"
#include "pagewriter.h"
#include "pdfexport.h"
#include "reportfont.h"
#include "reportheading.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <numeric>

namespace {
constexpr qreal ThinLineWidth = 8;
constexpr qreal TextPoints = 8;
constexpr qreal ClosingPoints = 9;
constexpr qreal TablePoints = 8;
// Below this the table is no longer read at arm's length; its texts are cut short instead.
constexpr qreal SmallestTablePoints = 6;
constexpr qreal PointStep = 0.25;
// The space between a column's text and the one before it.
constexpr qreal CellGap = 120;
// A row's height in lines of its type, the rule above the Total line in the space between.
constexpr qreal RowLeading = 1.25;
// "Retainage Released" and the like wrap at their words; three lines take the longest.
constexpr int CaptionLines = 3;
// Draw, Date, State and Funded On are texts; the rest amounts.
constexpr int FirstAmountColumn = 4;

// The type and the width of each column (the gap before it included) that the statement's
// table takes across the page.
struct TableLayout
{
    qreal points = TablePoints;
    QList<qreal> widths;
};

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("MMMM d, yyyy"));
}

// 7125 thousandths of a percent: "7.125 %".
QString rateText(int thousandths)
{
    return QString::number(thousandths / 1000.0, 'g', 10) + QStringLiteral(" %");
}

qreal gapBefore(int column)
{
    return column == 0 ? 0 : CellGap;
}

Qt::Alignment alignmentOf(int column)
{
    return column >= FirstAmountColumn ? Qt::AlignRight : Qt::AlignLeft;
}

qreal sumOf(const QList<qreal> &widths)
{
    return std::accumulate(widths.cbegin(), widths.cend(), qreal(0));
}

// Each column as wide as the widest of its texts and of its caption's words, the last of the
// rows, the Total line, in bold.
QList<qreal> neededWidths(const QList<QStringList> &rows, qreal points)
{
    const QFontMetricsF plain(ReportFont::atPoints(points, false));
    const QFontMetricsF bold(ReportFont::atPoints(points, true));
    const QStringList captions = LoanStatement::columnTitles();
    QList<qreal> widths;
    for (int column = 0; column < int(captions.size()); ++column) {
        qreal widest = 0;
        for (const QString &word : captions.at(column).split(u' '))
            widest = std::max(widest, bold.horizontalAdvance(word));
        for (qsizetype row = 0; row < rows.size(); ++row) {
            const QFontMetricsF &metrics = row == rows.size() - 1 ? bold : plain;
            widest = std::max(widest, metrics.horizontalAdvance(rows.at(row).at(column)));
        }
        widths << widest + gapBefore(column);
    }
    return widths;
}

// The table across the page: the type as large as lets every text fit, and what is left of
// the width spread over the columns; at the smallest type each column gives up its share of
// what is lacking.
TableLayout layoutFor(const QList<QStringList> &rows, qreal pageWidth)
{
    TableLayout layout;
    layout.widths = neededWidths(rows, layout.points);
    while (sumOf(layout.widths) > pageWidth && layout.points > SmallestTablePoints) {
        layout.points -= PointStep;
        layout.widths = neededWidths(rows, layout.points);
    }
    const qreal needed = sumOf(layout.widths);
    for (qreal &width : layout.widths)
        width = needed > pageWidth ? width * pageWidth / needed : width + (pageWidth - needed) / layout.widths.size();
    return layout;
}

void printCells(PageWriter &page, const TableLayout &layout, const QStringList &texts)
{
    qreal x = 0;
    for (int column = 0; column < int(layout.widths.size()); ++column) {
        const qreal gap = gapBefore(column);
        page.printLine(texts.value(column), x + gap, alignmentOf(column), layout.widths.at(column) - gap);
        x += layout.widths.at(column);
    }
}

// The column captions, each wrapped within its column and standing on the last line, above
// a rule.
void printCaptions(PageWriter &page, const TableLayout &layout)
{
    page.setFont(layout.points, true);
    const QStringList captions = LoanStatement::columnTitles();
    QList<QStringList> wrapped;
    qsizetype lineCount = 1;
    for (int column = 0; column < int(captions.size()); ++column) {
        wrapped << CellPainter::fittedLines(captions.at(column), page.font(),
                                            layout.widths.at(column) - gapBefore(column), CaptionLines,
                                            QTextOption::WrapAtWordBoundaryOrAnywhere);
        lineCount = std::max(lineCount, wrapped.last().size());
    }
    for (qsizetype line = 0; line < lineCount; ++line) {
        QStringList texts;
        for (const QStringList &lines : wrapped)
            texts << lines.value(line - (lineCount - lines.size()));
        printCells(page, layout, texts);
        page.skipLine();
    }
    page.skip(page.lineHeight() / 4);
    page.rule(ThinLineWidth);
    page.skip(page.lineHeight() / 4);
    page.setFont(layout.points, false);
}

// A rule in the space above the row at the position.
void ruleAbove(PageWriter &page)
{
    const qreal top = page.y();
    page.moveTo(top - page.lineHeight() * (RowLeading - 1) / 2);
    page.rule(ThinLineWidth);
    page.moveTo(top);
}
}

LoanStatementReport::LoanStatementReport(LoanStatement statement, EstimateReport::Fields fields,
                                         std::optional<Loan> loan)
    : m_statement(std::move(statement))
    , m_fields(std::move(fields))
    , m_loan(std::move(loan))
{
}

void LoanStatementReport::compose(QPainter &painter, QPagedPaintDevice &device) const
{
    PageWriter page(painter, device);
    page.numberPages(QStringLiteral("Page %1"), Qt::AlignRight, true);
    ReportHeading::print(page, QStringLiteral("LOAN STATEMENT"), m_fields);
    printLoan(page);
    page.skip(page.lineHeight());
    printTable(page);
    printInterestAndDate(page);
}

void LoanStatementReport::printLoan(PageWriter &page) const
{
    page.setFont(TextPoints, false);
    if (!m_loan) {
        page.printWrapped(QStringLiteral("No loan recorded."));
        return;
    }
    QStringList lines;
    if (!m_loan->lender.isEmpty())
        lines << QStringLiteral("Lender: ") + m_loan->lender;
    if (!m_loan->loanNumber.isEmpty())
        lines << QStringLiteral("Loan No.: ") + m_loan->loanNumber;
    lines << QStringLiteral("Loan Amount: ") + MoneyCents::text(m_loan->amount);
    if (m_loan->closing.isValid())
        lines << QStringLiteral("Closing Date: ") + dateText(m_loan->closing);
    if (m_loan->maturity.isValid())
        lines << QStringLiteral("Maturity Date: ") + dateText(m_loan->maturity);
    if (m_loan->interestRateThousandths > 0)
        lines << QStringLiteral("Interest Rate: ") + rateText(m_loan->interestRateThousandths);
    for (const QString &line : lines)
        page.printWrapped(line);
}

void LoanStatementReport::printTable(PageWriter &page) const
{
    if (m_statement.lines.isEmpty()) {
        page.setFont(TextPoints, false);
        page.printWrapped(QStringLiteral("No draws recorded."));
        return;
    }
    QList<QStringList> rows;
    for (const LoanStatement::Line &line : m_statement.lines)
        rows << LoanStatement::textsOf(line);
    rows << LoanStatement::textsOf(m_statement.total());
    const TableLayout layout = layoutFor(rows, page.width());
    page.setFont(layout.points, false);
    const int totalRow = int(rows.size()) - 1;
    page.printTable({[&layout](PageWriter &writer) { printCaptions(writer, layout); },
                     [&layout, &rows, totalRow](PageWriter &writer, int row) {
                         if (row == totalRow) {
                             ruleAbove(writer);
                             writer.setFont(layout.points, true);
                         }
                         printCells(writer, layout, rows.at(row));
                     },
                     int(rows.size()), page.lineHeight() * RowLeading});
}

void LoanStatementReport::printInterestAndDate(PageWriter &page) const
{
    page.setFont(ClosingPoints, false);
    page.skip(page.lineHeight() / 2);
    if (m_loan && m_loan->interestRateThousandths > 0)
        page.printWrapped(QStringLiteral("Interest to date: ") + MoneyCents::text(m_statement.interestToDate));
    page.printWrapped(QStringLiteral("As of ") + dateText(m_statement.asOf));
}

bool LoanStatementReport::savePdf(const QString &path, const LoanStatement &statement, const HeaderFields &header,
                                  const std::optional<Loan> &loan, const QPageSize &paper, QString *errorString)
{
    const LoanStatementReport report(statement, EstimateReport::printedFields(header), loan);
    return PdfExport::savePages(
        path, EstimateReport::pageLayoutFor(paper, QPageLayout::Portrait), QStringLiteral("Loan Statement"),
        [&report](QPainter &painter, QPdfWriter &writer) { report.compose(painter, writer); }, errorString);
}
