#include "windowfixture.h"

#include <QAction>
#include <QTemporaryDir>

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void undoRedoOfAnEdit();
    void undoOfClipboardCommands();
    void undoMarksChanged();
    void newAndOpenClearTheHistory();
    void headerFieldsKeepTheirOwnUndo();

private:
    static void undo(WindowFixture &f) { f.window->findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger(); }
    static void redo(WindowFixture &f) { f.window->findChild<QAction *>(QStringLiteral("mnuRedo"))->trigger(); }
};

void TestUndo::undoRedoOfAnEdit()
{
    WindowFixture f;
    f.enter(5, 3, QStringLiteral("1000"));
    f.enter(5, 5, QStringLiteral("1200"));
    QCOMPARE(f.text(5, 7), QStringLiteral("($200.00)"));

    f.grid->setFocus();
    f.press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.text(5, 5), QString());
    QCOMPARE(f.text(5, 7), QStringLiteral("$1,000.00"));
    QCOMPARE(f.model().textColour(5, 7), TextColour::Default);
    QCOMPARE(f.text(37, 5), QStringLiteral("$0.00"));
    QCOMPARE(f.model().currentRow(), 5);
    QCOMPARE(f.model().currentColumn(), 5);

    // Undoing the first entry also takes back the adjusted estimate copied from it.
    undo(f);
    QCOMPARE(f.text(5, 3), QString());
    QCOMPARE(f.text(5, 4), QString());
    QCOMPARE(f.text(5, 7), QString());
    QCOMPARE(f.text(37, 3), QStringLiteral("$0.00"));
    undo(f);
    QCOMPARE(f.text(5, 3), QString());

    f.press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.text(5, 3), QStringLiteral("$1,000.00"));
    QCOMPARE(f.text(5, 4), QStringLiteral("$1,000.00"));
    f.press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.text(5, 7), QStringLiteral("($200.00)"));
    QCOMPARE(f.model().textColour(5, 7), TextColour::Red);
    QCOMPARE(f.text(37, 7), QStringLiteral("($200.00)"));
}

void TestUndo::undoOfClipboardCommands()
{
    WindowFixture f;
    f.enter(2, 3, QStringLiteral("40"));
    f.clickCell(2, 3);
    f.press(Qt::Key_X, Qt::ControlModifier);
    f.clickCell(3, 3);
    f.press(Qt::Key_V, Qt::ControlModifier);
    f.press(Qt::Key_Delete);
    QCOMPARE(f.text(3, 3), QString());
    undo(f);
    QCOMPARE(f.text(3, 3), QStringLiteral("$40.00"));
    QCOMPARE(f.text(37, 3), QStringLiteral("$40.00"));
    undo(f);
    QCOMPARE(f.text(3, 3), QString());
    undo(f);
    QCOMPARE(f.text(2, 3), QStringLiteral("$40.00"));
    QCOMPARE(f.text(37, 3), QStringLiteral("$40.00"));
    // Deleting an empty cell changes nothing and leaves no step: the next undo takes
    // back the first entry.
    f.clickCell(9, 1);
    f.press(Qt::Key_Delete);
    undo(f);
    QCOMPARE(f.text(2, 3), QString());
}

void TestUndo::undoMarksChanged()
{
    WindowFixture f;
    const QTemporaryDir folder;
    f.enter(7, 1, QStringLiteral("Acme"));
    f.dialogs->savePaths = {folder.filePath(QStringLiteral("a.vrn"))};
    QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
    // The current cell is already the edited one: undo moves nothing but still changes.
    f.model().setCurrentCell(7, 1);
    QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
    undo(f);
    QCOMPARE(f.text(7, 1), QString());
    QVERIFY(!f.window->document().DocumentSaved());
}

void TestUndo::newAndOpenClearTheHistory()
{
    WindowFixture f;
    f.enter(4, 3, QStringLiteral("10"));
    f.messages->answers = {MessageBoxes::No};
    f.window->findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
    undo(f);
    QCOMPARE(f.text(4, 3), QString());
    QCOMPARE(f.text(37, 3), QStringLiteral("0"));
}

void TestUndo::headerFieldsKeepTheirOwnUndo()
{
    WindowFixture f;
    f.enter(6, 3, QStringLiteral("5"));
    auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
    name->setFocus();
    f.type(QStringLiteral("Pat"));
    f.press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(name->text(), QString());
    QCOMPARE(f.text(6, 3), QStringLiteral("$5.00"));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
