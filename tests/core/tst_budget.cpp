#include "core/budget/budgetfigures.h"
#include "core/budget/budgetscale.h"
#include "core/history/changeorders.h"
#include "core/history/historystep.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "support/rows.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
constexpr int Adjusted = EstimateSheet::AdjustedEstimateColumn;
constexpr int TotalRow = EstimateSheet::TotalRow;

// Entries "row,column=text" typed into the sheet, each amount formatted and recalculated as
// the cell editor does.
void enter(EstimateSheet &sheet, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QStringList cell = entry.section(u'=', 0, 0).split(u',');
        const int row = cell.at(0).toInt();
        const int column = cell.at(1).toInt();
        sheet.grid().setCurrentCell(row, column);
        const QString text = entry.section(u'=', 1);
        sheet.grid().setText(row, column, text);
        // A note stays as the file holds it.
        if (Money::holdsAmount(text))
            sheet.FormatMoneyCell(row, column);
        sheet.RecalculateTotals();
    }
}

ChangeOrder::Status statusNamed(const QString &name)
{
    return name == u"approved" ? ChangeOrder::Status::Approved
        : name == u"rejected"  ? ChangeOrder::Status::Rejected
                               : ChangeOrder::Status::Pending;
}

ChangeOrder::Source sourceNamed(const QString &name)
{
    return name == u"contingency" ? ChangeOrder::Source::Contingency
        : name == u"owner"        ? ChangeOrder::Source::OwnerCash
                                  : ChangeOrder::Source::Loan;
}

// The order of "put NUMBER ROW DOLLARS STATUS SOURCE".
ChangeOrder orderOf(const QStringList &words)
{
    const int number = words.at(1).toInt();
    return {number,
            QDate(2026, 3, number),
            words.at(2).toInt(),
            QStringLiteral("change %1").arg(number),
            Cents(std::llround(words.at(3).toDouble() * 100)),
            statusNamed(words.at(4)),
            sourceNamed(words.at(5)),
            {},
            {},
            {}};
}

// One operation of the register, as "put NUMBER ROW DOLLARS STATUS SOURCE", "status NUMBER
// STATUS", "void NUMBER" or "remove NUMBER", run as one Undo step.
bool run(EstimateSheet &sheet, EstimateHistory &history, const QString &operation, QList<HistoryStep> &steps,
         QString *errorString)
{
    const QStringList words = operation.split(u' ');
    const int number = words.at(1).toInt();
    ChangeOrder order;
    if (words.at(0) == u"put")
        order = orderOf(words);
    else if (const ChangeOrder *stored = ChangeOrders::find(history, number))
        order = *stored;
    HistoryStep step(sheet, history, ChangeOrders::rowsTouched(history, order));
    const QString &verb = words.at(0);
    const bool done = verb == u"put" ? ChangeOrders::put(sheet, history, order, errorString)
        : verb == u"status" ? ChangeOrders::setStatus(sheet, history, number, statusNamed(words.at(2)), errorString)
        : verb == u"void"   ? ChangeOrders::voidOrder(
                sheet, history, number, {QDate(2026, 4, 1), QStringLiteral("builder cancelled"), {}}, errorString)
                          : ChangeOrders::remove(history, number, errorString);
    step.finish(sheet, history);
    steps << step;
    return done;
}

QStringList texts(const Grid &grid, const QList<int> &rows, int column)
{
    QStringList shown;
    for (const int row : rows)
        shown << grid.text(row, column);
    return shown;
}

QStringList allTexts(const Grid &grid)
{
    QStringList shown;
    for (int row = 1; row <= TotalRow; ++row) {
        for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column)
            shown << grid.text(row, column);
    }
    return shown;
}

// Rows 8 ("Roofing"), 9, 10 and the contingency, 29, as the cases start.
const QStringList startingSheet = {"8,3=10000", "29,3=5000", "10,4=TBD"};
}

