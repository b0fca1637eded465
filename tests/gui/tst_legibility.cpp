#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "report/estimatereport.h"
#include "support/pixels.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
constexpr int Spare = EstimateSheet::CategoryCount + 3;
constexpr int Total = EstimateSheet::TotalRow;
constexpr int Amount = EstimateSheet::OriginalEstimateColumn;
constexpr int Description = EstimateSheet::DescriptionColumn;

const auto Ink = Pixels::darkerThan(100);
// Lighter too: the thin and smoothed parts of a glyph.
const auto AnyInk = Pixels::darkerThan(200);

int inkWidth(const QList<QRect> &runs)
{
    return runs.isEmpty() ? 0 : runs.last().right() - runs.first().left() + 1;
}

// What a reader of a cell sees: a text clear of the cell's left edge (a text cut there runs
// right into it), and a wrapped text with its lines whole.
void checkCell(const QImage &image, const QRect &interior, const char *what)
{
    QVERIFY2(Pixels::count(image, interior, Ink) > 0, what);
    QVERIFY2(Pixels::count(image, QRect(interior.left(), interior.top(), 2, interior.height()), Ink) == 0, what);
    QVERIFY2(Pixels::bands(image, interior, Qt::Horizontal, Ink).size() == 1, what);
}

// The positions of the lines of a printed table: rows or columns of dark pixels running
// over the given share of the page.
QList<int> ruledLines(const QImage &page, Qt::Orientation orientation, qreal share)
{
    const bool vertical = orientation == Qt::Vertical;
    QList<int> lines;
    for (int i = 0; i < (vertical ? page.width() : page.height()); ++i) {
        const QRect line = vertical ? QRect(i, 0, 1, page.height()) : QRect(0, i, page.width(), 1);
        if (Pixels::count(page, line, Ink) < (vertical ? page.height() : page.width()) * share)
            continue;
        if (!lines.isEmpty() && lines.last() == i - 1)
            lines.last() = i;
        else
            lines << i;
    }
    return lines;
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
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
        Rows::columns<QString, bool>("entry", "tooWideForTheScreen");
        QTest::newRow("a total in the millions") << "12345678.90" << false;
        QTest::newRow("wider than any cell") << "123456789012345.67" << true;
    }

    void onScreen_data() { entries_data(); }

    // An amount shows whole or as ###, the whole amount then a rest of the mouse away; a
    // wrapped text shows no part of a line it has no room for.
    void onScreen()
    {
        auto [entry, tooWideForTheScreen] = Rows::fetch<QString, bool>("entry", "tooWideForTheScreen");
        enter(1, Amount, entry);
        for (const int row : {1, Total}) {
            scrollTo(row);
            const QString &amount = m_f->text(row, Amount);
            const QRect cell = m_f->grid->cellRect(row, Amount).adjusted(0, 1, -2, -2);
            checkCell(m_f->grid->grab().toImage(), cell, qPrintable(amount));
            QFont font = m_f->grid->font();
            font.setBold(m_f->model().isBold(row, Amount));
            const QFontMetrics metrics(font);
            const int seen = inkWidth(Pixels::bands(m_f->grid->grab().toImage(), cell, Qt::Vertical, AnyInk));
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
        checkCell(m_f->grid->grab().toImage(), description, "the wrapped description");
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
            const qsizetype bottom = rows.size() - 1 - (Total - row);
            return QRect(QPoint(columns.at(column - 1) + 1, rows.at(bottom - 1) + 1),
                         QPoint(columns.at(column) - 4, rows.at(bottom) - 4));
        };
        checkCell(page, interior(Spare, Description), "the wrapped description");
        for (const int row : {1, Total}) {
            const QString &amount = m_f->text(row, Amount);
            const QRect cell = interior(row, Amount);
            checkCell(page, cell, qPrintable(amount));
            // A whole amount begins with its $, which reaches above and below the digits;
            // ### is a short run of ink that does not.
            const QList<QRect> runs = Pixels::bands(page, cell, Qt::Vertical, AnyInk);
            const bool dollar = runs.first().height() > runs.last().height() + 1;
            const bool hashes = !dollar && inkWidth(runs) < cell.width() * 2 / 5;
            QVERIFY2(dollar || hashes, qPrintable(amount + u": neither whole nor ###"_s));
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
        const QList<QRect> paymentInk = Pixels::bands(shown, payment, Qt::Vertical, AnyInk);
        QVERIFY(!paymentInk.isEmpty());
        QVERIFY2(paymentInk.first().left() > payment.center().x(), "an amount is not aligned to the right");
        QCOMPARE(Pixels::count(shown, payment, isRed), 0);
        QVERIFY2(Pixels::count(shown, interior(2, EstimateSheet::CostToCompleteColumn), isRed) > 10,
                 "($50.00) is not red");

        scrollTo(Total);
        const QImage bottom = m_f->grid->grab().toImage();
        QCOMPARE(m_f->text(Total, EstimateSheet::PreviousPaymentColumn), QStringLiteral("$50.00"));
        const int totalInk = inkWidth(
            Pixels::bands(bottom, interior(Total, EstimateSheet::PreviousPaymentColumn), Qt::Vertical, AnyInk));
        QVERIFY2(totalInk > inkWidth(paymentInk), "the Total row is not bold");
    }

    void negativeAmountReadable_data()
    {
        Rows::columns<QColor, QColor>("base", "text");
        QTest::newRow("light theme") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark theme") << QColor(0x31, 0x36, 0x3b) << QColor(0xef, 0xf0, 0xf1);
    }

    // A cost to complete below zero is red enough to tell and light or dark enough to read on
    // the theme's cells; on paper it stays pure red.
    void negativeAmountReadable()
    {
        auto [base, text] = Rows::fetch<QColor, QColor>("base", "text");
        const QPalette before = QApplication::palette();
        QPalette theme = before;
        theme.setColor(QPalette::Base, base);
        theme.setColor(QPalette::Text, text);
        // The desktop's theme, in place when the program starts.
        m_f.reset();
        QApplication::setPalette(theme);
        m_f = std::make_unique<WindowFixture>();
        enter(2, EstimateSheet::PreviousPaymentColumn, QStringLiteral("50"));
        scrollTo(1);
        const QImage shown = m_f->grid->grab().toImage();
        QApplication::setPalette(before);
        const QRect cell = m_f->grid->cellRect(2, EstimateSheet::CostToCompleteColumn).adjusted(2, 2, -3, -3);
        // The pixel that stands out most from the cell is the colour the text is drawn in.
        QColor ink = base;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                if (contrast(pixel, base) > contrast(ink, base))
                    ink = pixel;
            }
        }
        QVERIFY2(ink.red() > ink.green() + 60 && ink.red() > ink.blue() + 60, qPrintable(ink.name()));
        QVERIFY2(contrast(ink, base) >= 4.5,
                 qPrintable(QStringLiteral("%1 on %2: %3").arg(ink.name(), base.name()).arg(contrast(ink, base))));
        const QImage page = printedPage();
        QVERIFY(Pixels::count(page, page.rect(), [](QRgb pixel) { return pixel == qRgb(255, 0, 0); }) > 0);
    }

private:
    // The contrast ratio of two colours as the web's accessibility guidelines measure it.
    static double contrast(const QColor &a, const QColor &b)
    {
        const auto luminance = [](const QColor &c) {
            const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
        };
        const double la = luminance(a);
        const double lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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
