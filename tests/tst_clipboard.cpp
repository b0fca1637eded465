#include "windowfixture.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void copyCutPasteOnGrid();
    void pastedTextCountsByDigits_data();
    void pastedTextCountsByDigits();
    void deleteOnGrid();
    void pasteOverComputedCells();
    void textBoxes();
    void pasteIntoOpenEditor();

private:
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
};

void TestClipboard::copyCutPasteOnGrid()
{
    WindowFixture f;
    f.enter(3, 3, QStringLiteral("950.5"));
    f.clickCell(3, 3);
    f.press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard()->text(), QStringLiteral("$950.50"));

    f.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.text(3, 3), QString());
    QCOMPARE(f.text(37, 3), QStringLiteral("$0.00"));
    QCOMPARE(clipboard()->text(), QStringLiteral("$950.50"));

    f.clickCell(4, 5);
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text(4, 5), QStringLiteral("$950.50"));
    QCOMPARE(f.text(37, 5), QStringLiteral("$950.50"));
    QCOMPARE(f.text(4, 7), QStringLiteral("($950.50)"));
    QVERIFY(!f.editor->isVisible());
}

void TestClipboard::pastedTextCountsByDigits_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("remainder");
    QTest::newRow("letters") << "abc12.5x" << "($12.50)";
    QTest::newRow("minus counts") << "-50" << "$50.00";
    QTest::newRow("parentheses") << "($20.00)" << "$20.00";
}

void TestClipboard::pastedTextCountsByDigits()
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

void TestClipboard::deleteOnGrid()
{
    WindowFixture f;
    f.enter(6, 4, QStringLiteral("80"));
    f.clickCell(6, 4);
    f.press(Qt::Key_Delete);
    QCOMPARE(f.text(6, 4), QString());
    QCOMPARE(f.text(6, 7), QString());
    QCOMPARE(f.text(37, 4), QStringLiteral("$0.00"));
    QVERIFY(!f.editor->isVisible());

    // On the computed column there is nowhere to move, so nothing counts as changed.
    const QTemporaryDir folder;
    f.dialogs->savePaths = {folder.filePath(QStringLiteral("saved.vrn"))};
    f.clickCell(6, 7);
    QVERIFY(f.window->document().save() == Document::SaveOutcome::Saved);
    f.press(Qt::Key_Delete);
    QVERIFY(f.window->document().DocumentSaved());
}

void TestClipboard::pasteOverComputedCells()
{
    WindowFixture f;
    f.enter(7, 3, QStringLiteral("10"));
    clipboard()->setText(QStringLiteral("$99.00"));
    f.clickCell(7, 7);
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text(7, 7), QStringLiteral("$10.00"));
    f.clickCell(37, 3);
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text(37, 3), QStringLiteral("$10.00"));
    clipboard()->setText(QStringLiteral("Grand total"));
    f.clickCell(37, 2);
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text(37, 2), QStringLiteral("Grand total"));
}

void TestClipboard::textBoxes()
{
    WindowFixture f;
    auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
    name->setFocus();
    f.type(QStringLiteral("Pat Owner"));
    name->setCursorPosition(0);

    // Del is the Delete command, which replaces the selection: with none, nothing goes.
    f.press(Qt::Key_Delete);
    QCOMPARE(name->text(), QStringLiteral("Pat Owner"));

    // Copy with nothing selected puts the empty text on the clipboard; pasting it inserts nothing.
    clipboard()->setText(QStringLiteral("before"));
    f.press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard()->text(), QString());
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name->text(), QStringLiteral("Pat Owner"));

    name->setSelection(0, 4);
    f.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(name->text(), QStringLiteral("Owner"));
    QCOMPARE(clipboard()->text(), QStringLiteral("Pat "));
    name->setCursorPosition(5);
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name->text(), QStringLiteral("OwnerPat "));
    QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("OwnerPat "));

    auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
    address->setFocus();
    address->setPlainText(QStringLiteral("1 Elm Road\nSpringfield"));
    address->selectAll();
    f.press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard()->text(), QStringLiteral("1 Elm Road\nSpringfield"));
    f.press(Qt::Key_Delete);
    QCOMPARE(address->toPlainText(), QString());
}

void TestClipboard::pasteIntoOpenEditor()
{
    WindowFixture f;
    clipboard()->setText(QStringLiteral("12ab"));
    f.clickCell(8, 3);
    f.type(QStringLiteral("5"));
    f.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.editor->text(), QStringLiteral("512ab"));
    f.press(Qt::Key_Return);
    QCOMPARE(f.text(8, 3), QStringLiteral("$512.00"));
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
