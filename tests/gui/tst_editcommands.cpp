#include "support/files.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>

#include <map>

using namespace Qt::StringLiterals;

namespace {
constexpr int Row = 5; // of the amounts
constexpr int Previous = 5;
constexpr int Current = 6;
constexpr int ToComplete = 7;
constexpr int TotalRow = 37;

const QStringList Routes = {"typed",   "pasted into the editor", "pasted onto the cell", "pasted in a block", "opened",
                            "recorded"};

// An estimate file whose row 5 holds text as its current amount, as another program or an
// older version may have written it.
bool writeEstimate(const QString &path, const QString &text)
{
    QByteArray bytes = "2,4,6\r\n\"\",\"\",\"\"\r\n";
    for (int row = 1; row <= 36; ++row)
        bytes += "\"\",\"\",\"\",\"\",\"\",\"" + (row == Row ? text.toLatin1() : QByteArray()) + "\",\"\"\r\n";
    return Files::write(path, bytes);
}

// Puts text into the current amount of row 5 the way the route names.
// An opened estimate is saved back into its own file.
void putByRoute(WindowFixture &f, const QString &route, const QString &text, const QString &path)
{
    QGuiApplication::clipboard()->setText(
        route == u"pasted in a block" ? text + QStringLiteral("\tbeyond the last column\n") : text);
    if (route == u"typed") {
        f.enter(Row, Current, text);
    } else if (route == u"pasted into the editor") {
        f.doubleClickCell(Row, Current);
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Return);
    } else if (route.startsWith(u"pasted")) {
        f.clickCell(Row, Current);
        f.press(Qt::Key_V, Qt::ControlModifier);
    } else {
        QVERIFY(writeEstimate(path, text));
        f.dialogs->openPaths = {path};
        f.press(Qt::Key_O, Qt::ControlModifier);
        if (route == u"recorded")
            f.recordCurrentPayments();
    }
}
}

