#include "gui/editing/celleditor.h"
#include "support/windowfixture.h"

#include <QSignalSpy>

class TestCellEditor : public QObject
{
    Q_OBJECT

private slots:
    // The three ways into the editor on row 4: typing (which replaces the text; money columns
    // let only digits and points through and Escape does not end the edit), double-click and
    // Edit Cell (F2), which show a money cell as a plain number.
    void waysIn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cellText");
        QTest::addColumn<QString>("way"); // "double-click", "F2" or the keys typed
        QTest::addColumn<QString>("shown"); // "(closed)" when the editor stays closed
        QTest::newRow("typing a letter in money") << 4 << "old" << "a" << "";
        QTest::newRow("typing a point in money") << 5 << "old" << "." << ".";
        QTest::newRow("Backspace opens empty") << 3 << "old" << "\b" << "";
        QTest::newRow("money key filter") << 6 << "old" << "1a-2,$5.5\b\x1b" << "125.";
        QTest::newRow("typing in text") << 1 << "old" << "Bob's (No. 1), $5" << "Bob's (No. 1), $5";
        QTest::newRow("double-click on money") << 3 << "$1,234,567.25" << "double-click" << "1234567.25";
        QTest::newRow("double-click on negative money") << 4 << "($250.00)" << "double-click" << "-250";
        QTest::newRow("double-click on empty money") << 5 << "" << "double-click" << "";
        QTest::newRow("double-click on text") << 2 << "$950.50" << "double-click" << "$950.50";
        QTest::newRow("double-click on the computed column") << 7 << "$950.50" << "double-click" << "(closed)";
        QTest::newRow("F2 on money") << 3 << "$1,234,567.25" << "F2" << "1234567.25";
        QTest::newRow("F2 on empty money") << 5 << "" << "F2" << "0";
        QTest::newRow("F2 on the computed column") << 7 << "$950.50" << "F2" << "950.5";
    }

    void waysIn()
    {
        QFETCH(int, column);
        QFETCH(QString, cellText);
        QFETCH(QString, way);
        QFETCH(QString, shown);
        WindowFixture f;
        f.model().setText(4, column, cellText);
        if (way == u"double-click") {
            f.doubleClickCell(4, column);
        } else {
            f.clickCell(4, column);
            way == u"F2" ? f.press(Qt::Key_F2) : f.type(way);
        }
        QCOMPARE(f.editor->isVisible() ? f.editor->text() : QStringLiteral("(closed)"), shown);
        if (f.editor->isVisible()) {
            QVERIFY(f.editor->hasFocus());
            QCOMPARE(f.editor->cursorPosition(), int(shown.size()));
            // The editor lies exactly over the cell.
            QCOMPARE(f.editor->geometry(), f.grid->cellRect(4, column).translated(f.grid->pos()));
        }
    }

    void enterCommitsAndMovesDown()
    {
        WindowFixture f;
        // The road of one edit by keyboard: from the Total row where the window starts, up to
        // row 5 and left to column 3, an amount and Enter.
        f.grid->setFocus();
        for (int i = 0; i < 32; ++i)
            f.press(Qt::Key_Up);
        for (int i = 0; i < 4; ++i)
            f.press(Qt::Key_Left);
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(5, 3));
        f.type(QStringLiteral("1500"));
        f.press(Qt::Key_Return);
        QVERIFY(!f.editor->isVisible() && f.grid->hasFocus());
        QCOMPARE((QStringList{f.text(5, 3), f.text(5, 4), f.text(5, 7), f.text(37, 3)}), QStringList(4, "$1,500.00"));
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(6, 3));

        // Emptying a cell recomputes its row and the totals; the remainder keeps its colour.
        f.enter(14, 6, QStringLiteral("40"));
        QCOMPARE(f.text(14, 7), QStringLiteral("($40.00)"));
        f.doubleClickCell(14, 6);
        f.editor->clear();
        f.press(Qt::Key_Return);
        QCOMPARE((QStringList{f.text(14, 6), f.text(14, 7), f.text(37, 6)}), (QStringList{"", "", "$0.00"}));
        QCOMPARE(f.model().textColour(14, 7), TextColour::Red);

        // Enter in the grid itself moves down without opening the editor; from row 36 it
        // reaches the Total row.
        f.clickCell(36, 2);
        f.press(Qt::Key_Return);
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(37, 2));
    }

    void tabMovesRightAndWraps()
    {
        WindowFixture f;
        f.clickCell(3, 3);
        f.type(QStringLiteral("20"));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.text(3, 3), QStringLiteral("$20.00"));
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(3, 4));
        QVERIFY(f.grid->hasFocus());

        // F2 opens the computed column too, but the recalculation has the last word; Tab
        // from column 7 wraps to column 1.
        f.clickCell(3, 7);
        f.press(Qt::Key_F2);
        f.type(QStringLiteral("1"));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.text(3, 7), QStringLiteral("$20.00"));
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(3, 1));

        // Shift+Tab from the grid lands on the tab trap just before it: one column right.
        f.press(Qt::Key_Backtab);
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(3, 2));
        QVERIFY(f.grid->hasFocus());
        // Tab from the builder's name skips the hidden editor and lands on the trap.
        f.window->findChild<QLineEdit *>(QStringLiteral("txtBuilder"))->setFocus();
        f.press(Qt::Key_Tab);
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(3, 3));
    }

    void totalRowAndComputedColumn()
    {
        WindowFixture f;
        // Typing on the Total row or in the computed column opens nothing, and Enter stays.
        for (const auto &[row, column] : {std::pair(37, 3), std::pair(12, 7)}) {
            f.clickCell(row, column);
            f.type(QStringLiteral("5"));
            QVERIFY(!f.editor->isVisible());
            f.press(Qt::Key_Return);
            QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(row, column));
        }

        // Double-click opens the Total row; Enter commits there in place.
        f.doubleClickCell(37, 2);
        QCOMPARE(f.editor->text(), QStringLiteral("Total"));
        f.editor->selectAll();
        f.type(QStringLiteral("Sum"));
        f.press(Qt::Key_Return);
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.text(37, 2), QStringLiteral("Sum"));
        QCOMPARE(std::pair(f.model().currentRow(), f.model().currentColumn()), std::pair(37, 2));
    }

    void commitHappensOnce()
    {
        WindowFixture f;
        QSignalSpy commits(f.window->findChild<CellEditor *>(), &CellEditor::committed);
        QSignalSpy changes(&f.model(), &Grid::cellChanged);
        f.clickCell(15, 3);
        QSignalSpy leaves(&f.model(), &Grid::leavingCell);
        f.type(QStringLiteral("12"));
        f.press(Qt::Key_Return);
        QCOMPARE(commits.count(), 1);
        // The one cell left is the one Enter leaves: the recalculation moves nothing.
        QCOMPARE(leaves.count(), 1);
        int writesToEditedCell = 0;
        for (const QList<QVariant> &change : changes)
            writesToEditedCell += change.at(0).toInt() == 15 && change.at(1).toInt() == 3;
        // Once as typed, once as currency.
        QCOMPARE(writesToEditedCell, 2);
    }

    void editorStaysOpenUntilCellChanges()
    {
        WindowFixture f;
        QVERIFY(f.window->document().DocumentSaved());
        f.clickCell(6, 1);
        // Any move of the current cell, edit or not, marks the document changed.
        QVERIFY(!f.window->document().DocumentSaved());
        // Non-ASCII text reaches a text cell too.
        QTest::sendKeyEvent(QTest::Click, f.grid, Qt::Key_unknown, QString::fromUtf16(u"\u00e9"), Qt::NoModifier);
        f.type(QStringLiteral("Acme"));
        QTest::mouseClick(f.window->findChild<QLineEdit *>(QStringLiteral("txtName")), Qt::LeftButton);
        QVERIFY(f.editor->isVisible());
        QCOMPARE(f.text(6, 1), QString());
        f.clickCell(7, 1);
        QCOMPARE(f.text(6, 1), QString::fromUtf16(u"\u00e9Acme"));
        QVERIFY(!f.editor->isVisible());
    }
};

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
