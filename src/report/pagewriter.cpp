#include "pagewriter.h"

#include "cellpainter.h"
#include "core/sheet/twips.h"
#include "reportfont.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {
constexpr qreal PageNumberPoints = 8;

QFont pageNumberFont()
{
    return ReportFont::atPoints(PageNumberPoints, false);
}

qreal toTwips(int pixels, int dotsPerInch)
{
    return qreal(pixels) * Twips::PerInch / dotsPerInch;
}

// Where a text of this width starts in the cell from left to right.
qreal leftOf(qreal textWidth, qreal left, qreal right, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return right - textWidth;
    if (alignment & Qt::AlignHCenter)
        return (left + right - textWidth) / 2;
    return left;
}
}

PageWriter::PageWriter(QPainter &painter, const QPaintDevice &device)
    : m_painter(painter)
    , m_dotsPerTwipX(qreal(device.logicalDpiX()) / Twips::PerInch)
    , m_dotsPerTwipY(qreal(device.logicalDpiY()) / Twips::PerInch)
    , m_width(toTwips(device.width(), device.logicalDpiX()))
    , m_height(toTwips(device.height(), device.logicalDpiY()))
{
    m_painter.save();
    m_painter.scale(m_dotsPerTwipX, m_dotsPerTwipY);
    m_painter.setPen(Qt::black);
}

PageWriter::PageWriter(QPainter &painter, QPagedPaintDevice &device)
    : PageWriter(painter, static_cast<const QPaintDevice &>(device))
{
    m_pages = &device;
    measure(device.pageLayout());
}

PageWriter::~PageWriter()
{
    numberPage();
    m_painter.restore();
}

void PageWriter::setFont(qreal points, bool bold)
{
    m_font = ReportFont::atPoints(points, bold);
    m_painter.setFont(m_font);
}

qreal PageWriter::lineHeight() const
{
    return QFontMetricsF(m_font).height();
}

void PageWriter::numberPages(const QString &pattern, Qt::Alignment alignment, bool keepFootFree)
{
    m_numberPattern = pattern;
    m_numberAlignment = alignment;
    m_keepFootFree = keepFootFree;
}

bool PageWriter::newPage()
{
    numberPage();
    return beginPage();
}

bool PageWriter::newPage(const QPageLayout &layout)
{
    numberPage();
    if (m_pages) {
        m_pages->setPageLayout(layout);
        measure(layout);
    }
    return beginPage();
}

// The layout's own measures, not the device's whole pixels: the pages a report counts before
// it draws them are the pages it draws.
void PageWriter::measure(const QPageLayout &layout)
{
    const QSizeF printable = layout.paintRect(QPageLayout::Inch).size() * Twips::PerInch;
    m_width = printable.width();
    m_height = printable.height();
}

bool PageWriter::beginPage()
{
    if (!m_pages || !m_pages->newPage())
        return false;
    ++m_page;
    m_y = 0;
    return true;
}

bool PageWriter::keepRoomFor(qreal needed)
{
    return needed <= room() || newPage();
}

void PageWriter::printLine(const QString &text, qreal x, Qt::Alignment alignment, qreal cellWidth) const
{
    const QFontMetricsF metrics(m_font);
    const qreal right = cellWidth > 0 ? x + cellWidth : m_width;
    const QString shown = metrics.elidedText(text, Qt::ElideRight, right - x);
    m_painter.drawText(QPointF(leftOf(metrics.horizontalAdvance(shown), x, right, alignment), m_y + metrics.ascent()),
                       shown);
}

void PageWriter::printWrapped(const QString &text, int maxLines, Qt::Alignment alignment)
{
    const QStringList lines =
        CellPainter::fittedLines(text, m_font, m_width, maxLines, QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &line : lines) {
        keepRoomFor(lineHeight());
        if (!line.isEmpty())
            printLine(line, 0, alignment);
        skipLine();
    }
}

void PageWriter::rule(qreal lineWidth, Qt::PenCapStyle ends) const
{
    // The pen is set back rather than the painter's state saved: a page that draws its own
    // lines in the rule's pen keeps them exactly as they were.
    const QPen pen = m_painter.pen();
    m_painter.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, ends));
    m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
    m_painter.setPen(pen);
}

bool PageWriter::printTable(const Table &table)
{
    table.header(*this);
    for (int row = 0; row < table.rowCount; ++row) {
        if (room() < table.rowHeight) {
            if (!newPage())
                return false;
            table.header(*this);
        }
        table.row(*this, row);
        skip(table.rowHeight);
    }
    return true;
}

qreal PageWriter::footHeight() const
{
    return m_keepFootFree && !m_numberPattern.isEmpty() ? QFontMetricsF(pageNumberFont()).height() * 2 : 0;
}

void PageWriter::numberPage() const
{
    if (m_numberPattern.isEmpty())
        return;
    m_painter.save();
    const QFont font = pageNumberFont();
    m_painter.setFont(font);
    const QString text = m_numberPattern.arg(m_page);
    const QFontMetricsF metrics(font);
    m_painter.drawText(
        QPointF(leftOf(metrics.horizontalAdvance(text), 0, m_width, m_numberAlignment), m_height - metrics.descent()),
        text);
    m_painter.restore();
}