class TestBudget : public QObject
{
    Q_OBJECT

private slots:
    // The adjusted estimates of rows 8, 9, 29 and the Total after the operations, and the
    // message of the last one where it is refused.
    void changeOrders_data()
    {
        Rows::columns<QStringList, QStringList, QString>("operations", "adjusted", "refusal");
        const auto row = [](const char *name, QStringList operations, QStringList adjusted, QString refusal = {}) {
            QTest::newRow(name) << operations << adjusted << refusal;
        };
        row("pending moves nothing", {"put 1 8 2000 pending loan"}, {"$10,000.00", "", "$5,000.00", "$15,000.00"});
        row("approved from the loan", {"put 1 8 2000 approved loan"}, {"$12,000.00", "", "$5,000.00", "$17,000.00"});
        row("approved by status, from the owner's cash", {"put 1 8 2000 pending owner", "status 1 approved"},
            {"$12,000.00", "", "$5,000.00", "$17,000.00"});
        row("from the contingency, the total stays", {"put 1 8 2000 approved contingency"},
            {"$12,000.00", "", "$3,000.00", "$15,000.00"});
        row("rejected after approval", {"put 1 8 2000 approved contingency", "status 1 rejected"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"});
        row("voided after approval", {"put 1 8 2000 approved contingency", "void 1"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"});
        row("an approved order is voided, not deleted", {"put 1 8 2000 approved contingency", "remove 1"},
            {"$12,000.00", "", "$3,000.00", "$15,000.00"},
            "Change order 1 is approved: void it instead, so that the register keeps it.");
        row("deleted while pending", {"put 1 8 2000 pending loan", "remove 1"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"});
        row("a rejected order is kept", {"put 1 8 2000 rejected loan", "remove 1"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"},
            "Change order 1 is rejected: only a pending change order may be deleted.");
        row("a void order is kept", {"put 1 8 2000 approved loan", "void 1", "remove 1"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"},
            "Change order 1 is void: only a pending change order may be deleted.");
        row("a void order stays void", {"put 1 8 2000 approved loan", "void 1", "status 1 approved"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"}, "Change order 1 is void: it stays as it was voided.");
        row("only an approved order is voided", {"put 1 8 2000 pending loan", "void 1"},
            {"$10,000.00", "", "$5,000.00", "$15,000.00"},
            "Only an approved change order is voided: change order 1 is pending.");
        row("a credit", {"put 1 8 -500.25 approved loan"}, {"$9,499.75", "", "$5,000.00", "$14,499.75"});
        row("amount edited while approved", {"put 1 8 2000 approved loan", "put 1 8 3000 approved loan"},
            {"$13,000.00", "", "$5,000.00", "$18,000.00"});
        row("moved to an empty row", {"put 1 8 2000 approved contingency", "put 1 9 2000 approved contingency"},
            {"$10,000.00", "$2,000.00", "$3,000.00", "$15,000.00"});
        row("two orders, one rejected",
            {"put 1 8 0.10 approved loan", "put 2 8 0.20 approved loan", "status 1 rejected"},
            {"$10,000.20", "", "$5,000.00", "$15,000.20"});
        row("a note is not moved", {"put 1 8 100 approved loan", "put 2 10 100 approved contingency"},
            {"$10,100.00", "", "$5,000.00", "$15,100.00"},
            "The estimate of row 10 holds \"TBD\", which is not an amount: write the amount there first.");
        row("no such row", {"put 1 37 100 approved loan"}, {"$10,000.00", "", "$5,000.00", "$15,000.00"},
            "A change order belongs to one of the rows 1 to 36, not to row 37.");
    }

    // Each operation is one Undo step: undone one by one the sheet and the history are
    // what they were, and redone what the operations made.
    void changeOrders()
    {
        auto [operations, adjusted, refusal] =
            Rows::fetch<QStringList, QStringList, QString>("operations", "adjusted", "refusal");
        EstimateSheet sheet;
        enter(sheet, startingSheet);
        EstimateHistory history;
        const QStringList before = allTexts(sheet.grid());
        QList<HistoryStep> steps;
        QString refused;
        for (const QString &operation : operations)
            run(sheet, history, operation, steps, &refused);
        QCOMPARE(texts(sheet.grid(), {8, 9, 29, TotalRow}, Adjusted), adjusted);
        QCOMPARE(refused, refusal);
        QVERIFY(!steps.constLast().changesSomething() || refused.isEmpty());
        QVERIFY2(ChangeOrders::handEdits(sheet.grid(), history).isEmpty(), "the register explains every row");

        const QStringList after = allTexts(sheet.grid());
        const EstimateHistory made = history;
        for (auto step = steps.crbegin(); step != steps.crend(); ++step)
            history = step->restoreBefore(sheet);
        QCOMPARE(allTexts(sheet.grid()), before);
        QCOMPARE(history, EstimateHistory());
        for (const HistoryStep &step : steps)
            history = step.restoreAfter(sheet);
        QCOMPARE(allTexts(sheet.grid()), after);
        QCOMPARE(history, made);
    }

    // The number a new order gets: never one given before, whatever became of its order.
    void nextNumber_data()
    {
        Rows::columns<QStringList, int>("operations", "next");
        QTest::newRow("an empty register") << QStringList{} << 1;
        QTest::newRow("after a void order") << QStringList{"put 1 8 100 approved loan", "void 1"} << 2;
        QTest::newRow("after the highest, deleted")
            << QStringList{"put 1 8 100 approved loan", "put 2 8 100 pending loan", "remove 2"} << 3;
        QTest::newRow("after one deleted below the highest")
            << QStringList{"put 1 8 100 pending loan", "put 2 8 100 pending loan", "remove 1"} << 3;
        QTest::newRow("after two deleted in turn")
            << QStringList{"put 1 8 100 pending loan", "put 2 8 100 pending loan", "remove 2", "remove 1"} << 3;
        QTest::newRow("after a deletion and a new order")
            << QStringList{"put 1 8 100 pending loan", "remove 1", "put 2 8 100 pending loan"} << 3;
    }

    void nextNumber()
    {
        auto [operations, next] = Rows::fetch<QStringList, int>("operations", "next");
        EstimateSheet sheet;
        enter(sheet, startingSheet);
        EstimateHistory history;
        QList<HistoryStep> steps;
        for (const QString &operation : operations)
            QVERIFY(run(sheet, history, operation, steps, nullptr));
        QCOMPARE(ChangeOrders::nextNumber(history), next);
    }

    // Approving an order that takes more from the contingency than it has left is asked
    // about first: the contingency row has $5,000.00, of which $500.00 is paid.
    void overdrawQuestion_data()
    {
        Rows::columns<QStringList, QString, QString>("operations", "order", "question");
        const auto row = [](const char *name, QStringList operations, QString order, QString question = {}) {
            QTest::newRow(name) << operations << order << question;
        };
        row("what is left", {}, "put 1 8 4500 approved contingency");
        row("a cent more", {}, "put 1 8 4500.01 approved contingency",
            "Change order 1 takes $4,500.01 from the contingency, which has $4,500.00 left. Approve it all the "
            "same?");
        row("from the loan", {}, "put 1 8 9000 approved loan");
        row("pending", {}, "put 1 8 9000 pending contingency");
        row("a credit", {}, "put 1 8 -9000 approved contingency");
        row("raised while approved", {"put 1 8 4000 approved contingency"}, "put 1 8 5000 approved contingency",
            "Change order 1 takes $1,000.00 from the contingency, which has $500.00 left. Approve it all the "
            "same?");
        row("what a void order gave back", {"put 1 8 4000 approved contingency", "void 1"},
            "put 2 8 4500 approved contingency");
    }

    void overdrawQuestion()
    {
        auto [operations, order, question] =
            Rows::fetch<QStringList, QString, QString>("operations", "order", "question");
        EstimateSheet sheet;
        enter(sheet, startingSheet + QStringList{"29,5=500"});
        EstimateHistory history;
        QList<HistoryStep> steps;
        for (const QString &operation : operations)
            QVERIFY(run(sheet, history, operation, steps, nullptr));
        QCOMPARE(ChangeOrders::overdrawQuestion(sheet.grid(), history, orderOf(order.split(u' '))), question);
    }

    // Rows whose adjusted estimate the register does not explain.
    void handEdits_data()
    {
        Rows::columns<QStringList, QList<int>>("entries", "rows");
        QTest::newRow("none") << QStringList{} << QList<int>{};
        QTest::newRow("the approved row typed over") << QStringList{"8,4=12500"} << QList<int>{8};
        QTest::newRow("the contingency typed over") << QStringList{"29,4=5000"} << QList<int>{29};
        QTest::newRow("an adjusted estimate from before the register")
            << QStringList{"12,3=700", "12,4=750", "13,4=TBD"} << QList<int>{12};
        QTest::newRow("adjusted emptied, the original comes back") << QStringList{"8,4="} << QList<int>{8};
    }

    void handEdits()
    {
        auto [entries, rows] = Rows::fetch<QStringList, QList<int>>("entries", "rows");
        EstimateSheet sheet;
        enter(sheet, startingSheet);
        EstimateHistory history;
        QList<HistoryStep> steps;
        run(sheet, history, QStringLiteral("put 1 8 2000 approved contingency"), steps, nullptr);
        run(sheet, history, QStringLiteral("put 2 8 999 rejected loan"), steps, nullptr);
        enter(sheet, entries);
        QList<int> edited;
        for (const ChangeOrders::HandEdit &edit : ChangeOrders::handEdits(sheet.grid(), history))
            edited << edit.row;
        QCOMPARE(edited, rows);
    }

    // The contingency moves to another row only while no approved order draws on it.
    void contingencyRow()
    {
        EstimateSheet sheet;
        enter(sheet, startingSheet);
        EstimateHistory history;
        QList<HistoryStep> steps;
        run(sheet, history, QStringLiteral("put 1 8 2000 approved contingency"), steps, nullptr);
        QString refusal;
        QVERIFY(!ChangeOrders::setContingencyRow(history, 30, &refusal));
        QVERIFY(refusal.contains(u"row 29"));
        QCOMPARE(history.contingencyRow, 29);
        run(sheet, history, QStringLiteral("status 1 rejected"), steps, nullptr);
        QVERIFY(ChangeOrders::setContingencyRow(history, 30));
        QCOMPARE(history.contingencyRow, 30);
    }

    // Each row's bar (estimate, paid, this period, left, overrun) and whether "Only over
    // budget" keeps it.
    void budgetLines_data()
    {
        Rows::columns<QStringList, QList<Cents>, bool>("entries", "bar", "over");
        const auto row = [](const char *name, QStringList entries, QList<Cents> bar, bool over) {
            QTest::newRow(name) << entries << bar << over;
        };
        row("within", {"5,3=1000", "5,5=400", "5,6=100"}, {100000, 40000, 10000, 50000, 0}, false);
        row("exactly spent", {"5,3=1000", "5,5=1000"}, {100000, 100000, 0, 0, 0}, false);
        row("paid beyond", {"5,3=1000", "5,5=900", "5,6=300"}, {100000, 90000, 30000, 0, 20000}, true);
        row("payments without an estimate", {"5,6=250"}, {0, 0, 25000, 0, 25000}, true);
        row("a note counts as nothing", {"5,3=1000", "5,5=TBD"}, {100000, 0, 0, 100000, 0}, false);
        row("a note for the estimate", {"5,4=TBD", "5,5=100"}, {0, 10000, 0, 0, 10000}, true);
        // A credit is money back, not money overspent.
        row("a credit", {"5,3=-250"}, {-25000, 0, 0, 0, 0}, false);
        row("a credit paid out", {"5,3=-250", "5,5=100"}, {-25000, 10000, 0, 0, 10000}, true);
    }

    void budgetLines()
    {
        auto [entries, bar, over] = Rows::fetch<QStringList, QList<Cents>, bool>("entries", "bar", "over");
        EstimateSheet sheet;
        enter(sheet, entries);
        const BudgetFigures figures(sheet.grid(), EstimateHistory());
        QCOMPARE(figures.lines().size(), 1);
        const BudgetLine &line = figures.lines().constFirst();
        QCOMPARE((QList<Cents>{line.estimate, line.paid, line.current, line.leftToPay(), line.overrun()}), bar);
        QCOMPARE(figures.overBudgetLines().size(), over ? 1 : 0);
    }

    // The budget's table: each line's figures as the sheet holds them, and the Total line, the
    // sums of the columns, whose estimate and paid to date are the totals line's.
    void table_data()
    {
        Rows::columns<int, QStringList>("line", "texts");
        const auto row = [](const char *name, int line, QStringList texts) { QTest::newRow(name) << line << texts; };
        row("adjusted", 0, {"5 Rough Lumber", "$1,000.00", "$1,200.00", "$900.00", "$100.00", "$200.00", ""});
        row("paid beyond", 1, {"8 Roofing", "$500.00", "$500.00", "$600.00", "$0.00", "($100.00)", "Over by $100.00"});
        row("a note for the estimate", 2,
            {"12 Heating", "$0.00", "$0.00", "$0.00", "$250.00", "($250.00)", "Over by $250.00"});
        row("the contingency", 3,
            {"29 Misc. (contingency)", "$3,000.00", "$3,000.00", "$500.00", "$0.00", "$2,500.00", ""});
        row("total", -1, {"Total", "$4,500.00", "$4,700.00", "$2,000.00", "$350.00", "$2,350.00", "Over by $350.00"});
    }

    void table()
    {
        auto [line, texts] = Rows::fetch<int, QStringList>("line", "texts");
        EstimateSheet sheet;
        enter(sheet,
              {"5,3=1000", "5,4=1200", "5,5=900", "5,6=100", "8,3=500", "8,5=600", "12,3=TBD", "12,6=250", "29,3=3000",
               "29,5=500"});
        const BudgetFigures figures(sheet.grid(), EstimateHistory());
        QCOMPARE(BudgetFigures::tableTitles().size(), texts.size());
        QCOMPARE(line < 0 ? figures.totalTexts() : figures.lines().at(line).tableTexts(), texts);
        QVERIFY(figures.totalsLine().startsWith(u"Estimate "_s + figures.totalTexts().at(2) + u";"_s));
        QVERIFY(figures.totalsLine().contains(u"paid to date "_s + figures.totalTexts().at(3) + u" ("_s));
    }

    // The ticks an axis of this length names, labels of 40 wide 8 apart: all of them while
    // they fit, else every second, every fourth, down to the two at the ends, evenly spaced.
    void ticksForLength_data()
    {
        Rows::columns<Cents, double, int>("widest", "length", "ticks");
        QTest::newRow("$0 to $4,000, room for all") << Cents(350000) << 200.0 << 5;
        QTest::newRow("every second") << Cents(350000) << 150.0 << 3;
        QTest::newRow("the ends") << Cents(350000) << 80.0 << 2;
        QTest::newRow("no room, still the ends") << Cents(350000) << 20.0 << 2;
        QTest::newRow("$0 to $100,000 in fifths, no half") << Cents(9800000) << 200.0 << 2;
        QTest::newRow("$0 to $100,000 whole") << Cents(9800000) << 240.0 << 6;
    }

    void ticksForLength()
    {
        auto [widest, length, ticks] = Rows::fetch<Cents, double, int>("widest", "length", "ticks");
        BudgetLine line;
        line.estimate = widest;
        QCOMPARE(BudgetScale({line}).tickCountFor(length, 40, 8), ticks);
    }

    // The totals line: the contingency left after what change orders took from it.
    void totalsLine()
    {
        EstimateSheet sheet;
        enter(sheet, startingSheet + QStringList{"8,5=4000", "29,5=500", "31,6=250"});
        EstimateHistory history;
        QList<HistoryStep> steps;
        run(sheet, history, QStringLiteral("put 1 8 2000 approved contingency"), steps, nullptr);
        run(sheet, history, QStringLiteral("put 2 8 1000 approved owner"), steps, nullptr);
        run(sheet, history, QStringLiteral("put 3 8 7000 pending loan"), steps, nullptr);
        const BudgetFigures figures(sheet.grid(), history);
        QCOMPARE(figures.totalsLine(),
                 QStringLiteral("Estimate $16,000.00; change orders $3,000.00; paid to date "
                                "$4,500.00 (28.1 %); contingency left $2,500.00"));
        QCOMPARE(figures.lines().at(1).name, QStringLiteral("29 Misc."));
        QCOMPARE(figures.lines().at(1).usedByChangeOrders, 200000);
        QCOMPARE(figures.lines().at(2).name, QStringLiteral("Row 31"));
    }
};

QTEST_GUILESS_MAIN(TestBudget)
#include "tst_budget.moc"
