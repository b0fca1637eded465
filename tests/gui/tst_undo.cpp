#include "support/windowfixture.h"

#include <QAction>
#include <QTemporaryDir>

namespace {
void undo(WindowFixture &f)
{
    f.window->findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger();
}
}

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void undoRedoOfEdits()
    {
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1000"));
        f.enter(5, 5, QStringLiteral("1200"));
        f.grid->setFocus();
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.text(5, 5), QString());
        QCOMPARE(f.text(5, 7), QStringLiteral("$1,000.00"));
        QCOMPARE(f.model().textColour(5, 7), TextColour::Default);
        QCOMPARE(f.model().currentColumn(), 5);
        // Undoing the first entry also takes back the adjusted estimate copied from it.
        undo(f);
        QCOMPARE(f.text(5, 4), QString());
        QCOMPARE(f.text(5, 7), QString());
        QCOMPARE(f.text(37, 3), QStringLiteral("$0.00"));

        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.text(5, 4), QStringLiteral("$1,000.00"));
        f.press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.text(5, 7), QStringLiteral("($200.00)"));
        QCOMPARE(f.model().textColour(5, 7), TextColour::Red);
        QCOMPARE(f.text(37, 7), QStringLiteral("($200.00)"));
    }

    void undoOfClipboardCommands()
    {
        WindowFixture f;
        f.enter(2, 3, QStringLiteral("40"));
        f.clickCell(2, 3);
        f.press(Qt::Key_X, Qt::ControlModifier);
        f.clickCell(3, 3);
        f.press(Qt::Key_V, Qt::ControlModifier);
        // Deleting an empty cell changes nothing and leaves no step.
        f.clickCell(9, 1);
        f.press(Qt::Key_Delete);
        undo(f);
        QCOMPARE(f.text(3, 3), QString());
        undo(f);
        QCOMPARE(f.text(2, 3), QStringLiteral("$40.00"));
        QCOMPARE(f.text(37, 3), QStringLiteral("$40.00"));
    }

    void historyAndChangedFlag()
    {
        WindowFixture f;
        const QTemporaryDir folder;
        f.enter(7, 1, QStringLiteral("Acme"));
        f.dialogs->savePaths = {folder.filePath(QStringLiteral("a.vrn"))};
        f.model().setCurrentCell(7, 1);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        // The edited cell is current already: undo moves nothing but still changes the document.
        undo(f);
        QCOMPARE(f.text(7, 1), QString());
        QVERIFY(!f.window->document().DocumentSaved());

        // Header fields keep their own undo.
        auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
        name->setFocus();
        f.type(QStringLiteral("Pat"));
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), QString());

        // New starts a history of its own.
        f.enter(4, 3, QStringLiteral("10"));
        f.messages->answers = {MessageBoxes::No};
        f.window->findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
        undo(f);
        QCOMPARE(f.text(4, 3), QString());
        QCOMPARE(f.text(37, 3), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
