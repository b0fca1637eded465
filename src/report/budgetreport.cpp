#include "budgetreport.h"

#include "budgetbars.h"
#include "cellpainter.h"
#include "core/budget/budgetfigures.h"
#include "core/history/changeorders.h"
#include "pagewriter.h"
#include "pdfexport.h"
#include "reportfont.h"
#include "reportheading.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
constexpr qreal BarHeight = 330;
constexpr qreal ChartFrameHeight = 1500;
constexpr qreal MinimumChartHeight = 2880;
// What the budget table's heading, its captions and its first rows take: they are kept under
// the chart on its page, so that the bars and their figures begin together.
constexpr qreal TableStartHeight = 1800;
// The space between a column's text and the next column's.
constexpr qreal CellGap = 120;
constexpr qreal TablePoints = 8;
constexpr int MaxCaptionLines = 3;
constexpr qreal MinimumAmountWidth = 1230;

// A table's columns in twips, each with its alignment; the one of no width takes what the
// others leave of the page.
struct Columns
{
    QList<qreal> widths;
    QList<Qt::Alignment> alignments;
};

// The register's columns: the number and the amount to the right, the description the rest.
Columns registerColumns()
{
    return {
        {600, 1250, 2300, 0, 1450, 1050, 1350},
        {Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft}};
}

// The budget table's columns: the row, then its amounts to the right, each as wide as the
// register's amount or its widest text, so that no amount is ever cut short, and its
// caption's longest word; the caption takes as many lines as it needs.
Columns budgetColumns(const QStringList &titles, const QList<QStringList> &rows)
{
    const QFontMetricsF bold(ReportFont::atPoints(TablePoints, true));
    Columns columns{{0}, {Qt::AlignLeft}};
    for (qsizetype column = 1; column < titles.size(); ++column) {
        qreal widest = MinimumAmountWidth;
        for (const QString &word : titles.at(column).split(u' '))
            widest = std::max(widest, bold.horizontalAdvance(word));
        for (const QStringList &texts : rows)
            widest = std::max(widest, bold.horizontalAdvance(texts.at(column)));
        columns.widths << std::ceil(widest) + CellGap;
        columns.alignments << Qt::AlignRight;
    }
    return columns;
}

// One row of texts at the position, each in its column.
void printRow(PageWriter &page, const Columns &columns, const QStringList &texts)
{
    qreal x = 0;
    for (qsizetype column = 0; column < columns.widths.size(); ++column) {
        page.printLine(texts.at(column), x, columns.alignments.at(column), columns.widths.at(column) - CellGap);
        x += columns.widths.at(column);
    }
}

// The captions line by line, each broken into lines of its column's width, the last lines of
// all of them on the line above the first row.
QList<QStringList> captionLines(const Columns &columns, const QStringList &titles)
{
    QList<QStringList> captions;
    qsizetype lineCount = 1;
    for (qsizetype column = 0; column < columns.widths.size(); ++column) {
        captions << CellPainter::fittedLines(titles.at(column), ReportFont::atPoints(TablePoints, true),
                                             columns.widths.at(column) - CellGap, MaxCaptionLines,
                                             QTextOption::WrapAtWordBoundaryOrAnywhere);
        lineCount = std::max(lineCount, captions.constLast().size());
    }
    QList<QStringList> lines(lineCount);
    for (const QStringList &caption : captions) {
        for (qsizetype line = 0; line < lineCount; ++line)
            lines[line] << caption.value(line - (lineCount - caption.size()));
    }
    return lines;
}

// A table in columns down the page, its captions in bold on top of every page it runs onto;
// the last boldRows rows, the totals, in bold too.
void printInColumns(PageWriter &page, Columns columns, const QStringList &titles, const QList<QStringList> &rows,
                    int boldRows = 0)
{
    const qreal given = std::accumulate(columns.widths.cbegin(), columns.widths.cend(), qreal(0));
    std::replace(columns.widths.begin(), columns.widths.end(), qreal(0), page.width() - given);
    const QList<QStringList> captions = captionLines(columns, titles);
    page.setFont(TablePoints, false);
    page.printTable({[&columns, &captions](PageWriter &writer) {
                         writer.setFont(TablePoints, true);
                         for (const QStringList &line : captions) {
                             printRow(writer, columns, line);
                             writer.skipLine();
                         }
                         writer.setFont(TablePoints, false);
                     },
                     [&columns, &rows, boldRows](PageWriter &writer, int row) {
                         const bool bold = row >= rows.size() - boldRows;
                         writer.setFont(TablePoints, bold);
                         printRow(writer, columns, rows.at(row));
                         writer.setFont(TablePoints, false);
                     },
                     int(rows.size()), page.lineHeight()});
}
}

