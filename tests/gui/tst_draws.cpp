#include "core/document/estimatefile.h"
#include "core/history/drawrequest.h"
#include "core/history/estimatehistory.h"
#include "core/sheet/money.h"
#include "gui/draws/drawcommands.h"
#include "gui/draws/drawcorrectiondialog.h"
#include "gui/draws/drawrequestoutput.h"
#include "gui/draws/drawsview.h"
#include "gui/draws/fundingdialog.h"
#include "gui/draws/loandialog.h"
#include "gui/editing/edithistory.h"
#include "support/documentfixture.h"
#include "support/drawquestionkeys.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/programs.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QDateEdit>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
constexpr int Original = EstimateSheet::OriginalEstimateColumn;
constexpr int Previous = EstimateSheet::PreviousPaymentColumn;
constexpr int Current = EstimateSheet::CurrentPaymentColumn;
constexpr int Adjusted = EstimateSheet::AdjustedEstimateColumn;
constexpr int ToComplete = EstimateSheet::CostToCompleteColumn;
constexpr int TotalRow = EstimateSheet::TotalRow;

QAction *recordAction(const WindowFixture &f)
{
    return f.child<QAction>("mnuRecordPayments");
}

// Rows 5 and 9 and the Total: previous payment, current amount, cost to complete.
QStringList payments(const WindowFixture &f)
{
    return f.texts(5, Previous, ToComplete) + f.texts(9, Previous, ToComplete)
        + f.texts(TotalRow, Previous, ToComplete);
}

// The draws' commands and view on a document, as the main window holds them.
struct DrawsFixture : DocumentFixture
{
    EditHistory edits{sheet};
    QWidget owner;
    PdfPrinterDialog printer;
    DrawCommands commands{document, edits.stack(), messages, &owner};
    DrawRequestOutput output{document, dialogs, messages, printer, &owner};
    DrawsView view{document, commands, output};

    // Records the current payments, the question answered with these keys: its texts.
    QStringList record(const DrawQuestionKeys::Keys &keys)
    {
        QStringList shown;
        DrawQuestionKeys::answerNext(keys, &shown);
        commands.recordCurrentPayments();
        return shown;
    }

    QByteArray saved(const QString &name)
    {
        dialogs.savePaths = {path(name)};
        document.saveAs();
        return Files::read(path(name));
    }

    QStringList listed(const char *name) const
    {
        QStringList lines;
        const auto *tree = view.findChild<QTreeWidget *>(QLatin1String(name));
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QStringList texts;
            for (int column = 0; column < tree->columnCount(); ++column)
                texts << tree->topLevelItem(i)->text(column);
            lines << texts.join(u'|');
        }
        return lines;
    }
};

DrawQuestionKeys::Keys decemberFirst()
{
    return DrawQuestionKeys::dated(u"20261201"_s)
        << std::pair(QKeySequence(u"Alt+O"_s), u"framing inspection passed"_s);
}
// The most draws of every row whose file an estimate file can hold.
int largestHistoryThatFits()
{
    int fits = 1;
    int tooMany = 4096;
    while (tooMany - fits > 1) {
        const int draws = (fits + tooMany) / 2;
        if (EstimateFile::encode(Histories::estimateWithDraws(draws)).size() <= EstimateFile::MaximumSize)
            fits = draws;
        else
            tooMany = draws;
    }
    return fits;
}

// An estimate of every row drawn on nearly as often as its file holds, each row with a current
// amount to record, and the last draw's note long enough to leave the file, as the program
// writes it once it has worked out the sheet, this many bytes short of the limit.
EstimateContent estimateShortOfTheLimit(qint64 slack)
{
    EstimateContent content = Histories::estimateWithDraws(largestHistoryThatFits() - 3);
    for (auto &cells : content.cells)
        cells[Current - 1] = u"$10.00"_s;
    DocumentFixture opened;
    const QString path = opened.path(u"long.vrn"_s);
    EstimateFile::save(path, content);
    opened.document.openFile(path);
    content = opened.document.content();
    const qint64 size = EstimateFile::encode(content).size();
    content.history.draws.last().note += QString(EstimateFile::MaximumSize - slack - size, u'x');
    return content;
}

