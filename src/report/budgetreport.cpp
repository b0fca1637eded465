#include "budgetreport.h"

#include "budgetbars.h"
#include "core/budget/budgetfigures.h"
#include "core/history/changeorders.h"
#include "core/sheet/twips.h"
#include "pdfexport.h"
#include "reportfont.h"

#include <QFontMetricsF>
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

// Writes lines down the pages, starting a page where the next line would not fit, and
// numbers each page at its foot.
class BudgetReport::PageWriter
{
public:
    PageWriter(QPainter &painter, QPagedPaintDevice &device)
        : width(Twips::fromPixels(device.width(), device.logicalDpiX()))
        , height(Twips::fromPixels(device.height(), device.logicalDpiY()))
        , m_painter(painter)
        , m_device(device)
    {
        m_painter.scale(qreal(device.logicalDpiX()) / Twips::PerInch, qreal(device.logicalDpiY()) / Twips::PerInch);
        m_painter.setPen(Qt::black);
    }

    ~PageWriter() { numberPage(); }

    void setFont(qreal points, bool bold)
    {
        m_font = ReportFont::atPoints(points, bold);
        m_painter.setFont(m_font);
    }

    qreal lineHeight() const { return QFontMetricsF(m_font).height(); }
    qreal room() const { return height - footerHeight() - y; }

    // Goes on to a new page unless this much height is left on this one.
    void keepRoomFor(qreal needed)
    {
        if (needed <= room())
            return;
        numberPage();
        m_device.newPage();
        ++m_page;
        y = 0;
    }

    void printLine(const QString &text, qreal x = 0, Qt::Alignment alignment = Qt::AlignLeft, qreal cellWidth = 0)
    {
        const QFontMetricsF metrics(m_font);
        const qreal right = cellWidth > 0 ? x + cellWidth : width;
        const QString shown = metrics.elidedText(text, Qt::ElideRight, right - x);
        const qreal left = alignment & Qt::AlignRight ? right - metrics.horizontalAdvance(shown)
            : alignment & Qt::AlignHCenter            ? (x + right - metrics.horizontalAdvance(shown)) / 2
                                                      : x;
        m_painter.drawText(QPointF(left, y + metrics.ascent()), shown);
    }

    // A text that runs off the page goes on to the next lines; a line break it holds (a
    // two-line address) starts a new line, as on screen.
    void printWrapped(const QString &text)
    {
        for (const QString &line : text.split(u'\n'))
            printWrappedLine(line);
    }

    void printWrappedLine(const QString &text)
    {
        const QFontMetricsF metrics(m_font);
        QString line;
        for (const QString &word : text.split(u' ')) {
            const QString longer = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                keepRoomFor(lineHeight());
                printLine(line);
                y += lineHeight();
                line = word;
            } else {
                line = longer;
            }
        }
        keepRoomFor(lineHeight());
        printLine(line);
        y += lineHeight();
    }

    void rule()
    {
        m_painter.save();
        m_painter.setPen(QPen(Qt::black, LineWidth, Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(QPointF(0, y), QPointF(width, y));
        m_painter.restore();
    }

    const qreal width;
    const qreal height;
    qreal y = 0;

private:
    static qreal footerHeight() { return QFontMetricsF(ReportFont::atPoints(8, false)).height() * 2; }

    void numberPage()
    {
        m_painter.save();
        const QFont font = ReportFont::atPoints(8, false);
        m_painter.setFont(font);
        const QString text = QStringLiteral("Page %1").arg(m_page);
        const QFontMetricsF metrics(font);
        m_painter.drawText(QPointF(width - metrics.horizontalAdvance(text), height - metrics.descent()), text);
        m_painter.restore();
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    QFont m_font;
    int m_page = 1;
};

BudgetReport::BudgetReport(const Grid &grid, EstimateReport::Fields fields, const EstimateHistory &history)
    : m_grid(grid)
    , m_fields(std::move(fields))
    , m_history(history)
{
}

void BudgetReport::compose(QPainter &painter, QPagedPaintDevice &device) const
{
    painter.save();
    {
        PageWriter page(painter, device);
        page.setFont(12, true);
        page.printLine(QStringLiteral("BUDGET SUMMARY"), 0, Qt::AlignHCenter);
        page.y += page.lineHeight() * 1.5;
        page.setFont(8, false);
        page.printWrapped(QStringLiteral("Name: ") + m_fields.name);
        page.printWrapped(QStringLiteral("BUILDER: ") + m_fields.builder);
        page.printWrapped(QStringLiteral("PROP. ADDRESS: ") + m_fields.address);
        page.y += page.lineHeight() / 2;
        page.rule();
        page.y += page.lineHeight() / 2;

        page.setFont(9, true);
        page.printWrapped(BudgetFigures(m_grid, m_history).totalsLine());
        page.y += page.lineHeight() / 2;
        const qreal height = chartHeight(page.room());
        BudgetBars(BudgetFigures(m_grid, m_history).lines()).draw(painter, QRectF(0, page.y, page.width, height));
        page.y += height + page.lineHeight();

        page.setFont(10, true);
        page.keepRoomFor(page.lineHeight() * 3);
        page.printLine(QStringLiteral("CHANGE ORDERS"));
        page.y += page.lineHeight() * 1.5;
        printRegister(page);
    }
    painter.restore();
}

qreal BudgetReport::chartHeight(qreal room) const
{
    const qreal wanted = ChartFrameHeight + BarHeight * BudgetFigures(m_grid, m_history).lines().size();
    return std::clamp(wanted, std::min(MinimumChartHeight, room), std::max(room, MinimumChartHeight));
}

void BudgetReport::printRegister(PageWriter &page) const
{
    std::array<qreal, RegisterColumnWidths.size()> widths = RegisterColumnWidths;
    widths[DescriptionColumn] = page.width - std::accumulate(widths.cbegin(), widths.cend(), qreal(0));
    const auto printRow = [&page, &widths](const QStringList &texts) {
        qreal x = 0;
        for (size_t column = 0; column < widths.size(); ++column) {
            const bool isAmount = column == 0 || column == AmountColumn;
            page.printLine(texts.at(qsizetype(column)), x, isAmount ? Qt::AlignRight : Qt::AlignLeft,
                           widths[column] - CellGap);
            x += widths[column];
        }
        page.y += page.lineHeight();
    };
    const auto printTitles = [&page, &printRow] {
        page.setFont(8, true);
        printRow(ChangeOrders::registerTitles());
        page.setFont(8, false);
    };

    page.setFont(8, false);
    if (m_history.changeOrders.isEmpty())
        page.printWrapped(QStringLiteral("No change orders."));
    else
        printTitles();
    for (const ChangeOrder &order : m_history.changeOrders) {
        if (page.room() < page.lineHeight()) {
            page.keepRoomFor(page.lineHeight() * 2);
            printTitles();
        }
        printRow(ChangeOrders::registerTexts(m_grid, order));
    }
    page.y += page.lineHeight() / 2;
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
