#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <limits>

class QPageLayout;
class QPaintDevice;
class QPagedPaintDevice;
class QPainter;

// Writes a report down its pages, in twips from the top left of the printable area (the page
// within its margins), in the report's own typeface: lines and wrapped texts at a position
// that moves down, rules, a table whose header row starts every page it runs onto, a new
// page where the next line would not fit, and each page's number at its foot. Every report
// is written with it, so that all of them measure, wrap and break pages alike.
class PageWriter
{
public:
    // A page of its own, as the one-page report on a printer, a preview or an image.
    PageWriter(QPainter &painter, const QPaintDevice &device);
    // Pages without end, laid out as the device's page layout says.
    PageWriter(QPainter &painter, QPagedPaintDevice &device);
    // Numbers the last page and gives the painter back as it was.
    ~PageWriter();

    PageWriter(const PageWriter &) = delete;
    PageWriter &operator=(const PageWriter &) = delete;

    qreal width() const { return m_width; }
    qreal height() const { return m_height; }
    qreal y() const { return m_y; }
    void moveTo(qreal y) { m_y = y; }
    void skip(qreal height) { m_y += height; }
    // Moves down by a line of the font.
    void skipLine() { m_y += lineHeight(); }

    void setFont(qreal points, bool bold);
    const QFont &font() const { return m_font; }
    qreal lineHeight() const;
    // What is left of the page above its foot.
    qreal room() const { return m_height - footHeight() - m_y; }

    // Numbers each page at its foot from now on: %1 in pattern is the page's number. With
    // keepFootFree, lines start a new page rather than run into the number.
    void numberPages(const QString &pattern, Qt::Alignment alignment, bool keepFootFree);
    // False when the device could not begin a page.
    bool newPage();
    // The next page laid out anew, the paper turned or changed.
    bool newPage(const QPageLayout &layout);
    // Goes on to a new page unless this much height is left on this one.
    bool keepRoomFor(qreal needed);

    // One line at the position, in the cell from x of cellWidth (the page's width from x when
    // it is 0), cut short with an ellipsis where it would run past; the position stays.
    void printLine(const QString &text, qreal x = 0, Qt::Alignment alignment = Qt::AlignLeft,
                   qreal cellWidth = 0) const;
    // The text broken into lines of the page's width, at a word where it can be, and at each
    // line break it holds, at most maxLines of them, the last then ending in an ellipsis; each
    // line moves the position down, and one that does not fit starts a new page.
    void printWrapped(const QString &text, int maxLines = std::numeric_limits<int>::max(),
                      Qt::Alignment alignment = Qt::AlignLeft);
    // A rule across the page at the position, its ends square with the margins unless they
    // are to stand out beyond them.
    void rule(qreal lineWidth, Qt::PenCapStyle ends = Qt::FlatCap) const;

    // A table of rowCount rows of rowHeight from the position down: header draws the header
    // row, and again at the top of every page the table runs onto; row draws the row of an
    // index. Each is drawn at the position, which the writer then moves below it.
    struct Table
    {
        std::function<void(PageWriter &)> header;
        std::function<void(PageWriter &, int row)> row;
        int rowCount = 0;
        qreal rowHeight = 0;
    };
    bool printTable(const Table &table);

    QPainter &painter() const { return m_painter; }

private:
    void measure(const QPageLayout &layout);
    bool beginPage();
    qreal footHeight() const;
    void numberPage() const;

    QPainter &m_painter;
    QPagedPaintDevice *m_pages = nullptr;
    const qreal m_dotsPerTwipX;
    const qreal m_dotsPerTwipY;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_y = 0;
    QFont m_font;
    QString m_numberPattern;
    Qt::Alignment m_numberAlignment = Qt::AlignRight;
    bool m_keepFootFree = false;
    int m_page = 1;
};
