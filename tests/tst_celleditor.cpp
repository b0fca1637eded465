#include "editing/celleditor.h"
#include "windowfixture.h"

#include <QSignalSpy>

class TestCellEditor : public QObject
{
    Q_OBJECT

private slots:
    void typingOpensEditor_data();
    void typingOpensEditor();
    void enterCommitsMoneyAndMovesDown();
    void moneyKeyFilter();
    void doubleClickShowsPlainNumber_data();
    void doubleClickShowsPlainNumber();
    void editCellOpensEverywhere();
    void tabMovesRightAndWraps();
    void tabTrapFromOutside();
    void totalRowAndComputedColumn();
    void enterOnTotalRowCommitsInPlace();
    void emptyingCellRecomputes();
    void commitHappensOnce();
    void everyMoveMarksChanged();
    void editorStaysOpenUntilCellChanges();
    void roadOfOneEditByKeyboard();
};

void TestCellEditor::typingOpensEditor_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digit in money column") << 3 << "7" << "7";
    QTest::newRow("letter in money column") << 4 << "a" << "";
    QTest::newRow("letter in text column") << 1 << "a" << "a";
    QTest::newRow("point in money column") << 5 << "." << ".";
}

void TestCellEditor::typingOpensEditor()
{
    QFETCH(int, column);
    QFETCH(QString, key);
    QFETCH(QString, shown);
    WindowFixture f;
    f.clickCell(4, column);
    f.model().setText(4, column, QStringLiteral("old"));
    f.type(key);
    QVERIFY(f.editor->isVisible());
    QVERIFY(f.editor->hasFocus());
    QCOMPARE(f.editor->text(), shown);
    QCOMPARE(f.editor->cursorPosition(), int(shown.size()));
    // The editor lies exactly over the cell.
    const QRect cell = f.grid->cellRect(4, column).translated(f.grid->pos());
    QCOMPARE(f.editor->geometry(), cell);
}

void TestCellEditor::enterCommitsMoneyAndMovesDown()
{
    WindowFixture f;
    f.enter(5, 3, QStringLiteral("1500"));
    QVERIFY(!f.editor->isVisible());
    QCOMPARE(f.text(5, 3), QStringLiteral("$1,500.00"));
    QCOMPARE(f.text(5, 4), QStringLiteral("$1,500.00"));
    QCOMPARE(f.text(5, 7), QStringLiteral("$1,500.00"));
    QCOMPARE(f.text(37, 3), QStringLiteral("$1,500.00"));
    QCOMPARE(f.model().currentRow(), 6);
    QCOMPARE(f.model().currentColumn(), 3);
    QVERIFY(f.grid->hasFocus());

    f.enter(6, 5, QStringLiteral("300"));
    QCOMPARE(f.text(6, 7), QStringLiteral("($300.00)"));
    QCOMPARE(f.model().textColour(6, 7), TextColour::Red);
    QCOMPARE(f.text(37, 7), QStringLiteral("$1,200.00"));

    // Enter in the grid itself moves down without opening the editor; from row 36 it
    // reaches the Total row.
    f.clickCell(36, 2);
    f.press(Qt::Key_Return);
    QVERIFY(!f.editor->isVisible());
    QCOMPARE(f.model().currentRow(), 37);
}

void TestCellEditor::moneyKeyFilter()
{
    WindowFixture f;
    f.clickCell(2, 6);
    f.type(QStringLiteral("1a-2,$5.5"));
    QCOMPARE(f.editor->text(), QStringLiteral("125.5"));
    f.press(Qt::Key_Backspace);
    QCOMPARE(f.editor->text(), QStringLiteral("125."));
    f.press(Qt::Key_Escape);
    QVERIFY(f.editor->isVisible());
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(2, 6), QStringLiteral("$125.00"));

    // Text columns take any character.
    f.clickCell(2, 1);
    f.type(QStringLiteral("Bob's (No. 1), $5"));
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(2, 1), QStringLiteral("Bob's (No. 1), $5"));
    // Non-ASCII text reaches a text cell too.
    f.clickCell(3, 1);
    QTest::sendKeyEvent(QTest::Click, f.grid, Qt::Key_unknown, QString::fromUtf16(u"\u00e9"), Qt::NoModifier);
    QCOMPARE(f.editor->text(), QString::fromUtf16(u"\u00e9"));
}

void TestCellEditor::doubleClickShowsPlainNumber_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cellText");
    QTest::addColumn<QString>("shown");
    QTest::newRow("money") << 3 << "$950.50" << "950.5";
    QTest::newRow("negative") << 4 << "($250.00)" << "-250";
    QTest::newRow("zero") << 5 << "$0.00" << "0";
    QTest::newRow("thousands") << 6 << "$1,234,567.25" << "1234567.25";
    QTest::newRow("empty money") << 3 << "" << "";
    QTest::newRow("text unchanged") << 2 << "$950.50" << "$950.50";
}

void TestCellEditor::doubleClickShowsPlainNumber()
{
    QFETCH(int, column);
    QFETCH(QString, cellText);
    QFETCH(QString, shown);
    WindowFixture f;
    f.model().setText(8, column, cellText);
    f.doubleClickCell(8, column);
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.editor->text(), shown);
    QCOMPARE(f.editor->cursorPosition(), int(shown.size()));
}

void TestCellEditor::editCellOpensEverywhere()
{
    WindowFixture f;
    f.enter(9, 3, QStringLiteral("950.5"));
    f.doubleClickCell(9, 7);
    QVERIFY(!f.editor->isVisible());

    // F2 opens the computed column too, but the recalculation has the last word.
    f.press(Qt::Key_F2);
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.editor->text(), QStringLiteral("950.5"));
    f.type(QStringLiteral("1"));
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(9, 7), QStringLiteral("$950.50"));

    f.clickCell(10, 5);
    f.press(Qt::Key_F2);
    QCOMPARE(f.editor->text(), QStringLiteral("0"));
}

