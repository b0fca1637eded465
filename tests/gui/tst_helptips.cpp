#include "gui/editing/helptips.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

#include <cmath>

class TestHelpTips : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_tips = m_f->window->findChild<HelpTips *>();
        m_box = m_f->child<QPlainTextEdit>("txtHelp");
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

    // Down the column of names the tip follows the mouse, each category's advice whole in its box.
    void tipFollowsDownTheColumn()
    {
        moveTo(1, 2);
        m_tips->tmrHelp_Timer();
        for (int row = 1; row <= 30; ++row) {
            moveTo(row, 2);
            QCOMPARE(m_box->toPlainText(), m_f->window->sheet().CategoryHelpTexts.at(row - 1));
            QVERIFY2(tipFits(), qPrintable(m_box->toPlainText()));
            // Right of the name cell, as the grid is scrolled by then: level with it, or above
            // it where the window has no room below.
            const QRect name = m_f->shownCell(row, 2);
            QCOMPARE(m_box->x(), name.right() + 1);
            QVERIFY(m_box->y() == name.top() || m_box->geometry().bottom() < name.top());
            QCOMPARE(m_box->width(), Twips::Scale::of(*m_f->window).x(4000));
            QVERIFY(m_box->height()
                    >= Twips::Scale::of(*m_f->window).y(HelpTips::boxHeight(m_box->toPlainText().size())));
        }
    }

    // The box takes its font when the first tip shows, not before the window does.
    void tipShowsInItsSmallNarrowFont()
    {
        moveTo(18, 2);
        m_tips->tmrHelp_Timer();
        moveTo(18, 2);
        QVERIFY(shown());
        QCOMPARE(m_box->font().pointSizeF(), 7.5);
        QCOMPARE(m_box->font().stretch(), int(QFont::SemiCondensed));
    }

    void wheelDoesNotZoomTheTip()
    {
        moveTo(18, 2);
        m_tips->tmrHelp_Timer();
        moveTo(18, 2);
        const QFont font = m_box->font();
        for (int notch = 0; notch < 3; ++notch)
            WindowFixture::turn(m_box->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(m_box->font(), font);
        moveTo(17, 2);
        QVERIFY(tipFits());
    }

    void tipsLieOnTheScreen_data()
    {
        QTest::addColumn<int>("belowScreen");
        QTest::newRow("the window at its design size") << 0;
        QTest::newRow("the window's foot below the screen's") << 120;
    }

    // The advice for the rows at the foot of the window, or of the screen, is not cut by its edge.
    void tipsLieOnTheScreen()
    {
        QFETCH(int, belowScreen);
        m_f->resizeToDesign();
        const QRect screen = m_f->window->screen()->availableGeometry();
        if (belowScreen > 0)
            m_f->window->move(screen.left(), screen.bottom() + belowScreen - m_f->window->frameGeometry().height());
        GridView *grid = m_f->grid;
        grid->verticalScrollBar()->setValue(0);
        moveTo(1, 2);
        m_tips->tmrHelp_Timer();
        QWidget *form = m_box->parentWidget();
        const QRect seen = form->rect() & QRect(form->mapFromGlobal(screen.topLeft()), screen.size());
        int checked = 0;
        for (int row = 1; row <= 30 && seen.contains(m_f->shownCell(row, 2)); ++row, ++checked) {
            moveTo(row, 2);
            QVERIFY2(seen.contains(m_box->geometry()), qPrintable(QString::number(row)));
            QVERIFY(!m_box->geometry().intersects(m_f->shownCell(row, 2)));
        }
        QVERIFY(checked > 3);
    }

    void adviceByKeyboard_data()
    {
        // advice: empty: no tip
        Rows::columns<int, int, int, QString>("row", "column", "hidingKey", "advice");
        const QStringList advice = EstimateSheet().CategoryHelpTexts;
        QTest::newRow("a category, Escape hides") << 5 << 2 << int(Qt::Key_Escape) << advice.at(4);
        QTest::newRow("an amount of the last category, a move hides") << 30 << 6 << int(Qt::Key_Down) << advice.at(29);
        QTest::newRow("an amount shown as ###")
            << 8 << 5 << int(Qt::Key_Left) << "$123,456,789,012.00\n" + advice.at(7);
        QTest::newRow("a spare row has none") << 31 << 2 << int(Qt::Key_Escape) << QString();
    }

    // F1 tells the current cell's advice beside it, whole, and the next key takes it away.
    void adviceByKeyboard()
    {
        auto [row, column, hidingKey, advice] =
            Rows::fetch<int, int, int, QString>("row", "column", "hidingKey", "advice");
        m_f->resizeToDesign();
        m_f->enter(8, 5, QStringLiteral("123456789012"));
        m_f->clickCell(row, column);
        m_f->press(Qt::Key_F1);
        QCOMPARE(shown(), !advice.isEmpty());
        if (advice.isEmpty())
            return;
        QCOMPARE(m_box->toPlainText(), advice);
        QVERIFY(tipFits());
        QVERIFY(m_box->parentWidget()->rect().contains(m_box->geometry()));
        QVERIFY(!m_box->geometry().intersects(m_f->shownCell(row, column)));
        m_f->press(Qt::Key(hidingKey));
        QVERIFY(!shown());
        QCOMPARE(m_f->model().currentColumn(), hidingKey == Qt::Key_Left ? column - 1 : column);
    }

    // F1 in the cell editor or a header field shows the current cell's advice until the next
    // key typed there.
    void adviceHidesAtTheNextKey_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("cell editor") << "txtCell";
        QTest::newRow("name") << "txtName";
        QTest::newRow("address") << "txtAddress";
    }

    void adviceHidesAtTheNextKey()
    {
        QFETCH(QString, control);
        m_f->clickCell(5, 1);
        if (control == u"txtCell")
            m_f->type(QStringLiteral("A"));
        else
            m_f->window->findChild<QWidget *>(control)->setFocus();
        m_f->press(Qt::Key_F1);
        QVERIFY(shown());
        m_f->type(QStringLiteral("c"));
        QVERIFY(!shown());
        QCOMPARE(QApplication::focusWidget()->objectName(), control);
    }

    // The box's height in twips for a tip's length: a line of 250 for every 60 characters begun.
    void boxHeight()
    {
        for (const auto &[length, height] : {std::pair(59, 250), {60, 500}, {120, 750}})
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