// Answers the next question of Record Current Payments, if one is asked, with a date after the
// history's last and Return; asked learns whether it was.
void answerIfAsked(bool *asked)
{
    QTimer::singleShot(0, [asked] {
        auto *question = qobject_cast<DrawQuestion *>(QApplication::activeModalWidget());
        *asked = question != nullptr;
        if (!question)
            return;
        QTRY_COMPARE(QApplication::activeWindow(), question);
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(u"Alt+D"_s));
        QTest::keyClicks(QApplication::focusWidget(), u"20991201"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
}
}

// Fills the next dialog of the given kind as a user would: each field named by its accessible
// name takes its text, typed over what it held, and Return closes the dialog.
template <typename Dialog> void fillNext(const QList<std::pair<QString, QString>> &fields)
{
    QTimer::singleShot(0, [fields] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QWidget *typedInto = dialog;
        for (const auto &[name, text] : fields) {
            auto *edit = dialog->template findChild<QLineEdit *>(name);
            QVERIFY2(edit, qPrintable(name));
            edit->selectAll();
            QTest::keyClicks(edit, text);
            typedInto = edit;
        }
        QTest::keyClick(typedInto, Qt::Key_Return);
    });
}

// Draws: the current payments recorded, through Edit > Record Current Payments in the window
// and through the draws' view, their requests put out again, and Undo of them.
class TestDraws : public QObject
{
    Q_OBJECT

private slots:
    // A draw dated before the one it follows is refused.
    void drawsFollowOneAnother()
    {
        DrawsFixture f;
        f.enter(5, Current, u"300"_s);
        f.record(decemberFirst());
        f.enter(5, Current, u"200"_s);
        // Return does not record it; Escape then leaves the question.
        f.record(DrawQuestionKeys::dated(u"20261101"_s) << std::pair(QKeySequence(Qt::Key_Return), QString())
                                                        << std::pair(QKeySequence(Qt::Key_Escape), QString()));
        QCOMPARE(f.document.history().draws.size(), 1);
    }

    // The question states the sum, the draw and the rows left out; Return records the draw
    // with its date and note, and one Undo takes back the rows and the draw together, so
    // that recording it again saves the very same file.
    void recordUndoRecord()
    {
        DrawsFixture f;
        f.enter(5, Original, u"1000"_s);
        f.enter(5, Previous, u"200"_s);
        f.enter(5, Current, u"300"_s);
        f.enter(9, Current, u"20.5"_s);
        // Notes, as a file may hold them.
        f.grid().setText(7, Current, u"TBD"_s);
        f.grid().setText(11, Previous, u"see invoice"_s);
        f.enter(11, Current, u"5"_s);
        const QByteArray before = f.saved(u"before.vrn"_s);
        QCOMPARE(f.record({{QKeySequence(), QString()}, {QKeySequence(Qt::Key_Escape), QString()}}).size(), 3);
        QCOMPARE(f.saved(u"declined.vrn"_s), before);
        QCOMPARE(f.edits.stack().count(), 0);

        QCOMPARE(f.record(decemberFirst()),
                 (QStringList{"Add the current amounts, $320.50 in all, to the previous payments?",
                              "They are recorded as Draw 1.",
                              "row 7 is left out: its current amount is not an amount\n"
                              "row 11 is left out: its previous payment is not an amount"}));
        const Draw draw = f.document.history().draws.value(0);
        QCOMPARE(draw.date, QDate(2026, 12, 1));
        QCOMPARE(draw.note, u"framing inspection passed"_s);
        // Each line keeps what its row said of itself, for the request printed again later.
        QCOMPARE(draw.lines,
                 (QList<DrawLine>{{5, 100000, 100000, 20000, 30000, RowTexts{u"Rough Lumber"_s, {}}, {}, {}},
                                  {9, 0, 0, 0, 2050, RowTexts{u"Concrete Flatwork"_s, {}}, {}, {}}}));
        QCOMPARE(f.grid().text(5, Previous), u"$500.00"_s);
        const QByteArray recorded = f.saved(u"recorded.vrn"_s);

        QCOMPARE(f.edits.stack().count(), 1);
        f.edits.stack().undo();
        QCOMPARE(f.saved(u"undone.vrn"_s), before);
        f.edits.stack().redo();
        QCOMPARE(f.saved(u"redone.vrn"_s), recorded);
        f.edits.stack().undo();
        f.record(decemberFirst());
        QCOMPARE(f.saved(u"again.vrn"_s), recorded);
    }

