#include "drawrequestreport.h"

#include "cellpainter.h"
#include "core/sheet/moneycents.h"
#include "core/sheet/twips.h"
#include "pagewriter.h"
#include "reportfont.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <limits>

namespace {
constexpr qreal MarginInches = 0.5;
constexpr qreal CellPadding = 40;
constexpr qreal LineWidth = 10;
constexpr qreal TitlePoints = 14;
constexpr qreal TextPoints = 10;
constexpr qreal TablePoints = 8;
constexpr int DescriptionLines = 2;
constexpr int CaptionLines = 4;
// Item No., Description of Work, and eight amounts, across the ten inches of a landscape page.
constexpr std::array<qreal, 10> ColumnWidths = {650, 3350, 1300, 1300, 1300, 1300, 1300, 1100, 1300, 1300};
constexpr int SummaryAmountWidth = 2600;

qreal lineHeight(qreal points)
{
    return QFontMetricsF(ReportFont::atPoints(points, false)).height();
}

qreal rowHeight()
{
    return DescriptionLines * lineHeight(TablePoints) + 2 * CellPadding;
}

qreal captionHeight()
{
    return CaptionLines * lineHeight(TablePoints) + 2 * CellPadding;
}

// The page's printable size in twips.
QSizeF printableSize(const QPageLayout &layout)
{
    return layout.paintRect(QPageLayout::Inch).size() * Twips::PerInch;
}

QPageLayout withMargins(const QPageSize &paper, QPageLayout::Orientation orientation)
{
    return QPageLayout(paper, orientation, QMarginsF(MarginInches, MarginInches, MarginInches, MarginInches),
                       QPageLayout::Inch);
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("MMMM d, yyyy"));
}

// A text in the summary's or the continuation sheet's type, on as many lines as it needs.
void print(PageWriter &page, const QString &text, qreal points, bool bold, Qt::Alignment alignment = Qt::AlignLeft)
{
    page.setFont(points, bold);
    page.printWrapped(text, std::numeric_limits<int>::max(), alignment);
}

CellPainter::CellLook look(const QString &text, CellPainter::CellLook::Kind kind, bool bold)
{
    CellPainter::CellLook look;
    look.text = text;
    look.bold = bold;
    look.kind = kind;
    look.alignment = kind == CellPainter::CellLook::Kind::Amount ? Qt::AlignRight | Qt::AlignTop
        : kind == CellPainter::CellLook::Kind::Title             ? Qt::AlignHCenter | Qt::AlignTop
                                                                 : Qt::AlignLeft | Qt::AlignTop;
    return look;
}

// One row of the continuation sheet's table, its cells framed.
void drawRow(QPainter &painter, qreal top, qreal height, const QStringList &texts, bool bold,
             CellPainter::CellLook::Kind kind)
{
    const QFont font = ReportFont::atPoints(TablePoints, false);
    qreal left = 0;
    for (int column = 0; column < int(ColumnWidths.size()); ++column) {
        const QRectF cell(left, top, ColumnWidths[size_t(column)], height);
        const CellPainter::CellLook::Kind cellKind = kind == CellPainter::CellLook::Kind::Title ? kind
            : column < 2 ? CellPainter::CellLook::Kind::Text
                         : CellPainter::CellLook::Kind::Amount;
        CellPainter::drawText(painter, cell, look(texts.value(column), cellKind, bold), font, CellPadding,
                              CellPainter::WideAmount::Shrunk);
        painter.drawRect(cell);
        left += cell.width();
    }
}

// A cell of the summary: one of width 0 takes what the others leave of the line.
struct SummaryCell
{
    QString text;
    qreal width = 0;
    CellPainter::CellLook::Kind kind = CellPainter::CellLook::Kind::Text;
};

SummaryCell amountCell(const QString &text)
{
    return {text, SummaryAmountWidth, CellPainter::CellLook::Kind::Amount};
}

// One line of the summary, ruled under.
void drawSummaryRow(PageWriter &page, const QList<SummaryCell> &cells, bool bold)
{
    QPainter &painter = page.painter();
    const QFont font = ReportFont::atPoints(TextPoints, false);
    const qreal height = lineHeight(TextPoints) * 1.6;
    qreal fixed = 0;
    for (const SummaryCell &cell : cells)
        fixed += cell.width;
    qreal left = 0;
    for (const SummaryCell &cell : cells) {
        const QRectF rect(left, page.y(), cell.width > 0 ? cell.width : page.width() - fixed, height);
        CellPainter::drawText(painter, rect, look(cell.text, cell.kind, bold), font, CellPadding,
                              CellPainter::WideAmount::Shrunk);
        left = rect.right();
    }
    painter.drawLine(QPointF(0, page.y() + height), QPointF(page.width(), page.y() + height));
    page.skip(height);
}
}

DrawRequestReport::DrawRequestReport(DrawRequest request, const QPageSize &paper)
    : m_request(std::move(request))
    , m_paper(paper)
{
}

QPageLayout DrawRequestReport::summaryLayout() const
{
    return withMargins(m_paper, QPageLayout::Portrait);
}

QPageLayout DrawRequestReport::continuationLayout() const
{
    return withMargins(m_paper, QPageLayout::Landscape);
}

