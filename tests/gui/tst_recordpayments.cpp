#include "core/document/estimatefile.h"
#include "core/sheet/money.h"
#include "support/files.h"
#include "support/programs.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QTemporaryDir>

namespace {
constexpr int Adjusted = 4;
constexpr int Previous = 5;
constexpr int Current = 6;
constexpr int ToComplete = 7;
constexpr int TotalRow = 37;

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
}

class TestRecordPayments : public QObject
{
    Q_OBJECT

private slots:
    // Greyed while no row has a current amount; with one it asks first, and No leaves all as it was.
    void enabledOnlyWithCurrentAmounts()
    {
        WindowFixture f;
        QVERIFY(recordAction(f) && !recordAction(f)->isEnabled());
        recordAction(f)->trigger();
        QVERIFY(!QApplication::activeModalWidget());

        f.enter(5, 3, QStringLiteral("1000"));
        f.enter(5, Previous, QStringLiteral("200"));
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
        const QTemporaryDir folder;
        EstimateContent content;
        for (int i = 0; i < 3; ++i)
            content.cells[11][Adjusted - 1 + i] = before.at(i);
        content.cells[20][Current - 1] = QStringLiteral("$1.00"); // another row, so that the command is never greyed
        const QString path = folder.filePath(QStringLiteral("draw.vrn"));
        QVERIFY(EstimateFile::save(path, content));
        WindowFixture f(path);
        QTRY_COMPARE(f.window->document().CurrentFile(), path);

        f.recordCurrentPayments();
        QCOMPARE((QStringList{f.text(12, Previous), f.text(12, Current), f.text(12, ToComplete)}), after);
        QCOMPARE(f.text(21, Previous), QStringLiteral("$1.00"));
        QCOMPARE(f.text(TotalRow, Current), Money::moneyText(Money::ReadMoneyValue(after.at(1))));
    }
};

QTEST_MAIN(TestRecordPayments)
#include "tst_recordpayments.moc"
