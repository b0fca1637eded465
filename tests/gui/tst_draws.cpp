#include "core/history/estimatehistory.h"
#include "gui/draws/drawcommands.h"
#include "gui/draws/drawrequestoutput.h"
#include "gui/draws/drawsview.h"
#include "gui/editing/edithistory.h"
#include "support/documentfixture.h"
#include "support/drawquestionkeys.h"
#include "support/files.h"
#include "support/programs.h"
#include "support/windowfixture.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
constexpr int Original = EstimateSheet::OriginalEstimateColumn;
constexpr int Previous = EstimateSheet::PreviousPaymentColumn;
constexpr int Current = EstimateSheet::CurrentPaymentColumn;

// The draws' commands and view on a document, as the main window holds them.
struct DrawsFixture : DocumentFixture
{
    EditHistory edits{sheet};
    QWidget owner;
    PdfPrinterDialog printer;
    DrawCommands commands{document, edits.stack(), &owner};
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
}

class TestDraws : public QObject
{
    Q_OBJECT

private slots:
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
        QCOMPARE(draw.lines, (QList<DrawLine>{{5, 100000, 100000, 20000, 30000}, {9, 0, 0, 0, 2050}}));
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
    // were edited by hand since, and the retainage rate typed in as one step of Undo.
    void view()
    {
        DrawsFixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.enter(5, Original, u"1000"_s);
        f.enter(5, Current, u"300"_s);
        f.record(decemberFirst());
        f.enter(9, Current, u"20.5"_s);
        f.record(DrawQuestionKeys::dated(u"20270104"_s));
        QCOMPARE(f.listed("Draws"),
                 (QStringList{"Next|||the next request, from the current amounts",
                              "1|2026-12-01|$300.00|framing inspection passed", "2|2027-01-04|$20.50|"}));
        auto *draws = f.view.findChild<QTreeWidget *>(u"Draws"_s);
        const QRect first = draws->visualItemRect(draws->topLevelItem(1));
        QTest::mouseClick(draws->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(f.listed("Rows of the draw"), QStringList{"5|Rough Lumber|$1,000.00|$0.00|$300.00"});
        auto *differences = f.view.findChild<QLabel *>(u"differences"_s);
        QVERIFY(differences->isHidden());
        f.enter(9, Previous, u"25"_s);
        QCOMPARE(differences->text(),
                 u"The \"Total of Previous Payment\" is not what the recorded draws paid in:\n"
                 "Row 9 (Concrete Flatwork): $25.00 shown, $20.50 recorded"_s);
        QVERIFY(!differences->isHidden());

        auto *retainage = f.view.findChild<QDoubleSpinBox *>(u"retainage"_s);
        retainage->setFocus();
        QTest::keyClick(retainage, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(retainage, u"10"_s);
        QTest::keyClick(retainage, Qt::Key_Return);
        QCOMPARE(f.document.history().retainageBasisPoints, 1000);
        QCOMPARE(f.edits.stack().undoText(), u"Retainage"_s);
        f.edits.stack().undo();
        QCOMPARE(retainage->value(), 0.0);
    }

    // The view's buttons put out the selected draw's request again, after the checks, which the
    // user may decline.
    void exportAndPrint()
    {
        DrawsFixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.enter(5, Original, u"1000"_s);
        f.enter(5, Current, u"1300"_s);
        f.record(decemberFirst());
        auto *draws = f.view.findChild<QTreeWidget *>(u"Draws"_s);
        QTest::mouseClick(draws->viewport(), Qt::LeftButton, {},
                          draws->visualItemRect(draws->topLevelItem(1)).center());
        f.messages.answers = {MessageBoxes::No, MessageBoxes::Yes, MessageBoxes::Yes};
        f.dialogs.exportPaths = {f.path(u"draw.csv"_s)};
        auto *exportButton = f.view.findChild<QPushButton *>(u"export"_s);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QCOMPARE(f.message(),
                 (QStringList{"yes/no question",
                              "Before it goes out, look at this in Draw Request 1:\n\n\u2022 Row 5 "
                              "(Rough Lumber): work completed to date, $1,300.00, is more than the "
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
    }
};

QTEST_MAIN(TestDraws)
#include "tst_draws.moc"
