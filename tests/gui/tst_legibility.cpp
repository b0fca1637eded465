#include "core/document/headerfields.h"
#include "core/sheet/estimatesheet.h"
#include "report/estimatereport.h"
#include "support/windowfixture.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {
constexpr int Spare = EstimateSheet::CategoryCount + 3;
constexpr int Total = EstimateSheet::TotalRow;
constexpr int Amount = EstimateSheet::OriginalEstimateColumn;
constexpr int Description = EstimateSheet::DescriptionColumn;

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 100;
}

bool hasInk(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isInk(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

// The runs of neighbouring columns with ink, left to right: the glyphs of a text, or
// groups of them, with their thin and smoothed parts.
QList<QRect> inkRuns(const QImage &image, const QRect &area)
{
    QList<QRect> runs;
    for (int x = area.left(); x <= area.right(); ++x) {
        int top = area.bottom() + 1;
        int bottom = area.top() - 1;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (qGray(image.pixel(x, y)) < 200) {
                top = std::min(top, y);
                bottom = y;
            }
        }
        if (bottom < top)
            continue;
        const QRect column(QPoint(x, top), QPoint(x, bottom));
        if (!runs.isEmpty() && runs.last().right() == x - 1)
            runs.last() |= column;
        else
            runs << column;
    }
    return runs;
}

int inkWidth(const QList<QRect> &runs)
{
    return runs.isEmpty() ? 0 : runs.last().right() - runs.first().left() + 1;
}

// Bands of rows with ink, separated by rows without: one for each line of text seen.
int inkBands(const QImage &image, const QRect &area)
{
    int bands = 0;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool ink = hasInk(image, QRect(area.left(), y, area.width(), 1));
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    return bands;
}

// What a reader of a cell sees: a text clear of the cell's left edge (a text cut there runs
// right into it), and a wrapped text with its lines whole.
void checkCell(const QImage &image, const QRect &interior, int edge, const char *what)
{
    QVERIFY2(hasInk(image, interior), what);
    QVERIFY2(!hasInk(image, QRect(interior.left(), interior.top(), edge, interior.height())), what);
    QVERIFY2(inkBands(image, interior) == 1, what);
}

// The positions of the lines of a printed table: rows or columns of dark pixels running
// over the given share of the page.
QList<int> ruledLines(const QImage &page, Qt::Orientation orientation, qreal share)
{
    const bool vertical = orientation == Qt::Vertical;
    const int across = vertical ? page.width() : page.height();
    const int along = vertical ? page.height() : page.width();
    QList<int> lines;
    for (int i = 0; i < across; ++i) {
        int dark = 0;
        for (int j = 0; j < along; ++j)
            dark += isInk(vertical ? page.pixel(i, j) : page.pixel(j, i)) ? 1 : 0;
        if (dark < along * share)
            continue;
        if (!lines.isEmpty() && lines.last() == i - 1)
            lines.last() = i;
        else
            lines << i;
    }
    return lines;
}
} // namespace