BudgetReport::BudgetReport(const Grid &grid, EstimateReport::Fields fields, const EstimateHistory &history)
    : m_grid(grid)
    , m_fields(std::move(fields))
    , m_history(history)
{
}

void BudgetReport::compose(QPainter &painter, QPagedPaintDevice &device) const
{
    PageWriter page(painter, device);
    page.numberPages(QStringLiteral("Page %1"), Qt::AlignRight, true);
    ReportHeading::print(page, QStringLiteral("BUDGET SUMMARY"), m_fields);

    const BudgetFigures figures(m_grid, m_history);
    page.setFont(9, true);
    page.printWrapped(figures.totalsLine());
    page.skip(page.lineHeight() / 2);
    const qreal height = chartHeight(page.room(), figures.lines().size());
    BudgetBars(figures.lines()).draw(painter, QRectF(0, page.y(), page.width(), height));
    page.skip(height + page.lineHeight());

    printHeading(page, QStringLiteral("BUDGET BY ROW"));
    printBudgetTable(page, figures);
    page.skip(page.lineHeight());

    printHeading(page, QStringLiteral("CHANGE ORDERS"));
    printRegister(page);
}

qreal BudgetReport::chartHeight(qreal room, qsizetype lineCount)
{
    const qreal wanted = ChartFrameHeight + BarHeight * qreal(lineCount);
    const qreal above = room - TableStartHeight;
    return std::clamp(wanted, std::min(MinimumChartHeight, above), std::max(above, MinimumChartHeight));
}

void BudgetReport::printHeading(PageWriter &page, const QString &heading)
{
    page.setFont(10, true);
    page.keepRoomFor(page.lineHeight() * 3);
    page.printLine(heading);
    page.skip(page.lineHeight() * 1.5);
}

void BudgetReport::printBudgetTable(PageWriter &page, const BudgetFigures &figures)
{
    if (figures.lines().isEmpty()) {
        page.setFont(TablePoints, false);
        page.printWrapped(QStringLiteral("No row holds an amount."));
        return;
    }
    QList<QStringList> rows;
    for (const BudgetLine &line : figures.lines())
        rows << line.tableTexts();
    rows << figures.totalTexts();
    const QStringList titles = BudgetFigures::tableTitles();
    printInColumns(page, budgetColumns(titles, rows), titles, rows, 1);
}

void BudgetReport::printRegister(PageWriter &page) const
{
    const QList<ChangeOrder> &orders = m_history.changeOrders;
    page.setFont(TablePoints, false);
    if (orders.isEmpty()) {
        page.printWrapped(QStringLiteral("No change orders."));
    } else {
        QList<QStringList> rows;
        for (const ChangeOrder &order : orders)
            rows << ChangeOrders::registerTexts(m_grid, order);
        printInColumns(page, registerColumns(), ChangeOrders::registerTitles(), rows);
    }
    page.skip(page.lineHeight() / 2);
    for (const ChangeOrders::HandEdit &edit : ChangeOrders::handEdits(m_grid, m_history))
        page.printWrapped(ChangeOrders::handEditText(m_grid, edit));
}

bool BudgetReport::savePdf(const QString &path, const Grid &grid, const HeaderFields &header,
                           const EstimateHistory &history, const QPageSize &paper, QString *errorString)
{
    const BudgetReport report(grid, EstimateReport::printedFields(header), history);
    return PdfExport::savePages(
        path, EstimateReport::pageLayoutFor(paper, QPageLayout::Portrait), QStringLiteral("Budget Summary"),
        [&report](QPainter &painter, QPdfWriter &writer) { report.compose(painter, writer); }, errorString);
}
