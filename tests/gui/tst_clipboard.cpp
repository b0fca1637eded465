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

    void pastedTextCountsByDigits_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("remainder");
        QTest::newRow("letters") << "abc12.5x"
                                 << "($12.50)";
        QTest::newRow("minus counts") << "-50"
                                      << "$50.00";
        QTest::newRow("parentheses") << "($20.00)"
                                     << "$20.00";
    }

    void pastedTextCountsByDigits()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, remainder);
        WindowFixture f;
        clipboard()->setText(pasted);
        f.clickCell(5, 6);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(5, 6), pasted);
        QCOMPARE(f.text(5, 7), remainder);
        QCOMPARE(f.text(37, 7), remainder);
    }

    void inTextBoxes()
    {
        WindowFixture f;
        auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
        name->setFocus();
        f.type(QStringLiteral("Pat Owner"));
        name->setCursorPosition(0);
        // Del is Delete, which replaces the selection: with none, nothing goes. Copy of no
        // selection empties the clipboard, and pasting that inserts nothing.
        f.press(Qt::Key_Delete);
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), QString());
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("Pat Owner"));
        name->setSelection(0, 4);
        f.press(Qt::Key_X, Qt::ControlModifier);
        name->setCursorPosition(5);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("OwnerPat "));

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
