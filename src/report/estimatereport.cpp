#include "estimatereport.h"

#include "cellpainter.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/twips.h"
#include "productinfo.h"
#include "reportfont.h"
#include "reportpaper.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>
#include <numeric>

namespace {
constexpr qreal CellPadding = 30;
constexpr qreal LineWidth = 15;
constexpr qreal GridImageShare = 0.6;
constexpr qreal VisibleRowLabelShare = 0.05;
constexpr qreal MarginInches = 0.5;
constexpr int HeaderLineCount = 2;

qreal lineHeight(qreal points, bool bold)
{
    return QFontMetricsF(ReportFont::atPoints(points, bold)).height();
}

// The footer from the empty lines under the sheet to the last line.
qreal footerHeight()
{
    return 2 * lineHeight(4, false) + 4 * lineHeight(12, true) + lineHeight(30, true);
}

// The print position and font of the page, in twips: each line printed moves the position
// down by the font's line height and back to the left edge.
class PrintCursor
{
public:
    PrintCursor(QPainter &painter, qreal pageWidth)
        : m_painter(painter)
        , m_pageWidth(pageWidth)
    {
    }

    void setFontSize(qreal points)
    {
        m_points = points;
        m_font = ReportFont::atPoints(m_points, m_font.bold());
        m_painter.setFont(m_font);
    }

    void setBold(bool bold)
    {
        m_font = ReportFont::atPoints(m_points, bold);
        m_painter.setFont(m_font);
    }

    // A text that runs off the page goes on to the next line, at most maxLines of them,
    // the last ending in an ellipsis where the text is cut.
    void printWrapped(const QString &text, int maxLines)
    {
        printLine(
            CellPainter::fittedLines(text, m_font, m_pageWidth, maxLines, QTextOption::WrapAtWordBoundaryOrAnywhere)
                .join(u'\n'));
    }

    void printLine(const QString &text = QString())
    {
        const QFontMetricsF metrics(m_font);
        // A text of several lines goes down the page line by line, from the left edge.
        for (const QString &line : text.split(u'\n')) {
            if (!line.isEmpty())
                m_painter.drawText(QPointF(x, y + metrics.ascent()), line);
            x = 0;
            y += metrics.height();
        }
    }

    void printCentred(const QString &text)
    {
        x = m_pageWidth / 2 - QFontMetricsF(m_font).horizontalAdvance(text) / 2;
        printLine(text);
    }

    qreal x = 0;
    qreal y = 0;

private:
    QPainter &m_painter;
    const qreal m_pageWidth;
    qreal m_points = 0;
    QFont m_font;
};

qreal toTwips(int pixels, int dotsPerInch)
{
    return qreal(pixels) * Twips::PerInch / dotsPerInch;
}
}

EstimateReport::EstimateReport(const Grid &grid, Fields fields)
    : m_grid(grid)
    , m_fields(std::move(fields))
{
}

QString EstimateReport::printedText(const QString &fieldText)
{
    return fieldText.isEmpty() ? QStringLiteral("None") : fieldText.trimmed();
}

EstimateReport::Fields EstimateReport::printedFields(const HeaderFields &header)
{
    return {printedText(header.text(HeaderFields::Name)), printedText(header.text(HeaderFields::Builder)),
            printedText(header.text(HeaderFields::Address))};
}

EstimateReport::Fields EstimateReport::fieldsOf(const HeaderFields &header)
{
    return {header.text(HeaderFields::Name), header.text(HeaderFields::Builder), header.text(HeaderFields::Address)};
}

QStringList EstimateReport::footerLines()
{
    return {QStringLiteral("For average cost to build anywhere in the USA, visit"), ProductInfo::webAddress(),
            ProductInfo::providerLine()};
}

QPageLayout EstimateReport::defaultPageLayout()
{
    return pageLayoutFor(ReportPaper::ofLocale(QLocale()), QPageLayout::Portrait);
}

QPageLayout EstimateReport::pageLayoutFor(const QPageSize &paper, QPageLayout::Orientation orientation)
{
    return QPageLayout(paper, orientation, QMarginsF(MarginInches, MarginInches, MarginInches, MarginInches),
                       QPageLayout::Inch);
}

