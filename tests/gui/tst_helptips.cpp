#include "gui/editing/helptips.h"
#include "support/windowfixture.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

#include <cmath>

class TestHelpTips : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_tips = m_f->window->findChild<HelpTips *>();
        m_box = m_f->window->findChild<QPlainTextEdit *>(QStringLiteral("txtHelp"));
        // The test ticks the timer itself.
        m_tips->timer()->setInterval(std::chrono::hours(1));
        moveTo(5, 4);
    }

    void cleanup() { m_f.reset(); }

    void delayAndRearming()
    {
        QVERIFY(m_tips->RestartHelpDelay() && !m_tips->HelpDelayElapsed() && !m_tips->timer()->isActive());
        moveTo(5, 2);
        QVERIFY(!m_tips->RestartHelpDelay() && m_tips->timer()->isActive());
        moveTo(5, 2);
        QVERIFY(!shown());
        m_tips->tmrHelp_Timer();
        QVERIFY(!shown());
        moveTo(5, 2);
        QVERIFY(shown());
        QCOMPARE(m_box->toPlainText(), m_f->window->sheet().CategoryHelpTexts.at(4));

        // Another column hides the tip at once (below the box: a move onto it does not reach the grid).
        moveTo(9, 3);
        QVERIFY(!shown());
        QVERIFY(m_tips->RestartHelpDelay() && !m_tips->HelpDelayElapsed() && !m_tips->timer()->isActive());

        // A spare row and the header row have none, and coming back needs a new delay.
        for (const int row : {31, 0}) {
            moveTo(30, 2);
            m_tips->tmrHelp_Timer();
            moveTo(30, 2);
            QVERIFY(shown());
            moveTo(row, 2);
            QVERIFY(!shown());
            QVERIFY(m_tips->RestartHelpDelay());
        }
        moveTo(30, 2);
        QVERIFY(!shown());
    }

    void tipFollowsDownTheColumn()
    {
        moveTo(1, 2);
        m_tips->tmrHelp_Timer();
        for (int row = 1; row <= 30; ++row) {
            moveTo(row, 2);
            QVERIFY(shown());
            QCOMPARE(m_box->toPlainText(), m_f->window->sheet().CategoryHelpTexts.at(row - 1));
            // Right of the name cell, as the grid is scrolled by then.
            const QRect name = m_f->grid->cellRect(row, 2).translated(m_f->grid->pos());
            QCOMPARE(m_box->pos(), QPoint(name.right() + 1, name.top()));
            QCOMPARE(m_box->width(), Twips::Scale::of(*m_f->window).x(4000));
            QVERIFY(m_box->height()
                    >= Twips::Scale::of(*m_f->window).y(HelpTips::boxHeight(m_box->toPlainText().size())));
        }
    }

    void everyTipFitsItsBox()
    {
        moveTo(1, 2);
        m_tips->tmrHelp_Timer();
        for (int row = 1; row <= 30; ++row) {
            moveTo(row, 2);
            QVERIFY2(tipFits(), qPrintable(m_box->toPlainText()));
        }
    }

    void wheelDoesNotZoomTheTip()
    {
        moveTo(18, 2);
        m_tips->tmrHelp_Timer();
        moveTo(18, 2);
        const QFont font = m_box->font();
        for (int notch = 0; notch < 3; ++notch)
            WindowFixture::turnWheel(m_box->viewport(), QPoint(0, 120), Qt::ControlModifier);
        QCOMPARE(m_box->font(), font);
        moveTo(17, 2);
        QVERIFY(tipFits());
    }

    void boxHeight_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("height");
        QTest::newRow("59") << 59 << 250;
        QTest::newRow("60") << 60 << 500;
        QTest::newRow("120") << 120 << 750;
    }

    void boxHeight()
    {
        QFETCH(int, length);
        QFETCH(int, height);
        QCOMPARE(HelpTips::boxHeight(length), height);
    }

private:
    void moveTo(int row, int column);
    bool shown() const { return m_box->isVisible(); }
    bool tipFits() const;

    std::unique_ptr<WindowFixture> m_f;
    HelpTips *m_tips = nullptr;
    QPlainTextEdit *m_box = nullptr;
    int m_nudge = 1;
};

// A real mouse move over the cell, scrolled into view first.
void TestHelpTips::moveTo(int row, int column)
{
    GridView *grid = m_f->grid;
    if (row > 0 && !grid->viewport()->geometry().contains(grid->cellRect(row, column)))
        grid->verticalScrollBar()->setValue(row - 1);
    m_nudge = -m_nudge;
    const QPoint point = grid->cellRect(row, column).center() + QPoint(m_nudge, 0);
    QWidget *target = grid->childAt(point);
    QVERIFY(target);
    QTest::mouseMove(target, target->mapFrom(grid, point));
}

// The tip's text, laid out in the box's font across the box, takes no more than its height.
bool TestHelpTips::tipFits() const
{
    const int margin = int(std::ceil(m_box->document()->documentMargin()));
    const QRect page = m_box->viewport()->rect().adjusted(margin, margin, -margin, -margin);
    const QRect text = m_box->fontMetrics().boundingRect(QRect(page.topLeft(), QSize(page.width(), 10000)),
                                                         Qt::TextWordWrap, m_box->toPlainText());
    return shown() && text.height() <= page.height();
}

QTEST_MAIN(TestHelpTips)
#include "tst_helptips.moc"
