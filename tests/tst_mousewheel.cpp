#include "editing/mousewheel.h"
#include "windowfixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

class TestMouseWheel : public QObject
{
    Q_OBJECT

private slots:
    void step_data();
    void step();
    void oneStepPerNotch();
    void touchpadAddsUp();
    void wheelOverOtherControls();
    void editorStaysPut();
    void wheelAfterCancelledClose();
};

namespace {
void turn(QWidget *target, int delta, Qt::KeyboardModifiers modifiers = {}, QPoint angle = {})
{
    const QPointF position(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(position, target->mapToGlobal(position), QPoint(), angle.isNull() ? QPoint(0, delta) : angle,
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

int stepOf(const Grid &grid)
{
    return std::max(10, grid.height() / grid.rowHeight(0));
}
}

void TestMouseWheel::step_data()
{
    QTest::addColumn<int>("topRow");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("gridHeight");
    QTest::addColumn<int>("headerHeight");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.5 header rows scroll 12") << 1 << -120 << 6250 << 500 << 13;
    QTest::newRow("6 header rows scroll 10") << 1 << -120 << 3000 << 500 << 11;
    QTest::newRow("two notches in one message, one step") << 1 << -240 << 6250 << 500 << 13;
    QTest::newRow("no turn scrolls down") << 1 << 0 << 6250 << 500 << 13;
    QTest::newRow("up") << 20 << 120 << 6250 << 500 << 8;
    QTest::newRow("up stops at the first row") << 5 << 120 << 6250 << 500 << 1;
    QTest::newRow("down asks for the last row at most") << 30 << -120 << 6250 << 500 << 37;
    QTest::newRow("no header height") << 1 << -120 << 6250 << 0 << 11;
}

void TestMouseWheel::step()
{
    QFETCH(int, topRow);
    QFETCH(int, rotation);
    QFETCH(int, gridHeight);
    QFETCH(int, headerHeight);
    QFETCH(int, expected);
    QCOMPARE(MouseWheel::scrolledTopRow(topRow, rotation, gridHeight, headerHeight, 38), expected);
}

void TestMouseWheel::oneStepPerNotch()
{
    WindowFixture f;
    const int step = stepOf(f.model());
    QCOMPARE(f.model().topRow(), 1);
    turn(f.grid->viewport(), -120);
    QCOMPARE(f.model().topRow(), 1 + step);
    // The grid's own scrolling is replaced, not added to: the view shows the same row.
    QCOMPARE(f.grid->rowAt(0) + 1, 1 + step);
    turn(f.grid->viewport(), -120, Qt::ControlModifier | Qt::ShiftModifier);
    const int afterTwo = f.model().topRow();
    QVERIFY(afterTwo > 1 + step || afterTwo == f.grid->verticalScrollBar()->maximum() + 1);
    turn(f.grid->viewport(), 360);
    QCOMPARE(f.model().topRow(), std::max(1, afterTwo - step));
    turn(f.grid->viewport(), 120);
    turn(f.grid->viewport(), 120);
    QCOMPARE(f.model().topRow(), 1);

    // A sideways turn does not move the rows.
    turn(f.grid->viewport(), 0, {}, QPoint(-120, 0));
    QCOMPARE(f.model().topRow(), 1);
}

void TestMouseWheel::touchpadAddsUp()
{
    WindowFixture f;
    for (int i = 0; i < 7; ++i)
        turn(f.grid->viewport(), -15);
    QCOMPARE(f.model().topRow(), 1);
    turn(f.grid->viewport(), -15);
    QCOMPARE(f.model().topRow(), 1 + stepOf(f.model()));
    // Turning back starts counting afresh.
    for (int i = 0; i < 7; ++i)
        turn(f.grid->viewport(), -15);
    turn(f.grid->viewport(), 60);
    turn(f.grid->viewport(), 60);
    QCOMPARE(f.model().topRow(), 1);
}

void TestMouseWheel::wheelOverOtherControls()
{
    WindowFixture f;
    turn(f.window->findChild<QLabel *>(QStringLiteral("lblLogo")), -120);
    QCOMPARE(f.model().topRow(), 1 + stepOf(f.model()));
    // The address box scrolls its own text.
    turn(f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"))->viewport(), -120);
    QCOMPARE(f.model().topRow(), 1 + stepOf(f.model()));
}

void TestMouseWheel::editorStaysPut()
{
    WindowFixture f;
    f.clickCell(3, 3);
    f.type(QStringLiteral("4"));
    const QRect before = f.editor->geometry();
    turn(f.grid->viewport(), -120);
    QVERIFY(f.model().topRow() > 1);
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.editor->geometry(), before);
    QCOMPARE(f.model().currentRow(), 3);
}

void TestMouseWheel::wheelAfterCancelledClose()
{
    WindowFixture f;
    f.enter(2, 3, QStringLiteral("1"));
    f.messages->answers = {MessageBoxes::Cancel};
    QVERIFY(!f.window->close());
    turn(f.grid->viewport(), -120);
    QVERIFY(f.model().topRow() > 1);
}

QTEST_MAIN(TestMouseWheel)
#include "tst_mousewheel.moc"