// The Edit menu's commands by their keys: Cut, Copy, Paste and Delete with the real
// clipboard, on the sheet and in the text boxes, Undo and Redo of every change, and amounts
// read alike whichever way they come.
class TestEditCommands : public QObject
{
    Q_OBJECT

private:
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    static void undo(WindowFixture &f) { f.trigger("mnuUndo"); }

private slots:
    void onTheGrid()
    {
        WindowFixture f;
        f.enter(3, 3, u"950.5"_s);
        f.clickCell(3, 3);
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), u"$950.50"_s);
        f.press(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE((QStringList{f.text(3, 3), f.text(37, 3)}), (QStringList{"", "$0.00"}));

        f.clickCell(4, 5);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE((QStringList{f.text(4, 5), f.text(4, 7)}), (QStringList{"$950.50", "($950.50)"}));
        f.press(Qt::Key_Delete);
        QCOMPARE((QStringList{f.text(4, 5), f.text(37, 5)}), (QStringList{"", "$0.00"}));
        QVERIFY(!f.editor->isVisible());

        // Computed cells are overwritten at once; a text column of the Total row keeps the paste.
        f.enter(7, 3, u"10"_s);
        f.clickCell(7, 7);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(7, 7), u"$10.00"_s);
        clipboard()->setText(u"Grand total"_s);
        f.clickCell(37, 2);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 2), u"Grand total"_s);

        // On the computed column nothing changes, so nothing counts as changed; a paste
        // that changes a cell does, though the current cell stays where it is.
        f.dialogs->savePaths = {f.path(u"saved.vrn"_s)};
        f.clickCell(6, 7);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        f.press(Qt::Key_Delete);
        QVERIFY(f.window->document().DocumentSaved());
        f.clickCell(6, 3);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        clipboard()->setText(u"42"_s);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 3), u"$52.00"_s);
        QVERIFY(!f.window->document().DocumentSaved());
    }

    // A block copied from a spreadsheet fills the cells right and down from the current
    // one, each as if typed, but never the Total row or the computed column. Each expected
    // cell is "row,column=text".
    void pastedBlock_data()
    {
        Rows::columns<QString, int, int, QStringList>("pasted", "row", "column", "cells");
        const auto row = [](const char *name, const char *pasted, int row, int column, const QStringList &cells) {
            QTest::newRow(name) << pasted << row << column << cells;
        };
        row("2 x 2 amounts", "1000\t200\n30\t125.2\n", 4, 3,
            {"4,3=$1,000.00", "4,4=$200.00", "5,3=$30.00", "5,4=$125.20", "6,3=", "4,7=$200.00", "37,3=$1,030.00",
             "37,4=$325.20"});
        row("names and amounts, CRLF", "Acme\tFraming\t1,500\r\nBob\t\t1234,56", 2, 1,
            {"2,1=Acme", "2,2=Framing", "2,3=$1,500.00", "3,1=Bob", "3,2=", "3,3=$1,234.56", "37,3=$2,734.56"});
        row("clipped at the computed column", "5\t6\t7", 9, 5,
            {"9,5=$5.00", "9,6=$6.00", "9,7=($11.00)", "37,7=($11.00)"});
        // Spreadsheets put a cell holding a line break between quotes, a quote in it doubled.
        row("a quoted cell with a line break", "\"Smith\nJones\"\t\"5\"\" pipe\"\t2\r\n", 2, 1,
            {"2,1=Smith\nJones", "2,2=5\" pipe", "2,3=$2.00", "3,1="});
        row("one quoted cell", "\"Smith\nJones\"\n", 4, 1, {"4,1=Smith\nJones", "5,1="});
        row("one cell, its blanks trimmed", " Acme Supply ", 4, 1, {"4,1=Acme Supply"});
        row("a quote inside a field", "5\" pipe\t\"Acme\" Supply\n", 6, 1, {"6,1=5\" pipe", "6,2=\"Acme\" Supply"});
        row("clipped above the Total row", "1\n2\n9", 35, 6, {"35,6=$1.00", "36,6=$2.00", "37,6=$3.00"});
    }

    void pastedBlock()
    {
        auto [pasted, row, column, cells] =
            Rows::fetch<QString, int, int, QStringList>("pasted", "row", "column", "cells");
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

    // A clipboard holding nothing, as on X11 once the program that copied has ended, pastes
    // nothing: the cell or the selection stays as it was.
    void pasteOfNothing_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *control : {"grdMain", "txtCell", "txtName"})
            QTest::newRow(control) << control;
    }

    void pasteOfNothing()
    {
        QFETCH(QString, control);
        WindowFixture f;
        f.enter(4, 3, u"950.5"_s);
        f.window->header().setText(HeaderFields::Name, u"Pat Doe"_s);
        auto *target = f.window->findChild<QLineEdit *>(control);
        if (control == u"txtCell") {
            f.doubleClickCell(4, 3);
            f.editor->selectAll();
        } else if (target) {
            target->setFocus();
            target->selectAll();
        } else {
            f.clickCell(4, 3);
        }
        clipboard()->clear();
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Return);
        QCOMPARE(f.savedRows(f.path(u"kept.vrn"_s)).value(3).value(2), u"$950.50"_s);
        QCOMPARE(f.window->header().text(HeaderFields::Name), u"Pat Doe"_s);
    }

    // With an edit open over the current cell and the grid focused (its row number clicked), a
    // command on the grid works on what the cell shows, the edit, and the whole row follows.
    void gridCommandOverAnOpenEdit_data()
    {
        // clipboard: what it holds after the command
        Rows::columns<QString, QStringList, QString>("command", "row", "clipboard");
        QTest::newRow("Paste") << u"Paste"_s << QStringList{"$5,000.00", "$5,000.00", "", "", "$5,000.00"} << u"5000"_s;
        QTest::newRow("Delete") << u"Delete"_s << QStringList(5, QString()) << u"5000"_s;
        QTest::newRow("Cut") << u"Cut"_s << QStringList(5, QString()) << u"99"_s;
        QTest::newRow("Copy") << u"Copy"_s << QStringList{"$99.00", "$99.00", "", "", "$99.00"} << u"99"_s;
    }

    void gridCommandOverAnOpenEdit()
    {
        auto [command, row, clipboardAfter] = Rows::fetch<QString, QStringList, QString>("command", "row", "clipboard");
        WindowFixture f;
        clipboard()->setText(u"5000"_s);
        f.clickCell(Row, 3);
        f.type(u"99"_s);
        f.clickCell(8, 0);
        QVERIFY(f.grid->hasFocus());
        const std::map<QString, Qt::Key> keys = {
            {"Paste", Qt::Key_V}, {"Delete", Qt::Key_Delete}, {"Cut", Qt::Key_X}, {"Copy", Qt::Key_C}};
        f.press(keys.at(command), command == u"Delete" ? Qt::NoModifier : Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), clipboardAfter);
        QCOMPARE(f.savedRows(f.path(u"row.vrn"_s)).value(Row - 1).mid(2), row);
    }

    // A block of more lines than rows left above the Total row says how many did not fit.
    void blockTooLong_data()
    {
        Rows::columns<int, int, QString>("top", "lines", "message");
        QTest::newRow("40 lines from row 1") << 1 << 40 << u"4 rows of the paste did not fit and were left out"_s;
        QTest::newRow("3 lines from row 35") << 35 << 3 << u"1 row of the paste did not fit and was left out"_s;
        QTest::newRow("2 lines from row 35") << 35 << 2 << QString();
        QTest::newRow("2 lines on the Total row") << 37 << 2 << u"2 rows of the paste did not fit and were left out"_s;
    }

    void blockTooLong()
    {
        auto [top, lines, message] = Rows::fetch<int, int, QString>("top", "lines", "message");
        WindowFixture f;
        QStringList block;
        for (int line = 1; line <= lines; ++line)
            block << QString::number(line);
        clipboard()->setText(block.join(u'\n') + u'\n');
        f.clickCell(top, 3);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.statusNotice(), message);
        QCOMPARE(f.text(36, 3), top == 1 ? u"$36.00"_s : top == 35 ? u"$2.00"_s : QString());
    }

    void inTextBoxes()
    {
        WindowFixture f;
        auto *name = f.child<QLineEdit>("txtName");
        name->setFocus();
        f.type(u"Pat Owner"_s);
        name->setCursorPosition(0);
        // Del with no selection deletes the character after the caret, as in every text box.
        // Copy of no selection empties the clipboard, and pasting that inserts nothing.
        f.press(Qt::Key_Delete);
        QCOMPARE(name->text(), u"at Owner"_s);
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), QString());
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), u"at Owner"_s);
        name->setSelection(0, 3);
        f.press(Qt::Key_X, Qt::ControlModifier);
        name->setCursorPosition(5);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.window->header().text(HeaderFields::Name), u"Ownerat "_s);

        auto *address = f.child<QPlainTextEdit>("txtAddress");
        address->setFocus();
        address->setPlainText(u"1 Elm Road\nSpringfield"_s);
        address->selectAll();
        f.press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard()->text(), u"1 Elm Road\nSpringfield"_s);
        // A paste of many lines keeps the caret in view.
        address->clear();
        clipboard()->setText(u"Lot 7\nBlock C\nPine Ridge Estates\n1200 County Road\nSpringfield\nIL 62701"_s);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QVERIFY(address->viewport()->rect().contains(address->cursorRect()));

        // Into the open editor, unfiltered.
        clipboard()->setText(u"12ab"_s);
        f.clickCell(8, 3);
        f.type(u"5"_s);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.editor->text(), u"512ab"_s);
    }

    void contextMenu_data()
    {
        Rows::columns<QString, QString>("control", "how");
        for (const char *control : {"grdMain", "txtName"}) {
            for (const char *how : {"right click", "Menu key", "Shift+F10"})
                QTest::addRow("%s, %s", control, how) << control << how;
        }
    }

    // The editing commands at hand where the user is, by the mouse or the keyboard; each one
    // works as from the Edit menu.
    void contextMenu()
    {
        auto [control, how] = Rows::fetch<QString, QString>("control", "how");
        WindowFixture f;
        f.enter(3, 3, u"950.5"_s);
        f.enter(3, 4, u"1"_s);
        f.window->header().setText(HeaderFields::Name, u"Pat Doe"_s);
        auto *target = f.window->findChild<QWidget *>(control);
        if (target == f.grid)
            f.clickCell(3, 4);
        else {
            QTest::mouseClick(target, Qt::LeftButton);
            f.press(Qt::Key_Home);
            f.press(Qt::Key_End, Qt::ShiftModifier);
        }
        QWidget *surface = target == f.grid ? f.grid->viewport() : target;
        // The cell under the mouse is the one the menu works on.
        const QPoint at =
            target == f.grid ? surface->mapFrom(f.grid, f.grid->cellRect(3, 3).center()) : surface->rect().center();
        if (how == "right click")
            QTest::mouseClick(f.window->windowHandle(), Qt::RightButton, {}, surface->mapTo(f.window.get(), at));
        else if (how == "Menu key")
            f.press(Qt::Key_Menu);
        else
            f.press(Qt::Key_F10, Qt::ShiftModifier);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList items;
        for (const QAction *item : menu->actions()) {
            if (!item->isSeparator())
                items << item->text();
        }
        QCOMPARE(items, (QStringList{"Cu&t", "&Copy", "&Paste", "&Delete", "Edit Cell", "Advice for This Category"}));
        // From the keyboard, its first item is highlighted for a screen reader to say.
        QCOMPARE(menu->activeAction() ? menu->activeAction()->text() : QString(),
                 how == "right click" ? QString() : u"Cu&t"_s);
        clipboard()->clear();
        QTest::keyClick(menu, Qt::Key_C);
        QTRY_VERIFY(!menu->isVisible());
        const QString cell = how == "right click" ? u"$950.50"_s : u"$1.00"_s;
        QCOMPARE(clipboard()->text(), target == f.grid ? cell : u"Pat Doe"_s);
    }

    // Undo and Redo say what they take back, and are greyed when there is nothing to take;
    // undoing an entry takes back what it set going, the adjusted estimate and the colour.
    void undoRedoOfEdits()
    {
        WindowFixture f;
        auto *undoItem = f.child<QAction>("mnuUndo");
        auto *redoItem = f.child<QAction>("mnuRedo");
        QVERIFY(!undoItem->isEnabled() && !redoItem->isEnabled());
        f.enter(5, 3, u"1000"_s);
        QCOMPARE(undoItem->text(), u"&Undo Typing in Rough Lumber"_s);
        f.enter(5, 5, u"1200"_s);
        QVERIFY(undoItem->isEnabled() && !redoItem->isEnabled());
        f.grid->setFocus();
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.texts(5, 5, 7), (QStringList{"", "", "$1,000.00"}));
        QCOMPARE(f.model().textColour(5, 7), TextColour::Default);
        QCOMPARE(f.model().currentColumn(), 5);
        QCOMPARE(redoItem->text(), u"&Redo Typing in Rough Lumber"_s);
        undo(f);
        QCOMPARE(f.texts(5, 3, 7) << f.text(37, 3), (QStringList{"", "", "", "", "", "$0.00"}));
        QVERIFY(!undoItem->isEnabled() && redoItem->isEnabled());
        QCOMPARE(undoItem->text(), u"&Undo"_s);

        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.text(5, 4), u"$1,000.00"_s);
        f.press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE((QStringList{f.text(5, 7), f.text(37, 7)}), (QStringList{"($200.00)", "($200.00)"}));
        QCOMPARE(f.model().textColour(5, 7), TextColour::Red);
        f.press(Qt::Key_Delete);
        QCOMPARE(undoItem->text(), u"&Undo Delete in Rough Lumber"_s);
    }

    // Each clipboard command is one step, a pasted block too, with the totals.
    void undoOfClipboardCommands()
    {
        WindowFixture f;
        f.enter(2, 3, u"40"_s);
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
        QCOMPARE((QStringList{f.text(2, 3), f.text(37, 3)}), (QStringList{"$40.00", "$40.00"}));

        clipboard()->setText(u"1000\t200\n30\t125\n"_s);
        f.clickCell(2, 3);
        f.press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.text(37, 3), u"$1,030.00"_s);
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.texts(2, 3, 4) + f.texts(3, 3, 4) << f.text(37, 3),
                 (QStringList{"$40.00", "$40.00", "", "", "$40.00"}));
    }

    void historyAndChangedFlag()
    {
        WindowFixture f;
        f.enter(7, 1, u"Acme"_s);
        f.dialogs->savePaths = {f.path(u"a.vrn"_s)};
        f.model().setCurrentCell(7, 1);
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        // The edited cell is current already: undo moves nothing but still changes the document.
        undo(f);
        QCOMPARE(f.text(7, 1), QString());
        QVERIFY(!f.window->document().DocumentSaved());

        // Header fields keep their own undo.
        auto *name = f.child<QLineEdit>("txtName");
        name->setFocus();
        f.type(u"Pat"_s);
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), QString());

        // New starts a history of its own.
        f.enter(4, 3, u"10"_s);
        f.messages->answers = {MessageBoxes::No};
        f.trigger("mnuNew");
        undo(f);
        QCOMPARE((QStringList{f.text(4, 3), f.text(37, 3)}), (QStringList{"", "0"}));
    }

    // A header field's change is a step of Edit > Undo once the field is left; Ctrl+Z in
    // the field stays its own.
    void headerFieldsAreUndoSteps()
    {
        WindowFixture f;
        auto *name = f.child<QLineEdit>("txtName");
        auto *address = f.child<QPlainTextEdit>("txtAddress");
        name->setFocus();
        f.type(u"Pat"_s);
        f.press(Qt::Key_Tab);
        f.type(u"1 Elm Road"_s);
        f.enter(3, 3, u"75"_s);
        undo(f);
        QCOMPARE(f.text(3, 3), QString());
        undo(f);
        QCOMPARE((QStringList{address->toPlainText(), f.window->header().text(HeaderFields::Address)}),
                 (QStringList{"", ""}));
        undo(f);
        QCOMPARE(name->text(), QString());
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(name->text(), u"Pat"_s);
        QVERIFY(!f.window->document().DocumentSaved());
        // Undo from the menu while the field is still being typed in takes that typing back.
        f.child<QLineEdit>("txtBuilder")->setFocus();
        f.type(u"Acme"_s);
        undo(f);
        QCOMPARE(f.window->header().text(HeaderFields::Builder), QString());
    }

    // A long change is named in the Edit menu cut short, not as wide as the screen.
    void longChangesAreCutShort()
    {
        WindowFixture f;
        f.enter(31, 2, QString(60, u'w'));
        f.enter(31, 3, u"5"_s);
        const QString caption = f.child<QAction>("mnuUndo")->text();
        QVERIFY2(caption.startsWith(u"&Undo Typing in ww"_s) && caption.endsWith(u'\u2026') && caption.size() <= 46,
                 qPrintable(caption));
    }

    // Every way an amount reaches the sheet reads it the same: typed, pasted, opened from a
    // file or recorded as paid. A text that is not one amount is a note: it stays as written,
    // counts as nothing and says so.
    void everyRouteReadsAlike_data()
    {
        // amount: as money text; empty for a note
        Rows::columns<QString, QString, QString, QString>("route", "entry", "amount", "remainder");
        const QList<QStringList> forms = {{"1234,56", "$1,234.56", "($1,234.56)"},
                                          {"0,5", "$0.50", "($0.50)"},
                                          {"1.234,56", "$1,234.56", "($1,234.56)"},
                                          {"1 234,56", "$1,234.56", "($1,234.56)"},
                                          {"1,500", "$1,500.00", "($1,500.00)"},
                                          {"12,345,678.90", "$12,345,678.90", "($12,345,678.90)"},
                                          {"1.5", "$1.50", "($1.50)"},
                                          {"(50)", "($50.00)", "$50.00"},
                                          {"-1,234.5", "($1,234.50)", "$1,234.50"},
                                          {"$1,234.50", "$1,234.50", "($1,234.50)"},
                                          {" $(250.00)", "($250.00)", "$250.00"},
                                          {" $ (1,250.00) ", "($1,250.00)", "$1,250.00"},
                                          {"1,500-", "($1,500.00)", "$1,500.00"},
                                          {"TBD", "", ""},
                                          {"call 555-1234", "", ""},
                                          {"abc12", "", ""},
                                          {"100-25", "", ""},
                                          {"300-450", "", ""},
                                          {"6/15", "", ""},
                                          {"5k", "", ""},
                                          {"(-5)", "", ""}};
        for (const QString &route : Routes) {
            for (const QStringList &form : forms) {
                QTest::addRow("%s %s", qPrintable(route), qPrintable(form.at(0)))
                    << route << form.at(0) << form.at(1) << form.at(2);
            }
        }
    }

    void everyRouteReadsAlike()
    {
        auto [route, entry, amount, remainder] =
            Rows::fetch<QString, QString, QString, QString>("route", "entry", "amount", "remainder");
        WindowFixture f;
        const QString path = f.path(QStringLiteral("estimate.vrn"));
        putByRoute(f, route, entry, path);
        const bool note = amount.isEmpty();
        // A credit alone pays nothing: Record Current Payments stays greyed and leaves it.
        const bool recorded = route == u"recorded" && !note && !amount.startsWith(u'(');
        // An opened file keeps its texts as they are, a credit left unrecorded too; what was typed or
        // pasted is written as money.
        const QString shown = note || route == u"opened" || (route == u"recorded" && !recorded) ? entry : amount;
        const int counted = recorded ? Previous : Current;

        QCOMPARE(f.text(TotalRow, counted), note ? QStringLiteral("$0.00") : amount);
        QCOMPARE(f.toolTipOver(Row, Current), note ? QStringLiteral("Not an amount: not counted") : QString());
        const QStringList saved = f.savedRows(path).value(Row - 1);
        QCOMPARE(saved.mid(Previous - 1, 3),
                 (QStringList{recorded ? amount : QString(), recorded ? QString() : shown, remainder}));
    }
};

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
