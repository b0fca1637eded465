#include "editing/helptips.h"
#include "windowfixture.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

class TestHelpTips : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tipWaitsForOneTick();
    void tipFollowsDownTheColumn();
    void leavingTheRowsRearms();
    void otherColumnsHideAtOnce();
    void placementFollowsScrolling();
    void boxHeight_data();
    void boxHeight();

private:
    void moveTo(int row, int column);
    void tick() const { m_tips->tmrHelp_Timer(); }
    bool tipShown() const { return m_box->isVisible(); }

    std::unique_ptr<WindowFixture> m_f;
    HelpTips *m_tips = nullptr;
    QPlainTextEdit *m_box = nullptr;
    int m_nudge = 1;
};

void TestHelpTips::init()
{
    m_f = std::make_unique<WindowFixture>();
    m_tips = m_f->window->findChild<HelpTips *>();
    m_box = m_f->window->findChild<QPlainTextEdit *>(QStringLiteral("txtHelp"));
    // The test ticks the timer itself.
    m_tips->timer()->setInterval(std::chrono::hours(1));
    moveTo(5, 4);
}

void TestHelpTips::cleanup()
{
    m_f.reset();
}

void TestHelpTips::moveTo(int row, int column)
{
    GridView *grid = m_f->grid;
    if (row > 0 && !grid->viewport()->geometry().contains(grid->cellRect(row, column)))
        grid->verticalScrollBar()->setValue(row - 1);
    // Each move lands a pixel away from the last, so that it is a move.
    m_nudge = -m_nudge;
    const QPoint point = grid->cellRect(row, column).center() + QPoint(m_nudge, 0);
    QWidget *target = grid->childAt(point);
    QVERIFY(target);
    QTest::mouseMove(target, target->mapFrom(grid, point));
}

void TestHelpTips::tipWaitsForOneTick()
{
    QVERIFY(m_tips->RestartHelpDelay());
    QVERIFY(!m_tips->HelpDelayElapsed());
    QVERIFY(!m_tips->timer()->isActive());

    moveTo(5, 2);
    QVERIFY(!m_tips->RestartHelpDelay());
    QVERIFY(m_tips->timer()->isActive());
    QVERIFY(!tipShown());
    moveTo(5, 2);
    QVERIFY(!tipShown());

    tick();
    QVERIFY(!tipShown());
    moveTo(5, 2);
    QVERIFY(tipShown());
    QCOMPARE(m_box->toPlainText(), m_f->window->sheet().CategoryHelpTexts.at(4));
}

void TestHelpTips::tipFollowsDownTheColumn()
{
    moveTo(1, 2);
    tick();
    for (int row = 1; row <= 30; ++row) {
        moveTo(row, 2);
        QVERIFY(tipShown());
        QCOMPARE(m_box->toPlainText(), m_f->window->sheet().CategoryHelpTexts.at(row - 1));
        const QRect name = m_f->grid->cellRect(row, 2).translated(m_f->grid->pos());
        QCOMPARE(m_box->x(), name.right() + 1);
        QCOMPARE(m_box->y(), name.top());
        QCOMPARE(m_box->width(), m_f->window->twipsToPixelsX(4000));
        QCOMPARE(m_box->height(), m_f->window->twipsToPixelsY(HelpTips::boxHeight(m_box->toPlainText().size())));
    }
}

void TestHelpTips::leavingTheRowsRearms()
{
    moveTo(29, 2);
    tick();
    moveTo(30, 2);
    QVERIFY(tipShown());
    // A spare row has no tip, and coming back needs a new delay.
    moveTo(31, 2);
    QVERIFY(!tipShown());
    QVERIFY(m_tips->RestartHelpDelay());
    QVERIFY(!m_tips->timer()->isActive());
    moveTo(30, 2);
    QVERIFY(!tipShown());
    tick();
    moveTo(30, 2);
    QVERIFY(tipShown());
    // The header row of the column has none either.
    moveTo(0, 2);
    QVERIFY(!tipShown());
}

void TestHelpTips::otherColumnsHideAtOnce()
{
    moveTo(3, 2);
    tick();
    moveTo(3, 2);
    QVERIFY(tipShown());
    // Below the tip box: a move onto the box itself does not reach the grid.
    moveTo(9, 3);
    QVERIFY(!tipShown());
    QVERIFY(!m_tips->HelpDelayElapsed());
    QVERIFY(m_tips->RestartHelpDelay());
    // The row-number column too.
    moveTo(3, 2);
    tick();
    moveTo(3, 2);
    moveTo(3, 0);
    QVERIFY(!tipShown());
}

void TestHelpTips::placementFollowsScrolling()
{
    m_f->grid->verticalScrollBar()->setValue(15);
    moveTo(20, 2);
    tick();
    moveTo(20, 2);
    QVERIFY(tipShown());
    const QRect name = m_f->grid->cellRect(20, 2).translated(m_f->grid->pos());
    QCOMPARE(m_box->y(), name.top());
    QVERIFY(m_f->grid->geometry().contains(m_box->pos()));
}

void TestHelpTips::boxHeight_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("height");
    QTest::newRow("empty") << 0 << 250;
    QTest::newRow("59") << 59 << 250;
    QTest::newRow("60") << 60 << 500;
    QTest::newRow("119") << 119 << 500;
    QTest::newRow("120") << 120 << 750;
}

void TestHelpTips::boxHeight()
{
    QFETCH(int, length);
    QFETCH(int, height);
    QCOMPARE(HelpTips::boxHeight(length), height);
}

QTEST_MAIN(TestHelpTips)
#include "tst_helptips.moc"