void TestCellEditor::tabMovesRightAndWraps()
{
    WindowFixture f;
    f.clickCell(3, 3);
    f.type(QStringLiteral("20"));
    f.press(Qt::Key_Tab);
    QCOMPARE(f.text(3, 3), QStringLiteral("$20.00"));
    QCOMPARE(f.model().currentColumn(), 4);
    QCOMPARE(f.model().currentRow(), 3);
    QVERIFY(f.grid->hasFocus());

    f.clickCell(3, 7);
    f.press(Qt::Key_F2);
    f.press(Qt::Key_Tab);
    QCOMPARE(f.model().currentColumn(), 1);
    QCOMPARE(f.model().currentRow(), 3);
}

void TestCellEditor::tabTrapFromOutside()
{
    WindowFixture f;
    f.clickCell(4, 2);
    // Shift+Tab from the grid lands on the tab trap just before it: one column right.
    f.press(Qt::Key_Backtab);
    QCOMPARE(f.model().currentColumn(), 3);
    QVERIFY(f.grid->hasFocus());

    // Tab from the builder's name skips the hidden editor and lands on the trap.
    auto *builder = f.window->findChild<QLineEdit *>(QStringLiteral("txtBuilder"));
    builder->setFocus();
    f.press(Qt::Key_Tab);
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(f.model().currentColumn(), 4);
}

void TestCellEditor::totalRowAndComputedColumn()
{
    WindowFixture f;
    f.clickCell(37, 3);
    f.type(QStringLiteral("5"));
    f.press(Qt::Key_Return);
    QVERIFY(!f.editor->isVisible());
    QCOMPARE(f.model().currentRow(), 37);

    f.clickCell(12, 7);
    f.type(QStringLiteral("5"));
    f.press(Qt::Key_Return);
    QVERIFY(!f.editor->isVisible());
    QCOMPARE(f.model().currentRow(), 12);
}

void TestCellEditor::enterOnTotalRowCommitsInPlace()
{
    WindowFixture f;
    f.doubleClickCell(37, 2);
    QCOMPARE(f.editor->text(), QStringLiteral("Total"));
    f.editor->selectAll();
    f.type(QStringLiteral("Sum"));
    f.press(Qt::Key_Return);
    QVERIFY(!f.editor->isVisible());
    QCOMPARE(f.text(37, 2), QStringLiteral("Sum"));
    QCOMPARE(f.model().currentRow(), 37);
    QCOMPARE(f.model().currentColumn(), 2);
    QVERIFY(!f.window->document().DocumentSaved());

    // A money total typed over is recomputed at once.
    f.doubleClickCell(37, 4);
    f.type(QStringLiteral("99"));
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(37, 4), QStringLiteral("$0.00"));
}

void TestCellEditor::emptyingCellRecomputes()
{
    WindowFixture f;
    f.enter(14, 6, QStringLiteral("40"));
    QCOMPARE(f.text(14, 7), QStringLiteral("($40.00)"));
    f.doubleClickCell(14, 6);
    f.editor->clear();
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(14, 6), QString());
    QCOMPARE(f.text(14, 7), QString());
    QCOMPARE(f.model().textColour(14, 7), TextColour::Red);
    QCOMPARE(f.text(37, 6), QStringLiteral("$0.00"));
}

void TestCellEditor::commitHappensOnce()
{
    WindowFixture f;
    auto *cellEditor = f.window->findChild<CellEditor *>();
    QSignalSpy commits(cellEditor, &CellEditor::committed);
    QSignalSpy changes(&f.model(), &Grid::cellChanged);
    f.enter(15, 3, QStringLiteral("12"));
    QCOMPARE(commits.count(), 1);
    int writesToEditedCell = 0;
    for (const QList<QVariant> &change : changes)
        writesToEditedCell += change.at(0).toInt() == 15 && change.at(1).toInt() == 3;
    // Once as typed, once as currency; the nested moves of the recalculation add nothing.
    QCOMPARE(writesToEditedCell, 2);
}

void TestCellEditor::everyMoveMarksChanged()
{
    WindowFixture f;
    QVERIFY(f.window->document().DocumentSaved());
    f.clickCell(2, 2);
    QVERIFY(!f.window->document().DocumentSaved());
}

void TestCellEditor::editorStaysOpenUntilCellChanges()
{
    WindowFixture f;
    f.clickCell(6, 1);
    f.type(QStringLiteral("Acme"));
    auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
    QTest::mouseClick(name, Qt::LeftButton);
    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.text(6, 1), QString());
    f.clickCell(7, 1);
    QCOMPARE(f.text(6, 1), QStringLiteral("Acme"));
    QVERIFY(!f.editor->isVisible());
}

void TestCellEditor::roadOfOneEditByKeyboard()
{
    WindowFixture f;
    f.grid->setFocus();
    // From the Total row where the window starts, up to row 5 and left to column 3.
    for (int i = 0; i < 32; ++i)
        f.press(Qt::Key_Up);
    for (int i = 0; i < 4; ++i)
        f.press(Qt::Key_Left);
    QCOMPARE(f.model().currentRow(), 5);
    QCOMPARE(f.model().currentColumn(), 3);
    f.type(QStringLiteral("1500"));
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(5, 3), QStringLiteral("$1,500.00"));
    QCOMPARE(f.text(5, 7), QStringLiteral("$1,500.00"));
    QCOMPARE(f.model().currentRow(), 6);
    QVERIFY(!f.window->document().DocumentSaved());
}

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
