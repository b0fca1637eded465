#include "gui/editing/celleditor.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QScrollBar>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {
// The saved text of cell (row, column) of an item row.
QString cellOf(const QList<QStringList> &rows, int row, int column)
{
    return row - 1 < rows.size() ? rows.at(row - 1).value(column - 1) : QStringLiteral("(not saved)");
}

constexpr QPoint OneNotchDown(0, -120);
constexpr QPoint OneNotchUp(0, 120);
constexpr QPoint SmallTurnRight(-15, 0);
}

class TestCellEditor : public QObject
{
    Q_OBJECT

private slots:
    // The three ways into the editor on row 4: typing (which replaces the text with every key
    // typed, on a money cell as on a text cell), double-click and Edit Cell (F2), which show a
    // money cell as a plain number.
    void waysIn_data()
    {
        // way: "double-click", or "F2" or neither, then the keys typed
        // shown: "(closed)" when the editor stays closed
        Rows::columns<int, QString, QString, QString>("column", "cellText", "way", "shown");
        const auto row = [](const char *name, int column, const char *cellText, const char *way, const char *shown) {
            QTest::newRow(name) << column << cellText << way << shown;
        };
        row("typing a letter in money", 4, "old", "a", "a");
        row("typing a blank in money", 4, "old", " ", "(closed)");
        row("typing a point in money", 5, "old", ".", ".");
        row("Backspace opens empty", 3, "old", "\b", "");
        row("money keys: every one goes in", 6, "old", "1a 2,$5.5\b", "1a 2,$5.");
        row("money keys: a sign replaces the 0 of F2", 5, "", "F2-50", "-50");
        row("typing in text", 1, "old", "Bob's (No. 1), $5", "Bob's (No. 1), $5");
        row("double-click on money", 3, "$1,234,567.25", "double-click", "1234567.25");
        row("double-click on negative money", 4, "($250.00)", "double-click", "-250");
        row("double-click on empty money", 5, "", "double-click", "");
        row("double-click on text", 2, "$950.50", "double-click", "$950.50");
        row("double-click on the computed column", 7, "$950.50", "double-click", "(closed)");
        row("F2 on money", 3, "$1,234,567.25", "F2", "1234567.25");
        row("F2 on empty money", 5, "", "F2", "0");
        row("F2 on the computed column", 7, "$950.50", "F2", "950.5");
    }

    void waysIn()
    {
        auto [column, cellText, way, shown] =
            Rows::fetch<int, QString, QString, QString>("column", "cellText", "way", "shown");
        WindowFixture f;
        f.model().setText(4, column, cellText);
        if (way == u"double-click") {
            f.doubleClickCell(4, column);
        } else {
            f.clickCell(4, column);
            if (way.startsWith(u"F2")) {
                f.press(Qt::Key_F2);
                way.remove(0, 2);
            }
            f.type(way);
        }
        QCOMPARE(f.editor->isVisible() ? f.editor->text() : QStringLiteral("(closed)"), shown);
        if (f.editor->isVisible()) {
            QVERIFY(f.editor->hasFocus());
            QCOMPARE(f.editor->cursorPosition(), int(shown.size()));
            // The editor lies exactly over the cell.
            QCOMPARE(f.editor->geometry(), f.grid->cellRect(4, column).translated(f.grid->pos()));
        }
    }