    // The draws in order, the rows of the one selected, the rows whose previous payments
    // The draws in order, the rows of the one selected, which its buttons put out again after
    // the checks (the user may decline), the rows whose previous payments were edited by hand
    // since, and the retainage rate typed in as one step of Undo.
    void view()
    {
        DrawsFixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.enter(5, Original, u"1000"_s);
        f.enter(5, Current, u"1300"_s);
        f.record(decemberFirst());
        f.enter(9, Current, u"20.5"_s);
        f.record(DrawQuestionKeys::dated(u"20270104"_s));
        // The next draw is what recording the current amounts would pay, as they are typed.
        f.enter(5, Current, u"40"_s);
        // The next request goes out today, or on the last draw's date when that is later.
        const QString next = std::max(QDate::currentDate(), QDate(2027, 1, 4)).toString(Qt::ISODate);
        QTRY_COMPARE(f.listed("Draws"),
                     (QStringList{u"Next|%1|$40.00|the next request, from the current amounts|"_s.arg(next),
                                  "1|2026-12-01|$1,300.00|framing inspection passed|requested",
                                  "2|2027-01-04|$20.50||requested"}));
        QTRY_COMPARE(
            f.listed("Rows of the draw"),
            (QStringList{"5|Rough Lumber|$1,000.00|$1,300.00|$40.00", "9|Concrete Flatwork|$0.00|$20.50|$0.00"}));
        auto *draws = f.view.findChild<QTreeWidget *>(u"Draws"_s);
        QTest::mouseClick(draws->viewport(), Qt::LeftButton, {},
                          draws->visualItemRect(draws->topLevelItem(1)).center());
        QCOMPARE(f.listed("Rows of the draw"), QStringList{"5|Rough Lumber|$1,000.00|$0.00|$1,300.00"});

        f.messages.answers = {MessageBoxes::No, MessageBoxes::Yes, MessageBoxes::Yes};
        f.dialogs.exportPaths = {f.path(u"draw.csv"_s)};
        auto *exportButton = f.view.findChild<QPushButton *>(u"export"_s);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QCOMPARE(f.message(),
                 (QStringList{"yes/no question",
                              "Before it goes out, look at this in Draw Request 1:\n\n\u2022 5 Rough "
                              "Lumber: work completed to date, $1,300.00, is more than the "
                              "scheduled value, $1,000.00.\n\nExport it anyway?",
                              "Draw Request"}));
        QVERIFY(f.dialogs.exportTitles.isEmpty());
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QCOMPARE(f.dialogs.exportTitles, QStringList{"Export Draw Request"});
        QVERIFY(Files::read(f.path(u"draw.csv"_s)).contains("\r\n5,Rough Lumber,\"$1,000.00\",$0.00,\"$1,300.00\","));
        f.printer.pdfPath = f.path(u"draw.pdf"_s);
        QTest::mouseClick(f.view.findChild<QPushButton *>(u"print"_s), Qt::LeftButton);
        const QString printed = Programs::pdfText(f.path(u"draw.pdf"_s));
        QVERIFY2(printed.contains(u"Application No.: 1"_s) && printed.contains(u"Page 2 of 2"_s), qPrintable(printed));

        auto *differences = f.view.findChild<QLabel *>(u"differences"_s);
        QVERIFY(differences->isHidden());
        f.enter(9, Previous, u"25"_s);
        QTRY_COMPARE(differences->text(),
                     u"The \"Total of Previous Payment\" is not what the recorded draws paid in:\n"
                     "9 Concrete Flatwork: $25.00 shown, $20.50 recorded"_s);
        QVERIFY(!differences->isHidden());

        auto *retainage = f.view.findChild<QDoubleSpinBox *>(u"retainage"_s);
        retainage->setFocus();
        QTest::keyClick(retainage, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(retainage, u"10"_s);
        QTest::keyClick(retainage, Qt::Key_Return);
        QCOMPARE(f.document.history().retainageBasisPoints, 1000);
        QCOMPARE(f.edits.stack().undoText(), u"Retainage"_s);
        f.edits.stack().undo();
        QTRY_COMPARE(retainage->value(), 0.0);

        // A credit is heard with its sign, as in the sheet, not as a figure in brackets.
        f.enter(9, Current, u"-15"_s);
        QTest::mouseClick(draws->viewport(), Qt::LeftButton, {},
                          draws->visualItemRect(draws->topLevelItem(0)).center());
        QAccessibleInterface *rows =
            QAccessible::queryAccessibleInterface(f.view.findChild<QTreeWidget *>(u"Rows of the draw"_s));
        const auto heard = [rows] {
            QStringList names;
            for (int child = 0; child < rows->childCount(); ++child)
                names << rows->child(child)->text(QAccessible::Name);
            return names;
        };
        QTRY_VERIFY2(heard().contains(u"minus $15.00"_s), qPrintable(heard().join(u'|')));
        QVERIFY(!heard().contains(u"($15.00)"_s));
    }

    // A draw goes to the lender, is funded short and returned, each step one undo step; the
    // view says where the loan stands, out of balance where the loan cannot finish the house,
    // and the file keeps all of it.
    void fundingThroughTheView()
    {
        DrawsFixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.enter(5, Original, u"10000"_s);
        f.enter(5, Current, u"1300"_s);
        f.record(decemberFirst());
        auto *draws = f.view.findChild<QTreeWidget *>(u"Draws"_s);
        QTRY_COMPARE(draws->topLevelItemCount(), 2);
        const auto button = [&f](const char *name) { return f.view.findChild<QPushButton *>(QLatin1String(name)); };
        QVERIFY(!button("funded")->isEnabled());
        draws->setCurrentItem(draws->topLevelItem(1));
        QVERIFY(button("funded")->isEnabled());
        QVERIFY(!button("requestedAgain")->isEnabled());

        fillNext<LoanDialog>({{u"Loan amount"_s, u"9000"_s}, {u"Lender"_s, u"First Federal"_s}});
        QTest::mouseClick(button("loan"), Qt::LeftButton);
        QCOMPARE(f.document.history().loan->amount, Cents(900000));
        auto *loan = f.view.findChild<QLabel *>(u"loanFigures"_s);
        // $8,700 left to pay of the $10,000 row against $9,000 undisbursed: in balance.
        QTRY_VERIFY2(!loan->text().contains(u"Out of balance"_s), qPrintable(loan->text()));

        fillNext<FundingDialog>({{u"Amount funded"_s, u"1000"_s}});
        QTest::mouseClick(button("funded"), Qt::LeftButton);
        QVERIFY(f.document.history().draws.first().funding);
        const DrawFunding funded = *f.document.history().draws.first().funding;
        QCOMPARE(funded.state, DrawFunding::State::Funded);
        QCOMPARE(funded.fundedAmount, Cents(100000));
        QCOMPARE(f.edits.stack().undoText(), u"Draw 1 State"_s);
        QTRY_VERIFY(f.listed("Draws").at(1).endsWith(u"|funded "_s + QDate::currentDate().toString(Qt::ISODate)
                                                     + u", $1,000.00"_s));
        // The $300 not funded is asked again: $9,000 to pay against $8,000 undisbursed.
        QTRY_VERIFY2(loan->text().contains(u"Requested and not funded yet: $300.00."_s), qPrintable(loan->text()));
        QVERIFY2(loan->text().contains(u"Out of balance by $1,000.00: a deposit of $1,000.00 is needed to finish."_s),
                 qPrintable(loan->text()));
        const DrawRequest next = DrawRequest::next(f.grid(), f.header, f.document.history(), QDate(2027, 1, 4));
        QCOMPARE(next.currentPaymentDue(), Cents(30000));
        QVERIFY(next.notes().contains(u"Not paid by the lender on draw 1 and asked again here: $300.00"_s));
        QVERIFY(!button("funded")->isEnabled());

        f.edits.stack().undo();
        QTRY_VERIFY(f.listed("Draws").at(1).endsWith(u"|requested"_s));
        fillNext<FundingDialog>({{u"reason"_s, u"no lien waiver"_s}});
        QTest::mouseClick(button("returned"), Qt::LeftButton);
        QTRY_VERIFY(f.listed("Draws").at(1).endsWith(u": no lien waiver"_s));
        QVERIFY(button("requestedAgain")->isEnabled());
        f.saved(u"funded.vrn"_s);
        const EstimateHistory read = EstimateFile::load(f.path(u"funded.vrn"_s))->history;
        QCOMPARE(read, f.document.history());
        QCOMPARE(read.draws.first().funding->returnReason, u"no lien waiver"_s);
        QCOMPARE(read.loan->lender, u"First Federal"_s);
    }

    // The next request's date set in the view is the one Record Current Payments proposes; a
    // recorded draw's date and note are put right, within the draws around it, as one undo
    // step that leaves its amounts, and the file keeps them.
    void datesSetAndCorrected()
    {
        DrawsFixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.enter(5, Original, u"10000"_s);
        f.enter(5, Current, u"1000"_s);
        f.record(decemberFirst());
        f.enter(5, Current, u"500"_s);
        f.record(DrawQuestionKeys::dated(u"20270101"_s));
        f.enter(5, Current, u"200"_s);
        auto *nextDate = f.view.findChild<QDateEdit *>(u"nextDate"_s);
        QTRY_COMPARE(nextDate->minimumDate(), QDate(2027, 1, 1));
        nextDate->setFocus();
        nextDate->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(nextDate, u"20270215"_s);
        QCOMPARE(f.commands.nextRequestDate(), QDate(2027, 2, 15));
        QVERIFY(f.listed("Draws").first().startsWith(u"Next|2027-02-15|"_s));
        f.record({});
        QCOMPARE(f.document.history().draws.last().date, QDate(2027, 2, 15));

        const QList<DrawLine> amounts = f.document.history().draws.at(1).lines;
        auto *draws = f.view.findChild<QTreeWidget *>(u"Draws"_s);
        QTRY_COMPARE(draws->topLevelItemCount(), 4);
        draws->setCurrentItem(draws->topLevelItem(2));
        const auto correct = [&f](const QString &typed) {
            QTimer::singleShot(0, [typed] {
                auto *dialog = qobject_cast<DrawCorrectionDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QTRY_COMPARE(QApplication::activeWindow(), dialog);
                QTest::keyClicks(QApplication::focusWidget(), typed);
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(u"Alt+O"_s));
                QTest::keyClicks(QApplication::focusWidget(), u" roof on"_s);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
            QTest::mouseClick(f.view.findChild<QPushButton *>(u"correct"_s), Qt::LeftButton);
            return f.document.history().draws.at(1).date;
        };
        // A date past the next draw's is not taken: the date stays within the draws around it.
        const QDate first = correct(u"20270301"_s);
        QVERIFY2(first >= QDate(2026, 12, 1) && first <= QDate(2027, 2, 15), qPrintable(first.toString()));
        QCOMPARE(correct(u"20270105"_s), QDate(2027, 1, 5));
        QCOMPARE(f.document.history().draws.at(1).note, u"roof on"_s);
        QCOMPARE(f.document.history().draws.at(1).lines, amounts);
        QCOMPARE(f.edits.stack().undoText(), u"Draw 2 Date and Note"_s);
        QCOMPARE(DrawRequest::recorded(f.grid(), f.header, f.document.history(), 3)->periodFrom, QDate(2027, 1, 6));
        f.saved(u"corrected.vrn"_s);
        QCOMPARE(EstimateFile::load(f.path(u"corrected.vrn"_s))->history, f.document.history());
        f.edits.stack().undo();
        QCOMPARE(f.document.history().draws.at(1).date, first);
    }

    // Greyed while no row has a current amount above zero, a draw of $0.00 being a request for
    // nothing; with one it asks first, and No leaves all as it was.
    void enabledOnlyWithCurrentAmounts()
    {
        WindowFixture f;
        QVERIFY(recordAction(f) && !recordAction(f)->isEnabled());
        recordAction(f)->trigger();
        QVERIFY(!QApplication::activeModalWidget());

        f.enter(5, 3, QStringLiteral("1000"));
        f.enter(5, Previous, QStringLiteral("200"));
        QVERIFY(!recordAction(f)->isEnabled());
        for (const QString &nothing : {u"0"_s, u"0.004"_s, u"-50"_s}) {
            f.enter(5, Current, nothing);
            QVERIFY2(!recordAction(f)->isEnabled(), qPrintable(nothing));
        }
        f.enter(9, Current, QStringLiteral("0.01"));
        QVERIFY(recordAction(f)->isEnabled());
        f.enter(9, Current, QStringLiteral("0"));
        QVERIFY(!recordAction(f)->isEnabled());
        f.enter(5, Current, QStringLiteral("300"));
        f.enter(9, Current, QStringLiteral("20.5"));
        QVERIFY(recordAction(f)->isEnabled());

        f.recordCurrentPayments(false);
        QCOMPARE(f.texts(5, Previous, Current), (QStringList{"$200.00", "$300.00"}));
    }

    // Yes records every row at once, changes the document, and one Undo takes all of it back.
    void recordAndUndo()
    {
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1000"));
        f.enter(5, Previous, QStringLiteral("200"));
        f.enter(5, Current, QStringLiteral("300"));
        f.enter(9, Current, QStringLiteral("20.5"));
        f.dialogs->savePaths = {f.path(QStringLiteral("draw.vrn"))};
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);

        f.recordCurrentPayments();
        const QStringList recorded{"$500.00", "", "$500.00", "$20.50", "", "($20.50)", "$520.50", "$0.00", "$479.50"};
        QCOMPARE(payments(f), recorded);
        QCOMPARE(f.model().textColour(9, ToComplete), TextColour::Red);
        QVERIFY(!f.window->document().DocumentSaved());
        QVERIFY(!recordAction(f)->isEnabled());

        f.grid->setFocus();
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(
            payments(f),
            (QStringList{"$200.00", "$300.00", "$500.00", "", "$20.50", "($20.50)", "$200.00", "$320.50", "$479.50"}));
        QVERIFY(recordAction(f)->isEnabled());
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(payments(f), recorded);
    }

    // The retainage is released by a draw of its own: greyed while none is held, it pays out
    // what the lender held back, holds none after it, and one Undo takes it back.
    void releaseRetainage()
    {
        WindowFixture f;
        Document &document = f.window->document();
        QAction *release = f.child<QAction>("mnuReleaseRetainage");
        QVERIFY(!release->isEnabled());
        EstimateHistory tenPercent = document.history();
        tenPercent.retainageBasisPoints = 1000;
        document.setHistory(tenPercent);
        f.enter(5, Original, u"10000"_s);
        f.enter(5, Current, u"4000"_s);
        f.enter(9, Original, u"2000"_s);
        f.enter(9, Current, u"1234.55"_s);
        f.recordCurrentPayments();
        QCOMPARE(document.history().draws.size(), 1);
        QVERIFY(release->isEnabled());

        QStringList shown;
        f.answerDrawQuestion("mnuReleaseRetainage", {}, &shown);
        // $400.00 and $123.455, to the cent.
        QCOMPARE(shown,
                 (QStringList{u"Release the retainage the lender holds, $523.46, and hold none on the draws "
                              "to come?"_s,
                              u"They are recorded as Draw 2."_s, QString()}));
        const EstimateHistory &history = document.history();
        QCOMPARE(history.draws.size(), 2);
        QCOMPARE(history.retainageBasisPoints, 0);
        const auto requestOf = [&](int number) {
            return *DrawRequest::recorded(document.sheet().grid(), document.header(), history, number);
        };
        QCOMPARE(requestOf(2).currentPaymentDue(), Cents(52346));
        QCOMPARE(requestOf(2).notes(), QStringList{u"Retainage released this period: $523.46"_s});
        // The loan has paid the work, no more and no less.
        QCOMPARE(requestOf(1).currentPaymentDue() + requestOf(2).currentPaymentDue(), Cents(523455));
        QVERIFY(!release->isEnabled());
        QCOMPARE(f.texts(5, Previous, Current), (QStringList{u"$4,000.00"_s, QString()}));

        f.grid->setFocus();
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.history().draws.size(), 1);
        QCOMPARE(document.history().retainageBasisPoints, 1000);
        QVERIFY(release->isEnabled());
    }