class TestLegibility : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->window->resize(900, 700);
        enter(Spare, Description,
              QStringLiteral("Cedar decking with stainless screws and hidden fasteners for the porch"));
    }

    void cleanup() { m_f.reset(); }

    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("tooWideForTheScreen");
        QTest::newRow("a total in the millions") << "12345678.90" << false;
        QTest::newRow("wider than any cell") << "123456789012345.67" << true;
    }

    void onScreen_data() { entries_data(); }

    // An amount shows whole or as ###, the whole amount then a rest of the mouse away; a
    // wrapped text shows no part of a line it has no room for.
    void onScreen()
    {
        QFETCH(QString, entry);
        QFETCH(bool, tooWideForTheScreen);
        enter(1, Amount, entry);
        for (const int row : {1, Total}) {
            scrollTo(row);
            const QString &amount = m_f->text(row, Amount);
            const QRect cell = m_f->grid->cellRect(row, Amount).adjusted(0, 1, -2, -2);
            checkCell(m_f->grid->grab().toImage(), cell, 2, qPrintable(amount));
            QFont font = m_f->grid->font();
            font.setBold(m_f->model().isBold(row, Amount));
            const QFontMetrics metrics(font);
            const int seen = inkWidth(inkRuns(m_f->grid->grab().toImage(), cell));
            // The ink of a whole text is its advance, less the bearings of its first and last glyphs.
            const bool whole = qAbs(seen - metrics.horizontalAdvance(amount)) <= 3;
            const bool hashes = seen <= metrics.horizontalAdvance(QStringLiteral("###"));
            QVERIFY2(whole || hashes, qPrintable(QStringLiteral("%1: %2 pixels of ink").arg(amount).arg(seen)));
            if (tooWideForTheScreen)
                QVERIFY2(hashes, qPrintable(amount));
            QCOMPARE(m_f->toolTipOver(row, Amount), hashes ? amount : QString());
            QTRY_VERIFY(!QToolTip::isVisible());
        }
        scrollTo(Spare);
        const QRect description = m_f->grid->cellRect(Spare, Description).adjusted(0, 1, -2, -2);
        checkCell(m_f->grid->grab().toImage(), description, 2, "the wrapped description");
        QCOMPARE(m_f->toolTipOver(Spare, Description), QString());
    }

    void onThePage_data() { entries_data(); }

    // On paper an amount shrinks to fit its cell; a wrapped text shows whole lines.
    void onThePage()
    {
        QFETCH(QString, entry);
        enter(1, Amount, entry);
        const QImage page = printedPage();
        const QList<int> columns = ruledLines(page, Qt::Vertical, 0.4);
        const QList<int> rows = ruledLines(page, Qt::Horizontal, 0.8);
        QVERIFY(columns.size() >= Amount + 1);
        QVERIFY(rows.size() > Total);
        // The lines are some pixels thick; the cell lies between them.
        const auto interior = [&](int row, int column) {
            const qsizetype bottomLine = rows.size() - 1 - (Total - row);
            const int top = rows.at(bottomLine - 1);
            const int bottom = rows.at(bottomLine);
            const int left = columns.at(column - 1);
            const int right = columns.at(column);
            return QRect(QPoint(left + 1, top + 1), QPoint(right - 4, bottom - 4));
        };
        checkCell(page, interior(Spare, Description), 2, "the wrapped description");
        for (const int row : {1, Total}) {
            const QString &amount = m_f->text(row, Amount);
            const QRect cell = interior(row, Amount);
            checkCell(page, cell, 2, qPrintable(amount));
            // A whole amount begins with its $, which reaches above and below the digits;
            // ### is a short run of ink that does not.
            const QList<QRect> runs = inkRuns(page, cell);
            const bool dollar = runs.first().height() > runs.last().height() + 1;
            const bool hashes = !dollar && inkWidth(runs) < cell.width() * 2 / 5;
            QVERIFY2(dollar || hashes,
                     qPrintable(QStringLiteral("%1: ink %2 to %3, first glyph %4 high, last %5")
                                    .arg(amount)
                                    .arg(runs.first().left())
                                    .arg(runs.last().right())
                                    .arg(runs.first().height())
                                    .arg(runs.last().height())));
        }
    }

    // The look the sheet gives its cells reaches the screen: amounts to the right, a cost
    // to complete below zero in red, the Total row in bold.
    void lookOnScreen()
    {
        enter(2, EstimateSheet::PreviousPaymentColumn, QStringLiteral("50"));
        scrollTo(1);
        const QImage shown = m_f->grid->grab().toImage();
        const auto interior = [this](int row, int column) {
            return m_f->grid->cellRect(row, column).adjusted(1, 1, -2, -2);
        };
        const QRect payment = interior(2, EstimateSheet::PreviousPaymentColumn);
        const QList<QRect> paymentInk = inkRuns(shown, payment);
        QVERIFY(!paymentInk.isEmpty());
        QVERIFY2(paymentInk.first().left() > payment.center().x(), "an amount is not aligned to the right");
        QCOMPARE(redPixels(shown, payment), 0);
        QVERIFY2(redPixels(shown, interior(2, EstimateSheet::CostToCompleteColumn)) > 10, "($50.00) is not red");

        scrollTo(Total);
        const QImage bottom = m_f->grid->grab().toImage();
        QCOMPARE(m_f->text(Total, EstimateSheet::PreviousPaymentColumn), QStringLiteral("$50.00"));
        const int totalInk = inkWidth(inkRuns(bottom, interior(Total, EstimateSheet::PreviousPaymentColumn)));
        QVERIFY2(totalInk > inkWidth(paymentInk), "the Total row is not bold");
    }

private:
    static int redPixels(const QImage &image, const QRect &area)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                count += qRed(pixel) > 150 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
            }
        }
        return count;
    }

    void scrollTo(int row) const { m_f->grid->verticalScrollBar()->setValue(row - 1); }

    void enter(int row, int column, const QString &keys) const
    {
        scrollTo(row);
        m_f->enter(row, column, keys);
    }

    QImage printedPage() const
    {
        QImage page(QSize(8 * 200, 10 * 200), QImage::Format_RGB32);
        page.setDotsPerMeterX(int(200 / 0.0254));
        page.setDotsPerMeterY(int(200 / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        EstimateReport(m_f->window->sheet().grid(), EstimateReport::printedFields(m_f->window->header()))
            .compose(painter, page);
        return page;
    }

    std::unique_ptr<WindowFixture> m_f;
};

QTEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