int DrawRequestReport::linesPerPage() const
{
    const qreal room = printableSize(continuationLayout()).height() - 3 * lineHeight(TextPoints) - captionHeight();
    return std::max(1, int(room / rowHeight()));
}

int DrawRequestReport::pageCount() const
{
    // The Total line is one more line of the table.
    const int lines = int(m_request.lines.size()) + 1;
    return 1 + (lines + linesPerPage() - 1) / linesPerPage();
}

bool DrawRequestReport::compose(QPainter &painter, QPagedPaintDevice &device) const
{
    PageWriter page(painter, device);
    page.numberPages(QStringLiteral("Page %1 of ") + QString::number(pageCount()), Qt::AlignHCenter, false);
    painter.setPen(QPen(Qt::black, LineWidth));
    drawSummary(page);
    if (!page.newPage(continuationLayout()))
        return false;
    // The Total line is one more line of the table.
    const int lines = int(m_request.lines.size()) + 1;
    return page.printTable({[this](PageWriter &writer) { drawContinuationHeader(writer); },
                            [this](PageWriter &writer, int line) { drawContinuationLine(writer, line); }, lines,
                            rowHeight()});
}

void DrawRequestReport::drawSummary(PageWriter &page) const
{
    print(page, QStringLiteral("DRAW REQUEST"), TitlePoints, true, Qt::AlignHCenter);
    page.skip(lineHeight(TextPoints));
    print(page, QStringLiteral("Application No.: %1").arg(m_request.applicationNumber), TextPoints, false);
    print(page,
          QStringLiteral("Period From: %1")
              .arg(m_request.periodFrom.isValid() ? dateText(m_request.periodFrom)
                                                  : QStringLiteral("the start of the work")),
          TextPoints, false);
    print(page, QStringLiteral("Period To: %1").arg(dateText(m_request.periodTo)), TextPoints, false);
    page.skip(lineHeight(TextPoints / 2));
    print(page, QStringLiteral("Owner: %1").arg(m_request.owner), TextPoints, false);
    print(page, QStringLiteral("Property Address: %1").arg(m_request.address), TextPoints, false);
    print(page, QStringLiteral("Builder: %1").arg(m_request.builder), TextPoints, false);
    page.skip(lineHeight(TextPoints));
    // As wide as the table's lines under it, whose ends stand out as far.
    page.rule(LineWidth, Qt::SquareCap);
    page.skip(lineHeight(TextPoints / 2));

    for (const DrawRequest::SummaryLine &line : m_request.summary())
        drawSummaryRow(page, {{line.number, 500}, {line.caption}, amountCell(MoneyCents::text(line.amount))},
                       line.isPaymentDue());
    drawChangeOrderSummary(page);
    // How the retainage is held and released, where the lines alone would leave it unsaid.
    for (const QString &note : m_request.notes()) {
        page.skip(lineHeight(TextPoints / 2));
        print(page, note, TextPoints, false);
    }
}

// The change orders behind line 2, as the standard form sums them up.
void DrawRequestReport::drawChangeOrderSummary(PageWriter &page) const
{
    const ChangeOrderSummary &orders = m_request.changeOrders;
    const auto row = [](const QString &caption, const QString &additions, const QString &deductions) {
        return QList<SummaryCell>{{caption}, amountCell(additions), amountCell(deductions)};
    };
    page.skip(lineHeight(TextPoints));
    drawSummaryRow(
        page, row(QStringLiteral("Change Order Summary"), QStringLiteral("Additions"), QStringLiteral("Deductions")),
        true);
    drawSummaryRow(page,
                   row(QStringLiteral("Approved in previous periods"), MoneyCents::text(orders.previousAdditions),
                       MoneyCents::text(orders.previousDeductions)),
                   false);
    drawSummaryRow(page,
                   row(QStringLiteral("Approved this period"), MoneyCents::text(orders.additionsThisPeriod),
                       MoneyCents::text(orders.deductionsThisPeriod)),
                   false);
    drawSummaryRow(
        page,
        row(QStringLiteral("Totals"), MoneyCents::text(orders.additions()), MoneyCents::text(orders.deductions())),
        true);
    drawSummaryRow(page, row(QStringLiteral("Net change by change orders"), {}, MoneyCents::text(orders.netChange())),
                   true);
}

// The continuation sheet's title and its column captions, at the top of each of its pages.
void DrawRequestReport::drawContinuationHeader(PageWriter &page) const
{
    print(page, QStringLiteral("CONTINUATION SHEET"), TextPoints, true, Qt::AlignHCenter);
    print(page,
          QStringLiteral("Application No. %1, period %2").arg(m_request.applicationNumber).arg(m_request.periodText()),
          TextPoints, false, Qt::AlignHCenter);
    page.skip(lineHeight(TextPoints));
    drawRow(page.painter(), page.y(), captionHeight(), DrawRequest::columnCaptions(), true,
            CellPainter::CellLook::Kind::Title);
    page.skip(captionHeight());
}

void DrawRequestReport::drawContinuationLine(PageWriter &page, int line) const
{
    const bool total = line == m_request.lines.size();
    drawRow(page.painter(), page.y(), rowHeight(),
            DrawRequest::textsOf(total ? m_request.total() : m_request.lines.at(line)), total,
            CellPainter::CellLook::Kind::Text);
}
