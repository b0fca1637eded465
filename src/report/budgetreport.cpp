#include "budgetreport.h"

#include "budgetbars.h"
#include "core/budget/budgetfigures.h"
#include "core/history/changeorders.h"
#include "pagewriter.h"
#include "pdfexport.h"

#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <numeric>

namespace {
constexpr qreal LineWidth = 15;
constexpr qreal BarHeight = 330;
constexpr qreal ChartFrameHeight = 1500;
constexpr qreal MinimumChartHeight = 2880;
// The register's columns in twips; the description takes what they leave of the page.
constexpr std::array<qreal, 7> RegisterColumnWidths = {600, 1250, 2300, 0, 1450, 1050, 1350};
constexpr int DescriptionColumn = 3;
constexpr int AmountColumn = 4;
// The space between a column's text and the next column's.
constexpr qreal CellGap = 120;
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
    page.setFont(12, true);
    page.printLine(QStringLiteral("BUDGET SUMMARY"), 0, Qt::AlignHCenter);
    page.skip(page.lineHeight() * 1.5);
    page.setFont(8, false);
    page.printWrapped(QStringLiteral("Name: ") + m_fields.name);
    page.printWrapped(QStringLiteral("BUILDER: ") + m_fields.builder);
    page.printWrapped(QStringLiteral("PROP. ADDRESS: ") + m_fields.address);
    page.skip(page.lineHeight() / 2);
    page.rule(LineWidth);
    page.skip(page.lineHeight() / 2);

    page.setFont(9, true);
    page.printWrapped(BudgetFigures(m_grid, m_history).totalsLine());
    page.skip(page.lineHeight() / 2);
    const qreal height = chartHeight(page.room());
    BudgetBars(BudgetFigures(m_grid, m_history).lines()).draw(painter, QRectF(0, page.y(), page.width(), height));
    page.skip(height + page.lineHeight());

    page.setFont(10, true);
    page.keepRoomFor(page.lineHeight() * 3);
    page.printLine(QStringLiteral("CHANGE ORDERS"));
    page.skip(page.lineHeight() * 1.5);
    printRegister(page);
}

qreal BudgetReport::chartHeight(qreal room) const
{
    const qreal wanted = ChartFrameHeight + BarHeight * BudgetFigures(m_grid, m_history).lines().size();
    return std::clamp(wanted, std::min(MinimumChartHeight, room), std::max(room, MinimumChartHeight));
}

void BudgetReport::printRegister(PageWriter &page) const
{
    std::array<qreal, RegisterColumnWidths.size()> widths = RegisterColumnWidths;
    widths[DescriptionColumn] = page.width() - std::accumulate(widths.cbegin(), widths.cend(), qreal(0));
    const auto printRow = [&widths](PageWriter &writer, const QStringList &texts) {
        qreal x = 0;
        for (size_t column = 0; column < widths.size(); ++column) {
            const bool isAmount = column == 0 || column == AmountColumn;
            writer.printLine(texts.at(qsizetype(column)), x, isAmount ? Qt::AlignRight : Qt::AlignLeft,
                             widths[column] - CellGap);
            x += widths[column];
        }
    };
    const QList<ChangeOrder> &orders = m_history.changeOrders;
    page.setFont(8, false);
    if (orders.isEmpty()) {
        page.printWrapped(QStringLiteral("No change orders."));
    } else {
        page.printTable({[&printRow](PageWriter &writer) {
                             writer.setFont(8, true);
                             printRow(writer, ChangeOrders::registerTitles());
                             writer.skipLine();
                             writer.setFont(8, false);
                         },
                         [this, &printRow, &orders](PageWriter &writer, int row) {
                             printRow(writer, ChangeOrders::registerTexts(m_grid, orders.at(row)));
                         },
                         int(orders.size()), page.lineHeight()});
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