    // With the Draws view open, the Return that commits an amount rebuilds the rows of the next
    // draw once, however many cells the edit changed.
    void oneCommitRebuildsTheViewOnce()
    {
        WindowFixture f;
        f.child<QDockWidget>("dckDraws")->toggleViewAction()->trigger();
        auto *rows = f.window->findChild<QTreeWidget *>(u"Rows of the draw"_s);
        QVERIFY(rows);
        QTRY_VERIFY(rows->isVisible());
        const QSignalSpy rebuilds(rows->model(), &QAbstractItemModel::modelReset);
        f.enter(5, Current, u"300"_s);
        QTRY_COMPARE(rows->topLevelItemCount(), 1);
        QTest::qWait(50);
        QCOMPARE(rebuilds.count(), 1);
    }

    // With every view beside the sheet, the keyboard still finds its way: each letter serves
    // one control, so Alt+E, then O records at the first press; Tab from the builder's name
    // goes into the sheet; the arrow keys in the retainage box make one change, not one each.
    void keyboardWithEveryViewOpen()
    {
        WindowFixture f;
        for (const char *view : {"dckDraws", "dckChangeOrders", "dckBudget"})
            f.child<QDockWidget>(view)->toggleViewAction()->trigger();
        QTRY_VERIFY(f.window->findChild<QDoubleSpinBox *>(u"retainage"_s));
        QStringList letters;
        for (const QWidget *control : f.window->findChildren<QWidget *>()) {
            const QLabel *label = qobject_cast<const QLabel *>(control);
            const QAbstractButton *button = qobject_cast<const QAbstractButton *>(control);
            const QString text = label ? label->text() : button ? button->text() : QString();
            const qsizetype mark = text.indexOf(u'&');
            if (mark >= 0 && mark + 1 < text.size())
                letters << text.at(mark + 1).toLower();
        }
        for (const QAction *menu : f.window->menuBar()->actions())
            letters << menu->text().at(menu->text().indexOf(u'&') + 1).toLower();
        QVERIFY2(QSet<QString>(letters.begin(), letters.end()).size() == letters.size(),
                 qPrintable(letters.join(u' ')));

        f.enter(5, Current, u"300"_s);
        f.press(Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        bool asked = false;
        answerIfAsked(&asked);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_O);
        QVERIFY(asked);
        QCOMPARE(f.document->history().draws.size(), 1);

        auto *builder = f.child<QLineEdit>("txtBuilder");
        QApplication::setActiveWindow(f.window.get());
        builder->setFocus();
        QTRY_VERIFY(builder->hasFocus());
        QTest::keyClick(builder, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.grid);

        auto *retainage = f.window->findChild<QDoubleSpinBox *>(u"retainage"_s);
        retainage->setFocus();
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(retainage, Qt::Key_Up);
        QCOMPARE(f.document->history().retainageBasisPoints, 0);
        QTest::keyClick(retainage, Qt::Key_Return);
        QCOMPARE(f.document->history().retainageBasisPoints, 300);
        // One Undo takes the whole change back.
        f.child<QAction>("mnuUndo")->trigger();
        QCOMPARE(f.document->history().retainageBasisPoints, 0);
    }

