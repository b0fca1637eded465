#include "core/history/payees.h"
#include "gui/payees/payeesview.h"
#include "support/drawquestionkeys.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {
constexpr int Original = EstimateSheet::OriginalEstimateColumn;
constexpr int Current = EstimateSheet::CurrentPaymentColumn;

// The Payees view in the window, opened from the View menu as the user opens it.
struct PayeesFixture
{
    PayeesFixture()
    {
        for (QAction *item : f.child<QMenu>("mnuViewTop")->actions()) {
            if (item->text() == u"&Payees")
                item->trigger();
        }
        view = f.window->findChild<PayeesView *>();
    }

    QPushButton *button(const char *name) const { return view->findChild<QPushButton *>(QLatin1String(name)); }
    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    QTableWidget *table(const char *name) const { return view->findChild<QTableWidget *>(QLatin1String(name)); }
    QTableWidget *payees() const { return table("tblPayees"); }
    QTableWidget *waivers() const { return table("tblLienWaivers"); }
    QRect cell(QTableWidget *table, int index) const { return table->visualItemRect(table->item(index, 1)); }
    void select(QTableWidget *table, int index) const
    {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell(table, index).center());
    }
    QStringList texts(QTableWidget *table, int index) const
    {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column)
            texts << table->item(index, column)->text();
        return texts;
    }
    QStringList names() const
    {
        QStringList names;
        for (int index = 0; index < payees()->rowCount(); ++index)
            names << payees()->item(index, 1)->text();
        return names;
    }
    // Undo and Redo as the user gives them, to the window.
    void press(Qt::Key key) const
    {
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.clickCell(3, 2);
        f.press(key, Qt::ControlModifier);
    }
    // A draw that pays this row, recorded with Edit > Record Current Payments.
    void recordDraw(int row) const
    {
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.enter(row, Original, u"10000"_s);
        f.enter(row, Current, u"1200"_s);
        f.recordCurrentPayments();
        QCOMPARE(f.document->history().draws.size(), 1);
    }

    WindowFixture f;
    PayeesView *view = nullptr;
};