void EstimateReport::compose(QPainter &painter, const QPaintDevice &device) const
{
    const qreal width = toTwips(device.width(), device.logicalDpiX());
    const qreal height = toTwips(device.height(), device.logicalDpiY());
    painter.save();
    painter.scale(qreal(device.logicalDpiX()) / Twips::PerInch, qreal(device.logicalDpiY()) / Twips::PerInch);
    painter.setPen(Qt::black);

    const QStringList footer = footerLines();
    PrintCursor cursor(painter, width);
    cursor.setFontSize(4);
    cursor.printLine();
    cursor.setFontSize(12);
    cursor.setBold(true);
    cursor.printCentred(QStringLiteral("COST ESTIMATE"));
    cursor.setFontSize(4);
    cursor.setBold(false);
    cursor.printLine();
    cursor.setFontSize(8);
    cursor.printWrapped(QStringLiteral("Name: ") + m_fields.name, HeaderLineCount);
    cursor.setFontSize(4);
    cursor.printLine();
    cursor.setFontSize(8);
    cursor.printWrapped(QStringLiteral("BUILDER: ") + m_fields.builder, HeaderLineCount);
    cursor.setFontSize(4);
    cursor.printLine();
    cursor.setFontSize(8);
    const qreal gridHeight = std::floor(height * GridImageShare);
    // The address takes what the sheet and the footer leave of the page, the empty line
    // above the sheet and its rule included.
    const qreal room = height - cursor.y - lineHeight(4, false) - 20 - gridHeight - footerHeight();
    cursor.printWrapped(QStringLiteral("PROP. ADDRESS: ") + m_fields.address,
                        std::max(1, int(room / lineHeight(8, false))));
    cursor.setFontSize(4);
    cursor.printLine();

    // A rule across the page under the header lines, then the sheet just below it.
    const qreal x0 = std::round(cursor.x);
    const qreal y0 = std::round(cursor.y);
    // Its ends are square with the page's edges, not beyond them.
    painter.setPen(QPen(Qt::black, LineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(cursor.x, cursor.y), QPointF(width, cursor.y));
    drawGridImage(painter, QRectF(x0, y0 + 20, width, gridHeight));
    cursor.x = x0;
    cursor.y = gridHeight + y0 + 20;
    painter.setPen(Qt::black);

    cursor.printLine();
    cursor.setFontSize(4);
    cursor.printLine();
    cursor.setFontSize(12);
    cursor.setBold(true);
    cursor.printCentred(footer.at(0));
    cursor.printLine();
    cursor.setFontSize(30);
    cursor.printCentred(footer.at(1));
    cursor.setFontSize(12);
    cursor.printLine();
    cursor.printCentred(footer.at(2));
    painter.restore();
}

void EstimateReport::drawGridImage(QPainter &painter, const QRectF &destination) const
{
    // The sheet as a grid of the print width, every row and column, the header row drawn
    // like any other row, stretched to fill the block; all but the last sliver of the
    // row-number column is cut off.
    const EstimateSheet::ColumnWidths widths = EstimateSheet::columnWidthsFor(GridWidth);
    const qreal imageWidth = std::accumulate(widths.begin(), widths.end(), 0);
    qreal imageHeight = 0;
    for (int row = 0; row < m_grid.rowCount(); ++row)
        imageHeight += m_grid.rowHeight(row);
    const qreal sourceLeft = std::nearbyint(widths[0] * (1 - VisibleRowLabelShare));
    const QRectF source(sourceLeft, 0, imageWidth - sourceLeft, imageHeight);

    painter.save();
    painter.translate(destination.topLeft());
    painter.scale(destination.width() / source.width(), destination.height() / source.height());
    painter.translate(-source.left(), 0);
    painter.setClipRect(source);

    const QFont font = ReportFont::atPoints(CellPainter::SheetFontPoints, false);
    // The cells first, their lines over them, so that no cell covers its neighbour's line.
    const int fixedColumns = m_grid.fixedColumns();
    qreal top = 0;
    for (int row = 0; row < m_grid.rowCount(); ++row) {
        qreal left = 0;
        for (int column = 0; column < m_grid.columnCount(); ++column) {
            const QRectF cell(left, top, widths[size_t(column)], m_grid.rowHeight(row));
            painter.fillRect(cell, column < fixedColumns ? QColor(240, 240, 240) : QColor(Qt::white));
            painter.setPen(Qt::black);
            // A cell that begins in the cut-off part has its text there too.
            if (cell.left() >= source.left())
                CellPainter::drawText(painter, cell, CellPainter::lookOf(m_grid, row, column), font, CellPadding,
                                      CellPainter::WideAmount::Shrunk);
            left += cell.width();
        }
        top += m_grid.rowHeight(row);
    }

    painter.setPen(QPen(Qt::black, LineWidth));
    qreal left = 0;
    for (const int width : widths) {
        left += width;
        painter.drawLine(QPointF(left, 0), QPointF(left, imageHeight));
    }
    top = 0;
    for (int row = 0; row < m_grid.rowCount(); ++row) {
        top += m_grid.rowHeight(row);
        painter.drawLine(QPointF(0, top), QPointF(imageWidth, top));
    }
    painter.drawRect(QRectF(0, 0, imageWidth, imageHeight));
    painter.restore();
}