    void drawBeyondTheFileLimit_data()
    {
        Rows::columns<qint64, bool>("slack", "recorded");
        // A draw of every row takes more than a thousand bytes.
        QTest::newRow("room for one more") << qint64(3000) << true;
        QTest::newRow("at the limit") << qint64(200) << false;
    }

    // A draw that would take the file past what an estimate file holds is refused before the
    // question, with the reason and what to do, and the estimate still saves; short of the
    // limit the draw is recorded as any other.
    void drawBeyondTheFileLimit()
    {
        auto [slack, recorded] = Rows::fetch<qint64, bool>("slack", "recorded");
        WindowFixture f;
        const QString path = f.path(u"long.vrn"_s);
        const EstimateContent content = estimateShortOfTheLimit(slack);
        QVERIFY(EstimateFile::save(path, content));
        f.dialogs->openPaths = {path};
        f.press(Qt::Key_O, Qt::ControlModifier);
        const qsizetype draws = content.history.draws.size();
        QCOMPARE(f.document->history().draws.size(), draws);
        bool asked = false;
        answerIfAsked(&asked);
        recordAction(f)->trigger();
        QCOMPARE(asked, recorded);
        QCOMPARE(f.document->history().draws.size(), draws + (recorded ? 1 : 0));
        if (!recorded) {
            const QStringList message{f.messages->shown.value(0).kind, f.messages->shown.value(0).title};
            QCOMPARE(message, (QStringList{"warning", "Record Current Payments"}));
            QVERIFY(f.messages->shown.value(0).text.contains(u"more than the 1 MiB"_s));
            QVERIFY(f.messages->shown.value(0).text.contains(u"carry on in a new estimate"_s));
        }
        // The offscreen platform has no window manager to give the window back the keys.
        f.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), f.window.get());
        f.press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.messages->shown.size(), recorded ? 0 : 1);
        QCOMPARE(EstimateFile::load(path)->history.draws.size(), f.document->history().draws.size());
    }

    void arithmetic_data()
    {
        // before: adjusted estimate, previous payment, current amount, as in the file
        // after: previous payment, current amount, cost to complete
        Rows::columns<QStringList, QStringList>("before", "after");
        QTest::newRow("cents") << QStringList{"$1,000.00", "$250.00", "$125.50"}
                               << QStringList{"$375.50", "", "$624.50"};
        QTest::newRow("first payment") << QStringList{"$80.00", "", "$80.00"} << QStringList{"$80.00", "", "$0.00"};
        QTest::newRow("millions") << QStringList{"", "$1,234,567.89", "$0.11"}
                                  << QStringList{"$1,234,568.00", "", "($1,234,568.00)"};
        // Each amount is taken to the cent once, as the draw records it.
        QTest::newRow("half cents") << QStringList{"$100.00", "$10.005", "$0.005"}
                                    << QStringList{"$10.02", "", "$89.98"};
        QTest::newRow("half cent rounds away from zero")
            << QStringList{"", "", "$0.125"} << QStringList{"$0.13", "", "($0.13)"};
        QTest::newRow("refund") << QStringList{"$500.00", "$100.00", "($25.50)"}
                                << QStringList{"$74.50", "", "$425.50"};
        QTest::newRow("negative previous")
            << QStringList{"", "($10.00)", "$4.00"} << QStringList{"($6.00)", "", "$6.00"};
        QTest::newRow("raw amount") << QStringList{"", "", "1,500"} << QStringList{"$1,500.00", "", "($1,500.00)"};
        QTest::newRow("note as current amount")
            << QStringList{"$90.00", "$10.00", "TBD"} << QStringList{"$10.00", "TBD", "$80.00"};
        QTest::newRow("sign alone") << QStringList{"$90.00", "$10.00", "$"} << QStringList{"$10.00", "$", "$80.00"};
        QTest::newRow("note as previous payment")
            << QStringList{"$90.00", "see invoice", "$5.00"} << QStringList{"see invoice", "$5.00", "$85.00"};
    }

    // Two draws through the window, Alt+E, O and Return, with new current amounts between
    // them: the saved file keeps them after the 38 records Save wrote before there were draws,
    // and each draw's request comes back from the command line as it was.
    void twoDrawsThroughTheWindow()
    {
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1000"));
        for (const char *paid : {"300", "200"}) {
            f.enter(5, Current, QLatin1String(paid));
            QStringList shown;
            DrawQuestionKeys::answerNext({}, &shown);
            f.press(Qt::Key_E, Qt::AltModifier);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_O);
            QTRY_VERIFY(!shown.isEmpty());
            f.window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), f.window.get());
        }
        const QString path = f.path(QStringLiteral("draws.vrn"));
        f.dialogs->savePaths = {path};
        f.press(Qt::Key_S, Qt::ControlModifier);
        const QByteArray bytes = Files::read(path);
        std::optional<EstimateContent> content = EstimateFile::load(path);
        QVERIFY(content && content->history.draws.size() == 2);
        content->history = {};
        QVERIFY(bytes.startsWith(EstimateFile::encode(*content)));

        // Item, description, C, D, E, F, G, %, H and retainage of row 5, draw by draw.
        const QByteArray requested[] = {
            R"(5,Rough Lumber,"$1,000.00",$0.00,$300.00,$0.00,$300.00,30.00%,$700.00,$0.00)",
            R"(5,Rough Lumber,"$1,000.00",$300.00,$200.00,$0.00,$500.00,50.00%,$500.00,$0.00)"};
        for (int draw = 1; draw <= 2; ++draw) {
            const QString csv = f.path(QStringLiteral("draw%1.csv").arg(draw));
            const ProgramRun exported =
                Programs::varn({"--export", csv, "--report", "draw-request", "--draw", QString::number(draw), path});
            QVERIFY2(exported.status == 0, qPrintable(exported.errors));
            QCOMPARE(Files::read(csv).split('\n').value(1).trimmed(), requested[draw - 1]);
        }
    }

    // Rows read from a file, as Open shows them, and recorded by the money rules.
    void arithmetic()
    {
        auto [before, after] = Rows::fetch<QStringList, QStringList>("before", "after");
        WindowFixture f;
        EstimateContent content;
        for (int i = 0; i < 3; ++i)
            content.cells[11][Adjusted - 1 + i] = before.at(i);
        content.cells[20][Current - 1] = QStringLiteral("$1.00"); // another row, so that the command is never greyed
        const QString path = f.path(QStringLiteral("draw.vrn"));
        QVERIFY(EstimateFile::save(path, content));
        f.dialogs->openPaths = {path};
        f.press(Qt::Key_O, Qt::ControlModifier);

        f.recordCurrentPayments();
        QCOMPARE((QStringList{f.text(12, Previous), f.text(12, Current), f.text(12, ToComplete)}), after);
        QCOMPARE(f.text(21, Previous), QStringLiteral("$1.00"));
        QCOMPARE(f.text(TotalRow, Current), Money::moneyText(Money::ReadMoneyValue(after.at(1))));
    }
};

QTEST_MAIN(TestDraws)
#include "tst_draws.moc"