// Keys typed into the modal dialog that comes up next, where its focus is by then: each a key
// sequence (Tab, Alt+R to the rows), then a text; Return at the end.
using Keys = QList<std::pair<QKeySequence, QString>>;
void answerDialog(const Keys &keys, int triesLeft = 100)
{
    QTimer::singleShot(triesLeft == 100 ? 0 : 10, [=] {
        QWidget *dialog = QApplication::activeModalWidget();
        // A double-click may let the events run before the dialog it opens is up.
        if (!dialog && triesLeft > 0)
            return answerDialog(keys, triesLeft - 1);
        QVERIFY(dialog);
        // Shown over an active window, the dialog takes the keys, its mnemonics too, a moment later.
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        for (const auto &[sequence, text] : keys) {
            if (!sequence.isEmpty())
                QTest::keySequence(dialog->focusWidget(), sequence);
            QTest::keyClicks(dialog->focusWidget(), text);
        }
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
}

// The payee dialog answered from its name on: the name, the trade, no address, the contact,
// no licence, the W-9 received today, no insurance, and rows 8 and 9 checked in the list of rows.
void answerNewPayee(const QString &name, const QString &trade, const QString &contact)
{
    const QKeySequence tab(Qt::Key_Tab);
    const QKeySequence down(Qt::Key_Down);
    const QKeySequence space(Qt::Key_Space);
    Keys keys{{{}, name}, {tab, trade}, {tab, {}},   {tab, contact},
              {tab, {}},  {tab, {}},    {space, {}}, {QKeySequence(u"Alt+R"_s), {}}};
    for (int row = 1; row < 8; ++row)
        keys.append({down, {}});
    keys.append({space, {}});
    keys.append({down, {}});
    keys.append({space, {}});
    answerDialog(keys);
}
}

class TestPayeesView : public QObject
{
    Q_OBJECT

private slots:
    // A payee typed into the dialog is listed with the rows checked; an edit by double-click
    // changes it; Undo takes the edit and then the payee back, and Redo puts both again.
    void addEditUndoRedo()
    {
        PayeesFixture p;
        QVERIFY(p.view);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        answerNewPayee(u"Bay Roofing"_s, u"Roofing"_s, u"555-0100"_s);
        p.click("cmdAddPayee");
        QCOMPARE(p.payees()->rowCount(), 1);
        const QStringList added{u"1"_s, u"Bay Roofing"_s, u"Roofing"_s, u"8, 9"_s, u"555-0100"_s,
                                today,  u"None on file"_s};
        QCOMPARE(p.texts(p.payees(), 0), added);
        QCOMPARE(p.f.child<QAction>("mnuUndo")->text(), u"&Undo Add Payee"_s);

        answerDialog({{QKeySequence(Qt::Key_End), u" and Gutters"_s}});
        p.f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.f.window.get()));
        // A double-click: the first press and release, then the second press.
        p.select(p.payees(), 0);
        QTest::mouseDClick(p.payees()->viewport(), Qt::LeftButton, {}, p.cell(p.payees(), 0).center());
        QCOMPARE(p.names(), QStringList{u"Bay Roofing and Gutters"_s});
        QCOMPARE(p.f.child<QAction>("mnuUndo")->text(), u"&Undo Payee 1"_s);

        p.press(Qt::Key_Z);
        QCOMPARE(p.texts(p.payees(), 0), added);
        p.press(Qt::Key_Z);
        QCOMPARE(p.payees()->rowCount(), 0);
        p.press(Qt::Key_Y);
        p.press(Qt::Key_Y);
        QCOMPARE(p.names(), QStringList{u"Bay Roofing and Gutters"_s});
        QVERIFY(p.f.messages->shown.isEmpty());
    }

    // A payee without a name keeps the dialog open and says why; nothing is added.
    void nameRequired()
    {
        PayeesFixture p;
        QString problem;
        QTimer::singleShot(0, [&problem] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            const auto *label = dialog->findChild<QLabel *>(u"lblPayeeProblem"_s);
            problem = label->isVisible() ? label->text() : QString();
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
        });
        p.click("cmdAddPayee");
        QCOMPARE(problem, u"Give the payee a name."_s);
        QCOMPARE(p.payees()->rowCount(), 0);
    }

    void deletePayee_data()
    {
        Rows::columns<bool, bool, int, QStringList, QString>("drawn", "waiver", "answer", "left", "warning");
        QTest::newRow("answered No") << false << false << int(MessageBoxes::No) << QStringList{u"Bay Roofing"_s}
                                     << QString();
        QTest::newRow("answered Yes") << false << false << int(MessageBoxes::Yes) << QStringList() << QString();
        QTest::newRow("paid in a draw")
            << true << false << int(MessageBoxes::Yes) << QStringList{u"Bay Roofing"_s}
            << u"Payee 1 is paid in draw 1: it stays, so that the draw's papers still name it."_s;
        QTest::newRow("with a lien waiver") << false << true << int(MessageBoxes::Yes) << QStringList{u"Bay Roofing"_s}
                                            << u"Payee 1 has a lien waiver for draw 1: remove the waiver first."_s;
    }

    // Delete asks first, No by default; a payee a draw paid or a waiver names stays, and the
    // window says why.
    void deletePayee()
    {
        auto [drawn, waiver, answer, left, warning] =
            Rows::fetch<bool, bool, int, QStringList, QString>("drawn", "waiver", "answer", "left", "warning");
        PayeesFixture p;
        answerNewPayee(u"Bay Roofing"_s, u"Roofing"_s, {});
        p.click("cmdAddPayee");
        if (drawn) {
            p.recordDraw(9);
        } else if (waiver) {
            // The draw pays row 1 alone, and the roofer nothing.
            p.recordDraw(1);
            p.select(p.payees(), 0);
            answerDialog({{{}, u"0"_s}});
            p.click("cmdAddWaiver");
            QCOMPARE(p.waivers()->rowCount(), 1);
        }
        p.select(p.payees(), 0);
        p.f.messages->answers = {MessageBoxes::Answer(answer)};
        p.click("cmdDeletePayee");
        QCOMPARE(p.f.messages->shown.value(0).kind, u"yes/no question, no by default"_s);
        QCOMPARE(p.f.messages->shown.value(0).text, u"Delete payee 1, \"Bay Roofing\"?"_s);
        QCOMPARE(p.names(), left);
        QCOMPARE(p.f.messages->shown.value(1).text, warning);
        if (left.isEmpty()) {
            // The number of the payee deleted is not given again.
            QCOMPARE(p.f.document->history().deletedPayeeNumber, 1);
            answerNewPayee(u"Cole Electric"_s, {}, {});
            p.click("cmdAddPayee");
            QCOMPARE(p.payees()->item(0, 0)->text(), u"2"_s);
        }
    }

    // A waiver for the draw is requested, then marked received with its signed paper chosen
    // in the dialog; Undo takes the mark and the paper back.
    void waiverReceived()
    {
        PayeesFixture p;
        answerNewPayee(u"Bay Roofing"_s, u"Roofing"_s, {});
        p.click("cmdAddPayee");
        p.recordDraw(9);
        const QString drawDate = p.f.document->history().draws.first().date.toString(Qt::ISODate);
        p.select(p.payees(), 0);
        answerDialog({{{}, u"1200"_s}});
        p.click("cmdAddWaiver");
        QCOMPARE(p.waivers()->rowCount(), 1);
        const QStringList requested{u"1"_s,   u"Conditional progress"_s, u"$1,200.00"_s, drawDate, u"Requested"_s,
                                    u"None"_s};
        QCOMPARE(p.texts(p.waivers(), 0), requested);
        QVERIFY(!p.button("cmdMarkWaiverReceived")->isEnabled());
        EstimateHistory withPaper = p.f.document->history();
        Paper signedWaiver;
        signedWaiver.number = 1;
        signedWaiver.kind = Paper::Kind::LienWaiver;
        signedWaiver.title = u"Bay Roofing, signed"_s;
        withPaper.papers = {signedWaiver};
        p.f.document->setHistory(withPaper);
        p.select(p.waivers(), 0);
        answerDialog({{QKeySequence(Qt::Key_Down), {}}});
        p.click("cmdMarkWaiverReceived");
        QCOMPARE(p.texts(p.waivers(), 0).mid(4), (QStringList{u"Received"_s, u"1"_s}));
        QCOMPARE(p.f.document->history().waivers.value(0).status, LienWaiver::Status::Received);
        p.press(Qt::Key_Z);
        QCOMPARE(p.texts(p.waivers(), 0), requested);
        QVERIFY(p.f.messages->shown.isEmpty());
    }

    // A second waiver of a kind for the draw is refused with the reason, and the dialog comes
    // back with the amount typed.
    void refusedWaiverKeepsWhatWasTyped()
    {
        PayeesFixture p;
        answerNewPayee(u"Bay Roofing"_s, u"Roofing"_s, {});
        p.click("cmdAddPayee");
        p.recordDraw(9);
        p.select(p.payees(), 0);
        answerDialog({{{}, u"1200"_s}});
        p.click("cmdAddWaiver");
        QString shownAgain;
        QTimer::singleShot(0, [&shownAgain] {
            QWidget *first = QApplication::activeModalWidget();
            QVERIFY(first);
            QTest::keyClicks(first->focusWidget(), u"500"_s);
            QTest::keyClick(first->focusWidget(), Qt::Key_Return);
            QTimer::singleShot(0, [&shownAgain] {
                QWidget *again = QApplication::activeModalWidget();
                QVERIFY(again);
                shownAgain = again->findChild<QLineEdit *>()->text();
                QTest::keyClick(again->focusWidget(), Qt::Key_Escape);
            });
        });
        p.click("cmdAddWaiver");
        QCOMPARE(p.f.messages->shown.value(0).text, u"Payee 1 already has a conditional progress waiver for draw 1."_s);
        QCOMPARE(shownAgain, u"500"_s);
        QCOMPARE(p.waivers()->rowCount(), 1);
    }

    // Every list and button says what it is to a screen reader.
    void accessibleNames()
    {
        PayeesFixture p;
        for (const QWidget *control : p.view->findChildren<QWidget *>()) {
            if (qobject_cast<const QTableWidget *>(control) || qobject_cast<const QPushButton *>(control))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }
};

QTEST_MAIN(TestPayeesView)
#include "tst_payees_view.moc"
