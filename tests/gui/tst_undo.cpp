#include "support/windowfixture.h"

#include <QAction>
#include <QPlainTextEdit>
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

    // A header field's change is a step of Edit > Undo once the field is left; Ctrl+Z in
    // the field stays its own.
    void headerFieldsAreUndoSteps()
    {
        WindowFixture f;
        auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
        auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
        name->setFocus();
        f.type(QStringLiteral("Pat"));
        f.press(Qt::Key_Tab);
        f.type(QStringLiteral("1 Elm Road"));
        f.enter(3, 3, QStringLiteral("75"));
        undo(f);
        QCOMPARE(f.text(3, 3), QString());
        undo(f);
        QCOMPARE(address->toPlainText(), QString());
        QCOMPARE(f.window->header().text(HeaderFields::Address), QString());
        undo(f);
        QCOMPARE(name->text(), QString());
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("Pat"));
        QVERIFY(!f.window->document().DocumentSaved());
        // Undo from the menu while the field is still being typed in takes that typing back.
        f.window->findChild<QLineEdit *>(QStringLiteral("txtBuilder"))->setFocus();
        f.type(QStringLiteral("Acme"));
        undo(f);
        QCOMPARE(f.window->header().text(HeaderFields::Builder), QString());
    }

    // A long change is named in the Edit menu cut short, not as wide as the screen.
    void longChangesAreCutShort()
    {
        WindowFixture f;
        f.enter(31, 2, QString(60, u'w'));
        f.enter(31, 3, QStringLiteral("5"));
        const QString caption = f.window->findChild<QAction *>(QStringLiteral("mnuUndo"))->text();
        QVERIFY2(caption.startsWith(QStringLiteral("&Undo Typing in ww")) && caption.endsWith(u'\u2026')
                     && caption.size() <= 46,
                 qPrintable(caption));
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