    // A cell the wheel has scrolled away, or the sideways scroll has half hidden, comes fully
    // into view before the editor opens over it, and the entry lands in that cell.
    void openingShowsTheCell_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("typing") << "typing";
        QTest::newRow("F2") << "F2";
        QTest::newRow("double-click") << "double-click";
    }

    void openingShowsTheCell()
    {
        QFETCH(QString, way);
        WindowFixture f;
        f.resizeToDesign();
        int row = 4;
        int column = 3;
        if (way == u"double-click") {
            // The window at its first size shows this column only in part.
            column = EstimateSheet::CurrentPaymentColumn;
            QVERIFY(f.cellArea().intersects(f.shownCell(row, column)));
            QVERIFY(!f.cellArea().contains(f.shownCell(row, column)));
            f.doubleClickCell(row, column);
        } else {
            f.clickCell(row, column);
            WindowFixture::turn(f.grid->viewport(), OneNotchDown);
            QVERIFY(!f.cellArea().intersects(f.shownCell(row, column)));
            way == u"F2" ? f.press(Qt::Key_F2) : f.type(QStringLiteral("5"));
        }
        QVERIFY(f.editor->isVisible());
        QCOMPARE(f.editor->geometry(), f.shownCell(row, column));
        QVERIFY2(f.cellArea().contains(f.editor->geometry()), "the editor shows whole, inside the grid");
        f.editor->setText(QStringLiteral("57"));
        f.press(Qt::Key_Return);
        QCOMPARE(cellOf(f.savedRows(f.path("shown.vrn")), row, column), QStringLiteral("$57.00"));
    }

    // The editor goes with its cell when the sheet scrolls or the window changes size, hides
    // while its cell is out of view and returns with it; a key typed meanwhile goes on with
    // the edit and brings the cell back. The edit goes into that cell.
    void editorFollowsItsCell()
    {
        WindowFixture f;
        f.resizeToDesign();
        f.clickCell(14, 3);
        f.type(QStringLiteral("5"));
        const auto editorOverItsCell = [&f] {
            return f.editor->isVisible() && f.editor->geometry() == f.shownCell(14, 3);
        };
        WindowFixture::turn(f.grid->viewport(), OneNotchDown);
        QVERIFY(f.cellArea().contains(f.shownCell(14, 3)));
        QVERIFY(editorOverItsCell());
        WindowFixture::turn(f.grid->viewport(), OneNotchDown);
        QVERIFY(!f.editor->isVisible());
        QVERIFY(!f.cellArea().intersects(f.shownCell(14, 3)));
        f.type(QStringLiteral("7"));
        QVERIFY(editorOverItsCell());
        QVERIFY(f.editor->hasFocus());
        for (int notch = 0; notch < 5 && f.editor->isVisible(); ++notch)
            WindowFixture::turn(f.grid->viewport(), OneNotchDown);
        QVERIFY(!f.editor->isVisible());
        for (int notch = 0; notch < 5 && !f.editor->isVisible(); ++notch)
            WindowFixture::turn(f.grid->viewport(), OneNotchUp);
        QVERIFY(editorOverItsCell());
        QVERIFY(f.editor->hasFocus());

        // Wider, the first column widens and the others move right.
        f.window->resize(f.window->size() + QSize(400, 40));
        QVERIFY(editorOverItsCell());
        f.window->resize(f.window->size() - QSize(400, 40));
        QVERIFY(editorOverItsCell());

        f.press(Qt::Key_Return);
        const QList<QStringList> saved = f.savedRows(f.path("followed.vrn"));
        QCOMPARE(cellOf(saved, 14, 3), QStringLiteral("$57.00"));
        int rowsHoldingIt = 0;
        for (const QStringList &row : saved)
            rowsHoldingIt += row.contains(QStringLiteral("$57.00"));
        QCOMPARE(rowsHoldingIt, 1);
    }

    // Scrolled sideways during an edit, the editor covers only what shows of its cell: it
    // never lies over the next column, the scroll bar or the window around the grid.
    void editorStaysInsideTheShownCell()
    {
        WindowFixture f;
        f.resizeToDesign();
        f.clickCell(4, 1);
        f.type(QStringLiteral("Acme"));
        // Small sideways turns, as a touchpad sends them, until the cell has gone out of view.
        int partlyShown = 0;
        for (int notch = 0; notch < 20 && f.editor->isVisible(); ++notch) {
            WindowFixture::turn(f.grid->viewport(), SmallTurnRight);
            const QRect shown = f.shownCell(4, 1) & f.cellArea();
            if (shown.isEmpty())
                break;
            partlyShown += shown != f.shownCell(4, 1);
            QCOMPARE(f.editor->geometry(), shown);
        }
        QVERIFY(partlyShown > 0);
        QVERIFY(!f.editor->isVisible());
        while (f.grid->horizontalScrollBar()->value() > 0)
            WindowFixture::turn(f.grid->viewport(), -SmallTurnRight);
        QCOMPARE(f.editor->geometry(), f.shownCell(4, 1));
        f.press(Qt::Key_Return);
        QCOMPARE(cellOf(f.savedRows(f.path("inside.vrn")), 4, 1), QStringLiteral("Acme"));
    }

    // Escape and the keys a money cell drops open no editor, so nothing is erased; Escape
    // in an open editor takes the edit back.
    void keysThatEraseNothing_data()
    {
        // opening: how the edit opens, or empty for none
        Rows::columns<int, QString, QString>("column", "opening", "keys");
        const auto row = [](const char *name, int column, const char *opening, const char *keys) {
            QTest::newRow(name) << column << opening << keys;
        };
        row("Escape on a name", 2, "", "\x1b");
        row("Escape on an amount", 3, "", "\x1b");
        row("space on an amount", 4, "", " ");
        row("Escape after typing a name", 2, "typing", "Acme\x1b");
        row("Escape after typing an amount", 3, "typing", "12\x1b");
        row("Escape after a double-click", 4, "double-click", "\b\b\x1b");
        row("Escape after F2", 5, "F2", "9\x1b");
    }

    void keysThatEraseNothing()
    {
        auto [column, opening, keys] = Rows::fetch<int, QString, QString>("column", "opening", "keys");
        WindowFixture f;
        const QString before = column == 2 ? QStringLiteral("Framing") : QStringLiteral("$950.50");
        f.enter(8, column, column == 2 ? QStringLiteral("Framing") : QStringLiteral("950.50"));
        if (opening == u"double-click") {
            f.doubleClickCell(8, column);
        } else {
            f.clickCell(8, column);
            if (opening == u"F2")
                f.press(Qt::Key_F2);
        }
        f.type(keys);
        QVERIFY(!f.editor->isVisible());
        QVERIFY(f.grid->hasFocus());
        f.press(Qt::Key_Down);
        QCOMPARE(cellOf(f.savedRows(f.path("kept.vrn")), 8, column), before);
    }

    // The 0 that an empty or zero amount opens with is typed over, not typed after.
    void zeroIsTypedOver_data()
    {
        Rows::columns<QString, QString>("cellText", "way");
        QTest::newRow("F2 on an empty amount") << QString() << u"F2"_s;
        QTest::newRow("F2 on a zero amount") << u"$0.00"_s << u"F2"_s;
        QTest::newRow("double-click on a zero amount") << u"$0.00"_s << u"double-click"_s;
    }

    void zeroIsTypedOver()
    {
        auto [cellText, way] = Rows::fetch<QString, QString>("cellText", "way");
        WindowFixture f;
        f.model().setText(6, 3, cellText);
        if (way == u"F2") {
            f.clickCell(6, 3);
            f.press(Qt::Key_F2);
        } else {
            f.doubleClickCell(6, 3);
        }
        f.type(u"1,500"_s);
        f.press(Qt::Key_Return);
        QCOMPARE(cellOf(f.savedRows(f.path("zero.vrn")), 6, 3), u"$1,500.00"_s);
    }

    // F2 in an open edit keeps what was typed and goes on at its end; keys separated by "|",
    // where F2 and Home are those keys.
    void f2KeepsTheEdit_data()
    {
        Rows::columns<int, QString, QString, QString>("column", "cellText", "keys", "saved");
        QTest::newRow("a name") << 1 << QString() << u"Smith|F2| Jones"_s << u"Smith Jones"_s;
        QTest::newRow("an amount over an old one") << 3 << u"$950.50"_s << u"1200|F2"_s << u"$1,200.00"_s;
        QTest::newRow("caret back at the end") << 1 << u"Acme"_s << u"Bob|Home|F2|s"_s << u"Bobs"_s;
        QTest::newRow("twice") << 4 << QString() << u"7|F2|F2|5"_s << u"$75.00"_s;
    }

    void f2KeepsTheEdit()
    {
        auto [column, cellText, keys, saved] =
            Rows::fetch<int, QString, QString, QString>("column", "cellText", "keys", "saved");
        WindowFixture f;
        f.model().setText(6, column, cellText);
        f.clickCell(6, column);
        for (const QString &part : keys.split(u'|')) {
            if (part == u"F2")
                f.press(Qt::Key_F2);
            else if (part == u"Home")
                f.press(Qt::Key_Home);
            else
                f.type(part);
        }
        f.press(Qt::Key_Return);
        QCOMPARE(cellOf(f.savedRows(f.path("kept.vrn")), 6, column), saved);
    }

    // Credits and refunds are typed as people write them and shown as negative amounts.
    void creditsTyped_data()
    {
        Rows::columns<QString, QString>("keys", "saved");
        QTest::newRow("minus") << u"-75"_s << u"($75.00)"_s;
        QTest::newRow("parentheses") << u"(75)"_s << u"($75.00)"_s;
        QTest::newRow("opening parenthesis only") << u"(12.5"_s << u"($12.50)"_s;
        QTest::newRow("blank dropped, minus kept") << u" -3"_s << u"($3.00)"_s;
    }

    void creditsTyped()
    {
        auto [keys, saved] = Rows::fetch<QString, QString>("keys", "saved");
        WindowFixture f;
        f.enter(5, 4, keys);
        QCOMPARE(cellOf(f.savedRows(f.path("credit.vrn")), 5, 4), saved);
    }

    // Shift+Tab puts the edit in and moves one column left, from column 1 to column 7, in
    // the editor and in the grid alike.
    void shiftTabMovesLeft()
    {
        WindowFixture f;
        f.clickCell(3, 4);
        f.type(QStringLiteral("20"));
        f.press(Qt::Key_Backtab);
        QVERIFY(!f.editor->isVisible() && f.grid->hasFocus());
        f.type(QStringLiteral("5"));
        f.press(Qt::Key_Backtab, Qt::ShiftModifier);
        // Now from the grid, over the category name.
        f.press(Qt::Key_Backtab, Qt::ShiftModifier);
        f.type(QStringLiteral("Acme"));
        f.press(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.current(), std::pair(3, 7));
        f.press(Qt::Key_Backtab, Qt::ShiftModifier);
        f.type(QStringLiteral("8"));
        f.press(Qt::Key_Return);
        const QStringList saved = f.savedRows(f.path("left.vrn")).value(2);
        QCOMPARE(saved.mid(0, 6), (QStringList{"Acme", "Excavation", "$5.00", "$20.00", "", "$8.00"}));
    }

    // Tab in the sheet moves right as Shift+Tab moves left, so that a second Tab after an
    // entry never reaches the owner's name; Ctrl+Tab and Ctrl+Shift+Tab leave the sheet.
    void tabStaysInTheSheet()
    {
        WindowFixture f;
        f.type(QStringLiteral("Pat Owner"));
        f.clickCell(5, 3);
        f.type(QStringLiteral("1500"));
        f.press(Qt::Key_Tab);
        f.press(Qt::Key_Tab);
        f.type(QStringLiteral("200"));
        f.press(Qt::Key_Tab);
        f.press(Qt::Key_Tab);
        QCOMPARE(f.current(), std::pair(5, 7));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.current(), std::pair(5, 1));
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.savedRows(f.path("tab.vrn")).value(4).mid(2),
                 (QStringList{"$1,500.00", "$1,500.00", "$200.00", "", "$1,300.00"}));
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat Owner"));

        f.press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtName"));
        // From an open edit too, which stays open to come back to.
        f.clickCell(5, 3);
        f.type(QStringLiteral("7"));
        f.press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtBuilder"));
        QVERIFY(f.editor->isVisible());
        f.press(Qt::Key_Tab);
        QVERIFY(f.editor->hasFocus());
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
        QCOMPARE(f.current(), std::pair(5, 3));
        f.type(QStringLiteral("1500"));
        f.press(Qt::Key_Return);
        QVERIFY(!f.editor->isVisible() && f.grid->hasFocus());
        QCOMPARE((QStringList{f.text(5, 3), f.text(5, 4), f.text(5, 7), f.text(37, 3)}), QStringList(4, "$1,500.00"));
        QCOMPARE(f.current(), std::pair(6, 3));

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
        QCOMPARE(f.current(), std::pair(37, 2));
    }

    void tabMovesRightAndWraps()
    {
        WindowFixture f;
        // From the header fields, the first Tab into the sheet lands on its first cell.
        QTest::mouseClick(f.child<QLineEdit>("txtBuilder"), Qt::LeftButton);
        f.press(Qt::Key_Tab);
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.current(), std::pair(1, 1));

        f.clickCell(3, 3);
        f.type(QStringLiteral("20"));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.text(3, 3), QStringLiteral("$20.00"));
        QCOMPARE(f.current(), std::pair(3, 4));
        QVERIFY(f.grid->hasFocus());

        // F2 opens the computed column too, but the recalculation has the last word; Tab
        // from column 7 wraps to column 1.
        f.clickCell(3, 7);
        f.press(Qt::Key_F2);
        f.type(QStringLiteral("1"));
        f.press(Qt::Key_Tab);
        QCOMPARE(f.text(3, 7), QStringLiteral("$20.00"));
        QCOMPARE(f.current(), std::pair(3, 1));

        // Once the sheet has been used, Tab from the builder's name skips the hidden editor and
        // lands on the trap: one column right of where the user left the sheet.
        f.child<QLineEdit>("txtBuilder")->setFocus();
        f.press(Qt::Key_Tab);
        QVERIFY(f.grid->hasFocus());
        QCOMPARE(f.current(), std::pair(3, 2));
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
            QCOMPARE(f.current(), std::pair(row, column));
        }

        // Double-click opens the Total row; Enter commits there in place.
        f.doubleClickCell(37, 2);
        QCOMPARE(f.editor->text(), QStringLiteral("Total"));
        f.editor->selectAll();
        f.type(QStringLiteral("Sum"));
        f.press(Qt::Key_Return);
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.text(37, 2), QStringLiteral("Sum"));
        QCOMPARE(f.current(), std::pair(37, 2));
    }

    // Enter commits once, and leaves the one cell it leaves: the recalculation moves nothing.
    void commitHappensOnce()
    {
        WindowFixture f;
        QSignalSpy commits(f.window->findChild<CellEditor *>(), &CellEditor::committed);
        f.clickCell(15, 3);
        QSignalSpy leaves(&f.model(), &Grid::leavingCell);
        f.type(QStringLiteral("12"));
        f.press(Qt::Key_Return);
        QCOMPARE(commits.count(), 1);
        QCOMPARE(leaves.count(), 1);
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
        QTest::mouseClick(f.child<QLineEdit>("txtName"), Qt::LeftButton);
        QVERIFY(f.editor->isVisible());
        QCOMPARE(f.text(6, 1), QString());
        f.clickCell(7, 1);
        QCOMPARE(f.text(6, 1), QString::fromUtf16(u"\u00e9Acme"));
        QVERIFY(!f.editor->isVisible());
    }
};

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
