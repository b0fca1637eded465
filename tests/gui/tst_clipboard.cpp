#include "support/windowfixture.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void onTheGrid()
    {
        WindowFixture f;
        f.enter(3, 3, QStringLiteral("950.5"));
        f.clickCell(3, 3);
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), QStringLiteral("$950.50"));
        f.press(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(f.text(3, 3), QString());
        QCOMPARE(f.text(37, 3), QStringLiteral("$0.00"));

        f.clickCell(4, 5);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(4, 5), QStringLiteral("$950.50"));
        QCOMPARE(f.text(4, 7), QStringLiteral("($950.50)"));
        f.press(Qt::Key_Delete);
        QCOMPARE(f.text(4, 5), QString());
        QCOMPARE(f.text(37, 5), QStringLiteral("$0.00"));
        QVERIFY(!f.editor->isVisible());

        // Computed cells are overwritten at once; a text column of the Total row keeps the paste.
        f.enter(7, 3, QStringLiteral("10"));
        f.clickCell(7, 7);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(7, 7), QStringLiteral("$10.00"));
        clipboard()->setText(QStringLiteral("Grand total"));
        f.clickCell(37, 2);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 2), QStringLiteral("Grand total"));

        // On the computed column nothing changes, so nothing counts as changed; a paste
        // that changes a cell does, though the current cell stays where it is.
        const QTemporaryDir folder;
        f.dialogs->savePaths = {folder.filePath(QStringLiteral("saved.vrn"))};
        f.clickCell(6, 7);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        f.press(Qt::Key_Delete);
        QVERIFY(f.window->document().DocumentSaved());
        f.clickCell(6, 3);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        clipboard()->setText(QStringLiteral("42"));
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 3), QStringLiteral("$52.00"));
        QVERIFY(!f.window->document().DocumentSaved());
    }

    // A block copied from a spreadsheet fills the cells right and down from the current
    // one, each as if typed, but never the Total row or the computed column. Each expected
    // cell is "row,column=text".
    void pastedBlock_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("2 x 2 amounts") << "1000\t200\n30\t125.2\n"
                                       << 4 << 3
                                       << QStringList{"4,3=$1,000.00", "4,4=$200.00", "5,3=$30.00",     "5,4=$125.20",
                                                      "6,3=",          "4,7=$200.00", "37,3=$1,030.00", "37,4=$325.20"};
        QTest::newRow("names and amounts, CRLF") << "Acme\tFraming\t1,500\r\nBob\t\t1234,56" << 2 << 1
                                                 << QStringList{"2,1=Acme", "2,2=Framing",   "2,3=$1,500.00", "3,1=Bob",
                                                                "3,2=",     "3,3=$1,234.56", "37,3=$2,734.56"};
        QTest::newRow("clipped at the computed column")
            << "5\t6\t7" << 9 << 5 << QStringList{"9,5=$5.00", "9,6=$6.00", "9,7=($11.00)", "37,7=($11.00)"};
        // Spreadsheets put a cell holding a line break between quotes, a quote in it doubled.
        QTest::newRow("a quoted cell with a line break")
            << "\"Smith\nJones\"\t\"5\"\" pipe\"\t2\r\n"
            << 2 << 1 << QStringList{"2,1=Smith\nJones", "2,2=5\" pipe", "2,3=$2.00", "3,1="};
        QTest::newRow("one quoted cell") << "\"Smith\nJones\"\n" << 4 << 1 << QStringList{"4,1=Smith\nJones", "5,1="};
        QTest::newRow("a quote inside a field") << "5\" pipe\t\"Acme\" Supply\n"
                                                << 6 << 1 << QStringList{"6,1=5\" pipe", "6,2=\"Acme\" Supply"};
        QTest::newRow("clipped above the Total row")
            << "1\n2\n9" << 35 << 6 << QStringList{"35,6=$1.00", "36,6=$2.00", "37,6=$3.00"};
    }

    void pastedBlock()
    {
        QFETCH(QString, pasted);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QStringList, cells);
        WindowFixture f;
        clipboard()->setText(pasted);
        f.clickCell(row, column);
        f.press(Qt::Key_V, Qt::ControlModifier);
        for (const QString &cell : std::as_const(cells)) {
            const QStringList place = cell.section(u'=', 0, 0).split(u',');
            QCOMPARE(f.text(place.at(0).toInt(), place.at(1).toInt()), cell.section(u'=', 1));
        }
        QVERIFY(!f.editor->isVisible());

        // Copied from the sheet and pasted back, the first cell is what it was.
        const QString first = f.text(row, column);
        f.press(Qt::Key_C, Qt::ControlModifier);
        f.press(Qt::Key_Delete);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(row, column), first);
    }

    // Undo takes the whole block back at once, with the totals.
    void pastedBlockUndoesAtOnce()
    {
        WindowFixture f;
        f.enter(4, 3, QStringLiteral("10"));
        clipboard()->setText(QStringLiteral("1000\t200\n30\t125\n"));
        f.clickCell(4, 3);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 3), QStringLiteral("$1,030.00"));
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.text(4, 3), QStringLiteral("$10.00"));
        QCOMPARE(f.text(4, 4), QStringLiteral("$10.00"));
        QCOMPARE(f.text(5, 3), QString());
        QCOMPARE(f.text(5, 4), QString());
        QCOMPARE(f.text(37, 3), QStringLiteral("$10.00"));
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.text(4, 3), QString());
    }

    void inTextBoxes()
    {
        WindowFixture f;
        auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
        name->setFocus();
        f.type(QStringLiteral("Pat Owner"));
        name->setCursorPosition(0);
        // Del with no selection deletes the character after the caret, as in every text box.
        // Copy of no selection empties the clipboard, and pasting that inserts nothing.
        f.press(Qt::Key_Delete);
        QCOMPARE(name->text(), QStringLiteral("at Owner"));
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), QString());
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("at Owner"));
        name->setSelection(0, 3);
        f.press(Qt::Key_X, Qt::ControlModifier);
        name->setCursorPosition(5);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Ownerat "));

        auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
        address->setFocus();
        address->setPlainText(QStringLiteral("1 Elm Road\nSpringfield"));
        address->selectAll();
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), QStringLiteral("1 Elm Road\nSpringfield"));

        // Into the open editor, unfiltered.
        clipboard()->setText(QStringLiteral("12ab"));
        f.clickCell(8, 3);
        f.type(QStringLiteral("5"));
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.editor->text(), QStringLiteral("512ab"));
    }

    void pasteKeepsTheCaretInView()
    {
        WindowFixture f;
        auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
        address->setFocus();
        clipboard()->setText(
            QStringLiteral("Lot 7\nBlock C\nPine Ridge Estates\n1200 County Road\nSpringfield\nIL 62701"));
        f.press(Qt::Key_V, Qt::ControlModifier);
        QVERIFY(address->viewport()->rect().contains(address->cursorRect()));
    }

private:
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
