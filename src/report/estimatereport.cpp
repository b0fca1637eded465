#include "estimatereport.h"

#include "cellpainter.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/twips.h"
#include "pagewriter.h"
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
    PageWriter page(painter, device);
    const QStringList footer = footerLines();
    page.setFont(4, false);
    page.skipLine();
    page.setFont(12, true);
    page.printWrapped(QStringLiteral("COST ESTIMATE"), 1, Qt::AlignHCenter);
    page.setFont(4, false);
    page.skipLine();
    page.setFont(8, false);
    page.printWrapped(QStringLiteral("Name: ") + m_fields.name, HeaderLineCount);
    page.setFont(4, false);
    page.skipLine();
    page.setFont(8, false);
    page.printWrapped(QStringLiteral("BUILDER: ") + m_fields.builder, HeaderLineCount);
    page.setFont(4, false);
    page.skipLine();
    page.setFont(8, false);
    const qreal gridHeight = std::floor(page.height() * GridImageShare);
    // The address takes what the sheet and the footer leave of the page, the empty line
    // above the sheet and its rule included.
    const qreal room = page.height() - page.y() - lineHeight(4, false) - 20 - gridHeight - footerHeight();
    page.printWrapped(QStringLiteral("PROP. ADDRESS: ") + m_fields.address,
                      std::max(1, int(room / lineHeight(8, false))));
    page.setFont(4, false);
    page.skipLine();

    // A rule across the page under the header lines, then the sheet just below it.
    const qreal top = std::round(page.y());
    page.rule(LineWidth);
    drawGridImage(painter, QRectF(0, top + 20, page.width(), gridHeight));
    page.moveTo(gridHeight + top + 20);

    page.skipLine();
    page.skipLine();
    page.setFont(12, true);
    page.printWrapped(footer.at(0), 1, Qt::AlignHCenter);
    page.skipLine();
    page.setFont(30, true);
    page.printWrapped(footer.at(1), 1, Qt::AlignHCenter);
    page.setFont(12, true);
    page.skipLine();
    page.printWrapped(footer.at(2), 1, Qt::AlignHCenter);
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
