#include "core/document/attachmentfolder.h"
#include "core/document/estimatefile.h"
#include "core/export/drawrequestcsv.h"
#include "core/history/changeorders.h"
#include "core/history/drawrecording.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/history/drawsnapshot.h"
#include "core/history/loanfigures.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/moneycents.h"
#include "support/documentfixture.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <numeric>

using namespace Qt::StringLiterals;
using Programs::varn;

namespace {
const QDate FirstDrawDate(2026, 12, 1);

// Plays the steps of a month-by-month build on the document: "O5=15000" types an original
// estimate into row 5 (A the adjusted estimate, D the previous payment, E the current
// amount), "pending=300" asks for a change order of row 5 ("approved=300", approved, dated the
// next draw's date; "approved=300/contingency" funded from the contingency; "late=300" approved
// once the last draw was recorded and dated that draw's date), "void=1" voids order 1 on the
// next draw's date ("latevoid=1" on the last draw's, once it was recorded), "rate=500" makes the retainage 5 %, and
// "draw" records the current payments. The next request, made just before each draw, is kept.
QList<DrawRequest> play(DocumentFixture &f, const QStringList &steps)
{
    static const QString columns = u"OADE"_s;
    QList<DrawRequest> requested;
    for (const QString &step : steps) {
        const QStringList parts = step.split(u'=');
        EstimateHistory history = f.document.history();
        if (step == u"draw") {
            const QDate date = FirstDrawDate.addMonths(int(history.draws.size()));
            requested << DrawRequest::next(f.grid(), f.header, history, date);
            CurrentPayments::recordDraw(f.sheet, history, CurrentPayments::recordableRows(f.grid()), date,
                                        u"month %1"_s.arg(history.draws.size() + 1), DrawRequest::partiesOf(f.header));
        } else if (parts.first() == u"pending" || parts.first() == u"approved" || parts.first() == u"late") {
            ChangeOrder order;
            if (parts.first() != u"pending")
                order.status = ChangeOrder::Status::Approved;
            order.number = ChangeOrders::nextNumber(history);
            order.date = parts.first() == u"late" ? history.draws.last().date
                                                  : FirstDrawDate.addMonths(int(history.draws.size()));
            order.row = 5;
            order.amount = MoneyCents::fromText(parts.last().section(u'/', 0, 0));
            if (parts.last().endsWith(u"/contingency"))
                order.source = ChangeOrder::Source::Contingency;
            // A refused order leaves the findings short, which the test reports.
            if (!ChangeOrders::put(f.sheet, history, order))
                return requested;
        } else if (parts.first() == u"void" || parts.first() == u"latevoid") {
            const QDate date = parts.first() == u"latevoid" ? history.draws.last().date
                                                            : FirstDrawDate.addMonths(int(history.draws.size()));
            const ChangeOrderVoid voided{date, u"not built"_s, {}};
            if (!ChangeOrders::voidOrder(f.sheet, history, parts.last().toInt(), voided))
                return requested;
        } else if (parts.first() == u"rate") {
            history.retainageBasisPoints = parts.last().toInt();
        } else if (parts.first() == u"loan") {
            history.loan = Loan{};
            history.loan->amount = MoneyCents::fromText(parts.last());
        } else if (parts.first() == u"interest") {
            history.loan->interestRateThousandths = parts.last().toInt();
        } else if (parts.first() == u"funded" || step == u"returned") {
            // "funded=AMOUNT" carries a shortfall into the next request, "funded=AMOUNT/owner"
            // has the owner pay it; "returned" sends the whole draw back.
            DrawFunding funding;
            funding.state = step == u"returned" ? DrawFunding::State::Returned : DrawFunding::State::Funded;
            funding.fundedAmount = MoneyCents::fromText(parts.last().section(u'/', 0, 0));
            funding.funded = history.draws.last().date;
            if (parts.last().endsWith(u"/owner"))
                funding.shortfall = DrawFunding::Shortfall::PaidByOwner;
            history.draws.last().funding = funding;
        } else {
            f.enter(parts.first().mid(1).toInt(), EstimateSheet::OriginalEstimateColumn + columns.indexOf(parts[0][0]),
                    parts.last());
        }
        f.document.setHistory(history);
    }
    return requested;
}

// The continuation sheet as a lender reads it: each line's amounts back from the CSV.
QList<QList<Cents>> csvAmounts(const DrawRequest &request)
{
    QList<QList<Cents>> lines;
    const QList<QByteArray> records = DrawRequestCsv::encode(request).split('\n');
    for (const QByteArray &record : records.mid(1)) {
        QList<Cents> amounts;
        for (const QString &field :
             QString::fromUtf8(record).split(QRegularExpression(u",(?=(?:[^\"]*\"[^\"]*\")*[^\"]*$)"_s)).mid(2))
            amounts << (field.contains(u'%') ? 0 : MoneyCents::fromText(QString(field).remove(u'"')));
        if (!record.trimmed().isEmpty())
            lines << amounts;
    }
    return lines;
}

// Five draws: the first funded short and the rest asked again, the second's shortfall paid
// by the owner, a rate cut, and a last draw that releases the rest.
const QStringList FiveDraws{"loan=30000", "O5=20000",    "D5=2000", "rate=1000",   "E5=5000",
                            "draw",       "funded=4000", "E5=6000", "draw",        "funded=5400/owner",
                            "rate=500",   "E5=4000",     "draw",    "funded=4350", "E5=3000",
                            "draw",       "funded=2850", "rate=0",  "draw",        "funded=900"};

// Their statement worked out by hand: the lender funded $17,500 and the owner paid $500 of a
// shortfall, the $18,000 of work the draws paid; the owner's $2,000 before the loan; the
// retainage held and released.
const QList<QStringList> FiveDrawStatement{
    {"1", "2026-12-01", "funded", "2026-12-01", "$4,500.00", "$4,000.00", "$0.00", "$500.00", "$0.00", "$2,000.00",
     "$26,000.00"},
    {"2", "2027-01-01", "funded", "2027-01-01", "$5,900.00", "$5,400.00", "$0.00", "$1,100.00", "$0.00", "$500.00",
     "$20,600.00"},
    {"3", "2027-02-01", "funded", "2027-02-01", "$4,350.00", "$4,350.00", "$0.00", "$750.00", "$550.00", "$0.00",
     "$16,250.00"},
    {"4", "2027-03-01", "funded", "2027-03-01", "$2,850.00", "$2,850.00", "$0.00", "$900.00", "$0.00", "$0.00",
     "$13,400.00"},
    {"5", "2027-04-01", "funded", "2027-04-01", "$900.00", "$900.00", "$0.00", "$0.00", "$900.00", "$0.00",
     "$12,500.00"},
    {"Total", "", "", "", "$18,500.00", "$17,500.00", "$0.00", "$0.00", "$1,450.00", "$2,500.00", "$12,500.00"}};

QList<int> rowsNamed(const QStringList &checks, const QString &finding)
{
    QList<int> rows;
    static const QRegularExpression row(u"^(?:Row )?(\\d+)"_s);
    for (const QString &check : checks) {
        if (check.contains(finding))
            rows << row.match(check).captured(1).toInt();
    }
    return rows;
}

}

class TestDrawRequest : public QObject
{
    Q_OBJECT

private slots:
    // Two draws recorded over a month, with a hand edit between them; and every row of an
    // estimate asked for at once.
    void initTestCase()
    {
        m_house.enter(5, EstimateSheet::SupplierColumn, u"Lumber Co."_s);
        play(m_house, {"rate=1000", "O5=10000", "E5=1000", "draw", "A5=12000", "D9=500", "E5=500", "draw"});
        m_house.dialogs.savePaths = {m_house.path("house.vrn")};
        QCOMPARE(m_house.document.save(), Document::SaveOutcome::Saved);
        QStringList everyRow;
        for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
            everyRow << u"O%1=%2"_s.arg(row).arg(row * 1000) << u"E%1=%2"_s.arg(row).arg(row * 10);
        play(m_full, everyRow);
        m_full.dialogs.savePaths = {m_full.path("full.vrn")};
        QCOMPARE(m_full.document.save(), Document::SaveOutcome::Saved);
        play(m_released, {"O5=80000", "D5=73325", "rate=1000", "E5=1000", "draw", "rate=500", "E5=2000", "draw"});
        m_released.dialogs.savePaths = {m_released.path("released.vrn")};
        QCOMPARE(m_released.document.save(), Document::SaveOutcome::Saved);
        m_loan.header.setText(HeaderFields::Name, u"Pat Owner"_s);
        m_loan.header.setText(HeaderFields::Builder, u"Owner-builder"_s);
        m_loan.header.setText(HeaderFields::Address, u"12 Elm Road\nSpringfield"_s);
        play(m_loan, FiveDraws);
        EstimateHistory history = m_loan.document.history();
        history.loan->lender = u"First Federal"_s;
        history.loan->loanNumber = u"CL-2291"_s;
        history.loan->closing = QDate(2026, 11, 16);
        history.loan->maturity = QDate(2027, 11, 16);
        m_loan.document.setHistory(history);
        m_loan.dialogs.savePaths = {m_loan.path("loan.vrn")};
        QCOMPARE(m_loan.document.save(), Document::SaveOutcome::Saved);
        // Funded three months before the statement is written.
        play(m_interest, {"loan=100000", "interest=6000", "O5=50000", "E5=12000", "draw", "funded=12000"});
        history = m_interest.document.history();
        history.draws.last().funding->funded = QDate::currentDate().addMonths(-3);
        m_interest.document.setHistory(history);
        m_interest.dialogs.savePaths = {m_interest.path("interest.vrn")};
        QCOMPARE(m_interest.document.save(), Document::SaveOutcome::Saved);
    }

    void invariants_data()
    {
        QTest::addColumn<QStringList>("steps");
        // Each draw's line 7 (previous payments) and line 8 (current payment due).
        QTest::addColumn<QStringList>("payments");
        QTest::newRow("opening balance") << QStringList{"O5=15000", "D5=2000", "E5=1000", "draw",
                                                        "E5=3000",  "O9=800",  "E9=800",  "draw"}
                                         << QStringList{"$2,000.00 then $1,000.00", "$3,000.00 then $3,800.00"};
        // The lender holds retainage on the work the owner paid before the loan too, from the
        // first payment.
        QTest::newRow("opening balance under retainage")
            << QStringList{"rate=1000", "O5=15000", "D5=2000", "E5=1000", "draw"}
            << QStringList{"$2,000.00 then $900.00"};
        QTest::newRow("retainage, changed between draws")
            << QStringList{"rate=1000", "O5=15000", "O9=8000.50", "E5=1500",  "E9=800.25", "draw",
                           "rate=500",  "E5=2000",  "draw",       "E9=99.99", "draw"}
            << QStringList{"$0.00 then $2,070.22", "$2,070.22 then $2,015.02", "$4,085.24 then $94.99"};
        QTest::newRow("hand edits") << QStringList{"O5=10000", "E5=1000", "draw", "A5=12000",
                                                   "D9=500",   "E5=500",  "draw"}
                                    << QStringList{"$0.00 then $1,000.00", "$1,500.00 then $500.00"};
        QTest::newRow("overrun, then a refund") << QStringList{"O5=1000", "E5=1200", "draw", "E5=-200", "draw"}
                                                << QStringList{"$0.00 then $1,200.00", "$1,200.00 then ($200.00)"};
    }

    void changeOrderSummary_data()
    {
        // summaries: each request's line 2 and 2a, then the additions and deductions approved in
        // the periods before and in its own, and what moved from the contingency.
        Rows::columns<QStringList, QStringList>("steps", "summaries");
        QTest::newRow("an edit by hand, no order")
            << QStringList{"O5=10000", "E5=1000", "draw", "A5=12000", "E5=500", "draw"}
            << QStringList{"$0.00 | $0.00 | $0.00 - $0.00 | $0.00 - $0.00 | $0.00",
                           "$0.00 | $2,000.00 | $0.00 - $0.00 | $0.00 - $0.00 | $0.00"};
        // Order 2 is voided in the second period: the first request, as it went out, still
        // counts it. Order 4 moves $400 from the contingency into row 5 and leaves the sum.
        QTest::newRow("orders by period, a void, the contingency")
            << QStringList{"O5=10000",      "O29=2000", "E5=1000",      "approved=500",
                           "approved=-200", "draw",     "approved=300", "approved=400/contingency",
                           "void=2",        "A9=150",   "E5=100",       "draw"}
            << QStringList{"$300.00 | $0.00 | $0.00 - $0.00 | $500.00 - $200.00 | $0.00",
                           "$800.00 | $150.00 | $500.00 - $0.00 | $300.00 - $0.00 | $400.00"};
        // Approved and voided once draw 1 was recorded, both dated its date: its request is
        // re-printed as it went out, and the next one counts the two.
        QTest::newRow("orders changed on the day of the draw, after it")
            << QStringList{"O5=10000", "E5=1000", "approved=500", "draw", "late=250", "latevoid=1", "E5=100", "draw"}
            << QStringList{"$500.00 | $0.00 | $0.00 - $0.00 | $500.00 - $0.00 | $0.00",
                           "$250.00 | $0.00 | $250.00 - $0.00 | $0.00 - $0.00 | $0.00"};
        QTest::newRow("an order dated after the request")
            << QStringList{"O5=10000", "E5=1000", "draw", "draw", "approved=250"}
            << QStringList{"$0.00 | $0.00 | $0.00 - $0.00 | $0.00 - $0.00 | $0.00",
                           "$0.00 | $0.00 | $0.00 - $0.00 | $0.00 - $0.00 | $0.00"};
    }

    // Line 2 is what the change orders in force at the end of the period changed the sum by,
    // and line 2a what was typed into the adjusted estimates beside them; a recorded request
    // accounts for them as it did when it went out.
    void changeOrderSummary()
    {
        auto [steps, summaries] = Rows::fetch<QStringList, QStringList>("steps", "summaries");
        DocumentFixture f;
        const QList<DrawRequest> requested = play(f, steps);
        QCOMPARE(requested.size(), summaries.size());
        for (int number = 1; number <= requested.size(); ++number) {
            const DrawRequest request = *DrawRequest::recorded(f.grid(), f.header, f.document.history(), number);
            const ChangeOrderSummary &orders = request.changeOrders;
            QCOMPARE(orders, requested.at(number - 1).changeOrders);
            QCOMPARE(request.originalSum() + request.netChangeByChangeOrders() + request.otherAdjustments(),
                     request.sumToDate());
            const QStringList figures{
                MoneyCents::text(request.netChangeByChangeOrders()), MoneyCents::text(request.otherAdjustments()),
                MoneyCents::text(orders.previousAdditions) + u" - "_s + MoneyCents::text(orders.previousDeductions),
                MoneyCents::text(orders.additionsThisPeriod) + u" - "_s + MoneyCents::text(orders.deductionsThisPeriod),
                MoneyCents::text(orders.fromContingencyThisPeriod)};
            QCOMPARE(figures.join(u" | "_s), summaries.at(number - 1));
        }
    }

    // What the checks say of the next request: a credit once, as a negative amount, and a
    // payment due below zero once the retainage was raised after a draw.
    void checks_data()
    {
        Rows::columns<QStringList, QStringList>("steps", "findings");
        QTest::newRow("a credit") << QStringList{"O5=-250", "O9=100", "E9=10"}
                                  << QStringList{"the scheduled value is negative"};
        QTest::newRow("retainage raised after a draw")
            << QStringList{"O5=10000", "E5=5000", "draw", "rate=1000", "E5=100"}
            << QStringList{"The current payment due, ($410.00), is below zero"};
        QTest::newRow("retainage lowered after a draw")
            << QStringList{"rate=1000", "O5=10000", "E5=5000", "draw", "rate=500", "E5=100"}
            << QStringList{"This request releases $250.00 of retainage."};
        QTest::newRow("change orders not yet approved")
            << QStringList{"O5=10000", "E5=100", "pending=300", "pending=-50"}
            << QStringList{"Change orders 1 and 2 are pending."};
        QTest::newRow("the draw before not funded yet")
            << QStringList{"loan=20000", "O5=10000", "E5=1000", "draw", "E5=100"}
            << QStringList{"Draw 1 is not funded yet: this request goes out before the lender has paid the one "
                           "before."};
        QTest::newRow("the draw before returned")
            << QStringList{"O5=10000", "E5=1000", "draw", "returned", "E5=100"} << QStringList{"Draw 1 was returned"};
        // No current amounts, and still the $100 the lender did not fund is asked again.
        QTest::newRow("only a shortfall asked again")
            << QStringList{"loan=20000", "O5=10000", "E5=1000", "draw", "funded=900"} << QStringList();
        QTest::newRow("the draw before funded")
            << QStringList{"loan=20000", "O5=10000", "E5=1000", "draw", "funded=1000", "E5=100"} << QStringList();
        QTest::newRow("an estimate raised without a change order")
            << QStringList{"O5=10000", "A5=10719.20", "E5=100"}
            << QStringList{"5 Rough Lumber: scheduled value up $719.20 with no change order"};
        QTest::newRow("an estimate raised by a change order")
            << QStringList{"O5=10000", "approved=719.20", "E5=100"} << QStringList();
        QTest::newRow("billed to the contingency")
            << QStringList{"O29=5000", "E29=250"}
            << QStringList{"29 Misc.: $250.00 is billed straight to the contingency; approve a change order from the "
                           "contingency into the row that used it instead."};
        QTest::newRow("the loan cannot finish the house")
            << QStringList{"loan=5000", "O5=10000", "E5=100"}
            << QStringList{"Out of balance by $5,000.00: a deposit of $5,000.00 is needed to finish."};
    }

    void checks()
    {
        auto [steps, findings] = Rows::fetch<QStringList, QStringList>("steps", "findings");
        DocumentFixture f;
        play(f, steps);
        const DrawRequest request = DrawRequest::next(f.grid(), f.header, f.document.history(), FirstDrawDate);
        const QStringList said = DrawRequestChecks::ofNext(request, f.grid(), f.document.history());
        QVERIFY2(said.size() == findings.size(), qPrintable(said.join(u'\n')));
        for (qsizetype i = 0; i < findings.size(); ++i)
            QVERIFY2(said.at(i).contains(findings.at(i)), qPrintable(said.join(u'\n')));
    }

    // Each recorded draw's request is the request made just before it was recorded; its
    // line 7 is the previous request's line 6; its previous payments are what the draw
    // before left paid, but where the checks name a row edited by hand; its lines and the
    // summary add up to the cent.
    void invariants()
    {
        auto [steps, payments] = Rows::fetch<QStringList, QStringList>("steps", "payments");
        DocumentFixture f;
        const QList<DrawRequest> requested = play(f, steps);
        const EstimateHistory &history = f.document.history();
        QStringList paid;
        for (int number = 1; number <= history.draws.size(); ++number) {
            const DrawRequest request = *DrawRequest::recorded(f.grid(), f.header, history, number);
            QCOMPARE(DrawRequestCsv::encode(request), DrawRequestCsv::encode(requested.at(number - 1)));
            QCOMPARE(request.previousPayments, requested.at(number - 1).previousPayments);
            paid << MoneyCents::text(request.previousPayments) + u" then "_s
                    + MoneyCents::text(request.currentPaymentDue());
            // What was typed into the previous payments by hand since the draw before is the
            // owner's: in line 7, and held no retainage on.
            QList<int> editedByHand;
            Cents typedByHand = 0;
            const Draw &before = number > 1 ? history.draws.at(number - 2) : Draw();
            for (const DrawLine &line : history.draws.at(number - 1).lines) {
                Cents leftPaid = 0;
                for (const DrawLine &earlier : before.lines)
                    leftPaid += earlier.row == line.row ? earlier.previousPayments + earlier.paid : 0;
                if (number > 1 && line.previousPayments != leftPaid) {
                    editedByHand << line.row;
                    typedByHand += line.previousPayments - leftPaid;
                }
            }
            if (number > 1)
                QCOMPARE(request.previousPayments,
                         DrawRequest::recorded(f.grid(), f.header, history, number - 1)->earnedLessRetainage()
                             + typedByHand);
            QCOMPARE(rowsNamed(DrawRequestChecks::ofRecorded(request, f.grid(), history), u"differ"_s), editedByHand);

            // C, D, E, F, G, %, H and retainage of each line, and the Total line last.
            const QList<QList<Cents>> lines = csvAmounts(request);
            QList<Cents> sums(8);
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                const QList<Cents> &line = lines.at(i);
                // What the owner paid, before the first draw or by hand since, holds no
                // retainage: the row's previous payments less what the draws before paid.
                const int row = request.lines.at(i).row;
                Cents opening = line[1];
                for (int earlier = 0; earlier + 1 < number; ++earlier) {
                    for (const DrawLine &paidLine : history.draws.at(earlier).lines)
                        opening -= paidLine.row == row ? paidLine.paid : 0;
                }
                QCOMPARE(line[4], line[1] + line[2] + line[3]);
                QCOMPARE(line[6], line[0] - line[4]);
                QCOMPARE(line[7], MoneyCents::share(line[4] - opening, request.retainageBasisPoints));
                for (int column = 0; column < 8; ++column)
                    sums[column] += line[column];
            }
            QCOMPARE(lines.last(), sums);
            QCOMPARE(request.sumToDate(), sums[0]);
            QCOMPARE(request.completedToDate(), sums[4]);
            QCOMPARE(request.retainage(), sums[7]);
            QCOMPARE(request.balanceToFinish(), sums[0] - request.earnedLessRetainage());
        }
        QCOMPARE(paid, payments);
    }

    void loanPaysTheWorkItFunded_data()
    {
        Rows::columns<QStringList, QString>("steps", "released");
        QTest::newRow("opening balance, 10 % then 5 %, then all released")
            << QStringList{"O5=80000", "D5=73325", "rate=1000", "E5=1000", "draw",
                           "rate=500", "E5=2000",  "draw",      "rate=0",  "draw"}
            << u"$150.00"_s;
        QTest::newRow("rates of half cents, two rows, a credit")
            << QStringList{"O5=8000.50", "O9=1234.56", "D9=100",    "rate=750", "E5=1234.57", "E9=333.33", "draw",
                           "rate=250",   "E5=99.99",   "E9=-20.01", "draw",     "rate=0",     "draw"}
            << u"$41.19"_s;
        QTest::newRow("raised, then released at once")
            << QStringList{"O5=5000", "E5=1000", "draw", "rate=1000", "E5=2000", "draw", "rate=0", "draw"}
            << u"$300.00"_s;
        // Draw 1 asks $8,500 and is funded $8,000, the rest asked again; draw 2 is funded
        // short and the owner pays the rest; draw 3 is sent back, to be asked again in full.
        QTest::newRow("funded short, paid by the owner, returned, a rate cut, released")
            << QStringList{"O5=80000",    "D5=5000",  "rate=1000", "E5=9444.44", "draw",
                           "funded=8000", "rate=500", "E5=20000",  "draw",       "funded=19000/owner",
                           "E5=3000",     "draw",     "returned",  "D5=40000",   "E5=1000",
                           "draw",        "rate=0",   "draw"}
            << u"$1,672.22"_s;
    }

    // Whatever the rates, once the retainage is released the payments due add up to the work
    // the loan paid, not a cent more or less; the request that releases retainage says so.
    void loanPaysTheWorkItFunded()
    {
        auto [steps, released] = Rows::fetch<QStringList, QString>("steps", "released");
        DocumentFixture f;
        play(f, steps);
        const EstimateHistory &history = f.document.history();
        // What the lender paid, and what the owner paid of the shortfalls, against the work
        // the draws recorded.
        Cents paid = 0;
        Cents work = 0;
        for (int number = 1; number <= history.draws.size(); ++number) {
            const Draw &draw = history.draws.at(number - 1);
            const Cents due = DrawRequest::recorded(f.grid(), f.header, history, number)->currentPaymentDue();
            const bool funded = draw.state() == DrawFunding::State::Funded;
            const bool byOwner = funded && draw.funding->shortfall == DrawFunding::Shortfall::PaidByOwner;
            paid += draw.state() == DrawFunding::State::Returned ? 0
                : byOwner || !funded                             ? due
                                                                 : draw.funding->fundedAmount;
            work += DrawSnapshot::paidIn(draw.lines);
        }
        QCOMPARE(MoneyCents::text(paid), MoneyCents::text(work));
        const DrawRequest last = *DrawRequest::recorded(f.grid(), f.header, history, int(history.draws.size()));
        QCOMPARE(last.retainage(), 0);
        QVERIFY2(last.notes().contains(u"Retainage released this period: "_s + released),
                 qPrintable(last.notes().join(u'\n')));
    }

    // Two draws recorded and saved, each exported again from the file; the checks of the
    // second name the row edited by hand, on standard error, and the export still happens.
    void commandLine_data()
    {
        Rows::columns<QStringList, QByteArray, QStringList>("arguments", "lines", "warnings");
        QTest::newRow("draw 1") << QStringList{"--draw", "1"}
                                << QByteArray("5,Rough Lumber (Lumber Co.),\"$10,000.00\",$0.00,\"$1,000.00\",$0.00,"
                                              "\"$1,000.00\",10.00%,\"$9,000.00\",$100.00\r\n"
                                              ",Total,\"$10,000.00\",$0.00,\"$1,000.00\",$0.00,\"$1,000.00\",10.00%,"
                                              "\"$9,000.00\",$100.00\r\n")
                                << QStringList();
        QTest::newRow("draw 2") << QStringList{"--draw", "2"}
                                << QByteArray(
                                       "5,Rough Lumber (Lumber Co.),\"$12,000.00\",\"$1,000.00\",$500.00,$0.00,"
                                       "\"$1,500.00\",12.50%,\"$10,500.00\",$150.00\r\n"
                                       "9,Concrete Flatwork,$0.00,$500.00,$0.00,$0.00,$500.00,,($500.00),$0.00\r\n"
                                       ",Total,\"$12,000.00\",\"$1,500.00\",$500.00,$0.00,\"$2,000.00\",16.67%,"
                                       "\"$10,000.00\",$150.00\r\n")
                                << QStringList{"9 Concrete Flatwork: work completed to date, $500.00, is more "
                                               "than the scheduled value, $0.00.",
                                               "9 Concrete Flatwork: the previous payments, $500.00, differ from "
                                               "what draw 1 left paid, $0.00."};
        QTest::newRow("the next request")
            << QStringList()
            << QByteArray("5,Rough Lumber (Lumber Co.),\"$12,000.00\",\"$1,500.00\",$0.00,"
                          "$0.00,\"$1,500.00\",12.50%,\"$10,500.00\",$150.00\r\n"
                          "9,Concrete Flatwork,$0.00,$500.00,$0.00,$0.00,$500.00,,"
                          "($500.00),$0.00\r\n"
                          ",Total,\"$12,000.00\",\"$2,000.00\",$0.00,$0.00,\"$2,000.00\","
                          "16.67%,\"$10,000.00\",$150.00\r\n")
            << QStringList{"9 Concrete Flatwork: work completed to date, $500.00, "
                           "is more than the scheduled value, $0.00.",
                           "Nothing is requested this period: no row has an amount to "
                           "be paid.",
                           "5 Rough Lumber: scheduled value up $2,000.00 with no change order"};
    }

    void commandLine()
    {
        auto [arguments, lines, warnings] =
            Rows::fetch<QStringList, QByteArray, QStringList>("arguments", "lines", "warnings");
        const QString house = m_house.path("house.vrn");
        const ProgramRun run = varn(QStringList{"--export", m_house.path("request.csv"), "--report", "draw-request"}
                                    + arguments + QStringList{house});
        QCOMPARE(run.status, 0);
        QStringList expectedErrors;
        for (const QString &warning : warnings)
            expectedErrors << u"VARN: warning: %1: %2\n"_s.arg(house, warning);
        QCOMPARE(run.errors, expectedErrors.join(QString()));
        QCOMPARE(Files::read(m_house.path("request.csv")), CsvCaptions + lines);
    }

    void unreadableHistory_data()
    {
        Rows::columns<QString, QStringList, int, QString>("output", "report", "status", "error");
        const QString reason = u"its draw history cannot be read: record 7 of 7: it is not written as VARN writes it"_s;
        const QString kept = u"VARN: warning: %1: This file holds 8 lines after the estimate that could not be read: "_s
            + reason + u". They are kept as they are and saved with the estimate."_s;
        QTest::newRow("the estimate") << "unread.csv" << QStringList() << 0 << kept;
        QTest::newRow("a copy, which keeps it") << "unread.vrn" << QStringList() << 0 << kept;
        QTest::newRow("the draw request") << "unread-request.csv" << QStringList{"--report", "draw-request"} << 1
                                          << u"VARN: cannot read the draw history of %1: "_s + reason;
    }

    // A history that cannot be read is never left out of a copy, nor made a request of.
    // The papers behind a draw are looked for in the documents folder when its request is
    // exported: the lender gets none that is gone, and the owner is told which.
    void papersLookedForOnTheCommandLine()
    {
        DocumentFixture f;
        play(f, {"O5=10000", "E5=1000", "draw"});
        const QString house = f.path("papers.vrn");
        const QString invoicePath = f.path("INV-17.pdf");
        Files::write(invoicePath, "%PDF-1.4 invoice");
        const std::optional<AttachedFile> attached = AttachmentFolder(house).attach(invoicePath);
        QVERIFY(attached);
        EstimateHistory history = f.document.history();
        Paper invoice;
        invoice.number = 1;
        invoice.amount = 100000;
        invoice.title = u"INV-17"_s;
        invoice.subject = Paper::Subject::DrawLine;
        invoice.subjectNumber = 1;
        invoice.row = 5;
        invoice.file = *attached;
        history.papers = {invoice};
        f.document.setHistory(history);
        f.dialogs.savePaths = {house};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        const QStringList arguments{"--export", f.path("request.csv"), "--report", "draw-request", "--draw", "1",
                                    house};
        QCOMPARE(varn(arguments).errors, QString());
        QVERIFY(QFile::remove(AttachmentFolder(house).absolutePath(*attached)));
        const ProgramRun run = varn(arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.errors,
                 u"VARN: warning: %1: Paper 1, \"INV-17\", is missing from the documents folder.\n"_s.arg(house));
    }

    void unreadableHistory()
    {
        auto [output, report, status, error] =
            Rows::fetch<QString, QStringList, int, QString>("output", "report", "status", "error");
        const QString cut = m_house.path("cut.vrn");
        QVERIFY(Files::write(cut, Files::read(m_house.path("house.vrn")).chopped(10)));
        const ProgramRun run = varn(QStringList{"--export", m_house.path(output)} + report + QStringList{cut});
        QCOMPARE(run.status, status);
        QCOMPARE(run.errors, error.arg(cut) + u'\n');
        QCOMPARE(QFile::exists(m_house.path(output)), status == 0);
        if (output.endsWith(u".vrn"_s))
            QCOMPARE(Files::read(m_house.path(output)), Files::read(cut) + "\r\n");
    }

    void pdf_data()
    {
        // lines: patterns of lines pdftotext reads from the pages, in order
        Rows::columns<QString, QStringList, QStringList, QStringList>("input", "arguments", "pageSizes", "lines");
        QTest::newRow("draw 2") << "house" << QStringList{"--draw", "2"} << QStringList{"612 x 792", "792 x 612"}
                                << QStringList{
                                       "DRAW REQUEST",
                                       "Application No.: 2",
                                       "Period From: December 2, 2026",
                                       "Period To: January 1, 2027",
                                       "1 Original Sum \\$10,000.00",
                                       "2 Net Change by Change Orders \\$0.00",
                                       "2a Other Adjustments \\(Adjusted Estimates Changed without a Change "
                                       "Order\\) \\$2,000.00",
                                       "3 Sum to Date \\(Line 1 \\+ 2 \\+ 2a\\) \\$12,000.00",
                                       "5 Retainage \\(10.00% of Line 4 less the owner's payments, line by line\\) "
                                       "\\$150.00",
                                       "7 Less Previous Payments \\(Line 6 of the Previous Application\\) "
                                       "\\$1,400.00",
                                       "8 Current Payment Due \\(Line 6 - 7\\) \\$450.00",
                                       "9 Balance to Finish, Including Retainage \\(Line 3 - 6\\) \\$10,150.00",
                                       "Change Order Summary Additions Deductions",
                                       "Approved in previous periods \\$0.00 \\$0.00",
                                       "Approved this period \\$0.00 \\$0.00",
                                       "Totals \\$0.00 \\$0.00",
                                       "Net change by change orders \\$0.00",
                                       "Page 1 of 2",
                                       "CONTINUATION SHEET",
                                       "Application No. 2, period December 2, 2026 to January 1, 2027",
                                       "Item Description of Work Scheduled Work Work Materials Total % \\(G / C\\) "
                                       "Balance to Retainage",
                                       "9 Concrete Flatwork \\$0.00 \\$500.00 \\$0.00 \\$0.00 \\$500.00 "
                                       "\\(\\$500.00\\) \\$0.00",
                                       "Total \\$12,000.00 \\$1,500.00 \\$500.00 \\$0.00 \\$2,000.00 16.67% "
                                       "\\$10,000.00 \\$150.00",
                                       "Page 2 of 2"};
        // What the lines leave unsaid of the retainage: held on the opening balance, released.
        QTest::newRow("retainage on the opening balance")
            << "released" << QStringList{"--draw", "1"} << QStringList{"612 x 792", "792 x 612"}
            << QStringList{"5 Retainage \\(10.00% of Line 4 less the opening balance, line by line\\) \\$100.00",
                           "7 Less Previous Payments \\(Line 6 of the Previous Application\\) \\$73,325.00",
                           "8 Current Payment Due \\(Line 6 - 7\\) \\$900.00",
                           "Retainage is held on the work the loan pays for: none is held on the \\$73,325.00 paid "
                           "before the first draw."};
        QTest::newRow("retainage released")
            << "released" << QStringList{"--draw", "2"} << QStringList{"612 x 792", "792 x 612"}
            << QStringList{"Retainage released this period: \\$50.00"};
        // The next request on the day it is to go out, not the day it is written.
        QTest::newRow("the next request, dated")
            << "house" << QStringList{"--date", "2027-03-31"} << QStringList{"612 x 792", "792 x 612"}
            << QStringList{"Application No.: 3", "Period From: January 2, 2027", "Period To: March 31, 2027"};
        // The first request runs from the start of the work.
        QTest::newRow("the first period")
            << "house" << QStringList{"--draw", "1"} << QStringList{"612 x 792", "792 x 612"}
            << QStringList{"Period From: the start of the work", "Period To: December 1, 2026",
                           "Application No. 1, period the start of the work to December 1, 2026"};
        // The continuation sheet runs on to a second page, its captions at the top again.
        QTest::newRow("every row") << "full" << QStringList() << QStringList{"612 x 792", "792 x 612", "792 x 612"}
                                   << QStringList{"8 Current Payment Due \\(Line 6 - 7\\) \\$6,660.00",
                                                  "Page 1 of 3",
                                                  "1 Permits, Fees, Surveys \\$1,000.00 \\$0.00 \\$10.00",
                                                  "Page 2 of 3",
                                                  "Item Description of Work",
                                                  "36 \\$36,000.00 \\$0.00 \\$360.00",
                                                  "Total \\$666,000.00 \\$0.00 \\$6,660.00",
                                                  "Page 3 of 3"};
    }

    // The PDF request read back: its pages upright, then turned, and its text in order.
    void pdf()
    {
        auto [input, arguments, pageSizes, lines] =
            Rows::fetch<QString, QStringList, QStringList, QStringList>("input", "arguments", "pageSizes", "lines");
        const DocumentFixture &estimate = input == u"house" ? m_house : input == u"full" ? m_full : m_released;
        const QString pdf = estimate.path("request.pdf");
        QCOMPARE(varn(QStringList{"--export", pdf, "--report", "draw-request"} + arguments
                      + QStringList{estimate.path(input + u".vrn"_s)})
                     .status,
                 0);
        QCOMPARE(Programs::pdfPageSizes(pdf), pageSizes);
        QString text = Programs::pdfText(pdf);
        text.replace(QRegularExpression(u"[ \\t]+"_s), u" "_s);
        qsizetype from = 0;
        for (const QString &line : lines) {
            const QRegularExpressionMatch found =
                QRegularExpression(u"^[\\f ]*"_s + line, QRegularExpression::MultilineOption).match(text, from);
            QVERIFY2(found.hasMatch(), qPrintable(line + u" in\n"_s + text.mid(from)));
            from = found.capturedEnd();
        }
    }

    // A next request dated before the last draw would run backwards: refused, saying why.
    void nextRequestBeforeTheLastDraw()
    {
        const ProgramRun run = varn({"--export", m_house.path("early.pdf"), "--report", "draw-request", "--date",
                                     "2026-12-31", m_house.path("house.vrn")});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.errors.endsWith(u"the next request cannot be dated before draw 2, of 2027-01-01\n"_s),
                 qPrintable(run.errors));
        QVERIFY(!QFile::exists(m_house.path("early.pdf")));
    }

    void workbook_data()
    {
        // value: a formula as its text
        // cached: what a viewer that does not calculate shows
        Rows::columns<QString, QVariant, QVariant>("cell", "value", "cached");
        QTest::newRow("G") << "Continuation Sheet!G5" << QVariant(u"=D5+E5+F5"_s) << QVariant(1500.0);
        QTest::newRow("%") << "Continuation Sheet!H5" << QVariant(u"=IF(C5=0,\"\",G5/C5)"_s) << QVariant(0.125);
        QTest::newRow("% of nothing") << "Continuation Sheet!H6" << QVariant(u"=IF(C6=0,\"\",G6/C6)"_s)
                                      << QVariant(u""_s);
        QTest::newRow("H") << "Continuation Sheet!I6" << QVariant(u"=C6-G6"_s) << QVariant(-500.0);
        QTest::newRow("retainage") << "Continuation Sheet!J5"
                                   << QVariant(u"=ROUND(ROUND(G5*100,0)*ROUND(Summary!$B$9*10000,0)/10000,0)/100"_s)
                                   << QVariant(150.0);
        QTest::newRow("total") << "Continuation Sheet!J7" << QVariant(u"=SUM(J5:J6)"_s) << QVariant(150.0);
        QTest::newRow("period from") << "Summary!B4" << QVariant(u"2026-12-02 00:00:00"_s)
                                     << QVariant(u"2026-12-02 00:00:00"_s);
        QTest::newRow("rate") << "Summary!B9" << QVariant(0.1) << QVariant(0.1);
        QTest::newRow("1 original sum") << "Summary!C11" << QVariant(10000.0) << QVariant(10000.0);
        QTest::newRow("2 by change orders") << "Summary!C12" << QVariant(u"=D26"_s) << QVariant(0.0);
        QTest::newRow("2a other adjustments") << "Summary!C13" << QVariant(u"=C14-C11-C12"_s) << QVariant(2000.0);
        QTest::newRow("5 retainage") << "Summary!C16" << QVariant(u"='Continuation Sheet'!J7"_s) << QVariant(150.0);
        QTest::newRow("7 previous payments") << "Summary!C18" << QVariant(1400.0) << QVariant(1400.0);
        QTest::newRow("8 current payment due") << "Summary!C19" << QVariant(u"=C17-C18"_s) << QVariant(450.0);
        QTest::newRow("9 balance to finish") << "Summary!C20" << QVariant(u"=C14-C17"_s) << QVariant(10150.0);
        QTest::newRow("change orders' totals") << "Summary!C25" << QVariant(u"=C23+C24"_s) << QVariant(0.0);
        QTest::newRow("net change by change orders") << "Summary!D26" << QVariant(u"=C25-D25"_s) << QVariant(0.0);
    }

    // Read back by openpyxl, as a spreadsheet opens it: formulas, and the results they hold.
    void workbook()
    {
        auto [cell, value, cached] = Rows::fetch<QString, QVariant, QVariant>("cell", "value", "cached");
        if (m_workbook.isEmpty()) {
            const QString xlsx = m_house.path("request.xlsx");
            QCOMPARE(
                varn({"--export", xlsx, "--report", "draw-request", "--draw", "2", m_house.path("house.vrn")}).status,
                0);
            static const char script[] = R"(
import json, sys, openpyxl
formulas = openpyxl.load_workbook(sys.argv[1])
results = openpyxl.load_workbook(sys.argv[1], data_only=True)
cells = {}
for sheet in formulas:
    for row in sheet.iter_rows():
        for c in row:
            if c.value is not None:
                cached = results[sheet.title][c.coordinate].value
                cells[sheet.title + "!" + c.coordinate] = [c.value, "" if cached is None else cached]
print(json.dumps(cells, default=str))
)";
            const ProgramRun read = Programs::run(Programs::openpyxlPython(), {"-c", QLatin1String(script), xlsx});
            m_workbook = QJsonDocument::fromJson(read.output.toUtf8()).toVariant().toMap();
        }
        const QVariantList read = m_workbook.value(cell).toList();
        QCOMPARE(read.value(0), value);
        QCOMPARE(read.value(1), cached);
    }

    void recalculatedBySpreadsheetEngine_data()
    {
        Rows::columns<int>("basisPoints");
        QTest::newRow("7.5 %") << 750;
        QTest::newRow("2.5 %") << 250;
    }

    // Gnumeric recalculates the workbook: every line's retainage, on amounts that end in half a
    // cent and a credit among them, and the summary come out to the program's cents.
    void recalculatedBySpreadsheetEngine()
    {
        auto [basisPoints] = Rows::fetch<int>("basisPoints");
        if (!Programs::installed({"ssconvert"}))
            QSKIP("Gnumeric's ssconvert is needed to recalculate the workbook");
        DocumentFixture f;
        play(f,
             {u"rate=%1"_s.arg(basisPoints), "O5=100", "E5=64.60", "O9=100", "E9=78.60", "O12=100", "E12=-1",
              "O14=1000", "D14=500", "E14=12.30", "approved=719.20", "approved=-0.05", "A12=100.01"});
        f.dialogs.savePaths = {f.path("house.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        const DrawRequest request = DrawRequest::next(f.grid(), f.header, f.document.history(), FirstDrawDate);
        QCOMPARE(varn({"--export", f.path("request.xlsx"), "--report", "draw-request", f.path("house.vrn")}).status, 0);
        QCOMPARE(Programs::run("ssconvert", {"--recalc", "-S", f.path("request.xlsx"), f.path("sheet%n.csv")}).status,
                 0);
        // The last field of a line, which descriptions holding commas do not move.
        const auto lastFields = [&](const QString &file, const QRegularExpression &line) {
            QList<Cents> cents;
            for (const QByteArray &text : Files::read(f.path(file)).split('\n')) {
                QByteArray fields = text.trimmed();
                while (fields.endsWith(','))
                    fields.chop(1);
                if (line.match(QString::fromUtf8(fields)).hasMatch())
                    cents << qRound64(fields.split(',').last().toDouble() * 100);
            }
            return cents;
        };
        QList<Cents> retainage;
        for (const DrawRequestLine &line : request.lines)
            retainage << line.retainage;
        QCOMPARE(lastFields(u"sheet1.csv"_s, QRegularExpression(u"^\\d+,"_s)), retainage);
        QCOMPARE(lastFields(u"sheet0.csv"_s, QRegularExpression(u"^(2a?|3|5|6|8),"_s)),
                 (QList<Cents>{request.netChangeByChangeOrders(), request.otherAdjustments(), request.sumToDate(),
                               request.retainage(), request.earnedLessRetainage(), request.currentPaymentDue()}));
        QCOMPARE(request.netChangeByChangeOrders(), Cents(71915));
        QCOMPARE(request.otherAdjustments(), Cents(1));
    }

    void loanFigures_data()
    {
        Rows::columns<QStringList, QDate, QString, QString>("steps", "asOf", "interest", "outOfBalance");
        const QStringList twoDraws{"loan=100000",  "interest=6000", "O5=50000", "E5=10000",   "draw",
                                   "funded=10000", "E5=5000",       "draw",     "funded=5000"};
        QTest::newRow("the day of the first funding") << twoDraws << QDate(2026, 12, 1) << u"$0.00"_s << u"$0.00"_s;
        QTest::newRow("a day short of three months") << twoDraws << QDate(2027, 2, 28) << u"$125.00"_s << u"$0.00"_s;
        QTest::newRow("three months") << twoDraws << QDate(2027, 3, 1) << u"$200.00"_s << u"$0.00"_s;
        // $35,000 left to pay of the row against $85,000 of the loan: in balance until the
        // estimate grows past what is left.
        QTest::newRow("the estimate grown past the loan")
            << (twoDraws + QStringList{"A5=150000"}) << QDate(2027, 3, 1) << u"$200.00"_s << u"$50,000.00"_s;
        QTest::newRow("a pending change order past the loan")
            << (twoDraws + QStringList{"pending=60000"}) << QDate(2027, 3, 1) << u"$200.00"_s << u"$10,000.00"_s;
    }

    // The interest on each funding for the whole months since, and the deposit the owner must
    // make before the loan can finish the house.
    void loanFigures()
    {
        auto [steps, asOf, interest, outOfBalance] =
            Rows::fetch<QStringList, QDate, QString, QString>("steps", "asOf", "interest", "outOfBalance");
        DocumentFixture f;
        play(f, steps);
        const LoanFigures figures = LoanFigures::of(f.grid(), f.header, f.document.history(), asOf);
        QCOMPARE(MoneyCents::text(figures.interestToDate), interest);
        QCOMPARE(MoneyCents::text(figures.outOfBalance), outOfBalance);
        QCOMPARE(figures.undisbursed, Cents(8500000));
    }

    void requestedOnce_data()
    {
        // requested and notFunded: as LoanFigures gives them, each amount asked once
        Rows::columns<QStringList, QString, QString>("steps", "requested", "notFunded");
        const QStringList first{"loan=100000", "O5=50000", "E5=10000", "draw"};
        QTest::newRow("not funded yet") << first << u"$10,000.00"_s << u"$10,000.00"_s;
        QTest::newRow("returned, asked again and funded")
            << (first + QStringList{"returned", "E5=5000", "draw", "funded=15000"}) << u"$15,000.00"_s << u"$0.00"_s;
        QTest::newRow("short, carried, the next not funded yet")
            << (first + QStringList{"funded=9000", "E5=5000", "draw"}) << u"$15,000.00"_s << u"$6,000.00"_s;
        QTest::newRow("short, paid by the owner")
            << (first + QStringList{"funded=9000/owner"}) << u"$10,000.00"_s << u"$0.00"_s;
    }

    // What the draws asked of the loan counts an amount asked again once, and what is left
    // unfunded is neither funded nor paid by the owner.
    void requestedOnce()
    {
        auto [steps, requested, notFunded] =
            Rows::fetch<QStringList, QString, QString>("steps", "requested", "notFunded");
        DocumentFixture f;
        play(f, steps);
        const LoanFigures figures = LoanFigures::of(f.grid(), f.header, f.document.history(), QDate(2027, 6, 1));
        QCOMPARE(MoneyCents::text(figures.requested), requested);
        QCOMPARE(MoneyCents::text(figures.notFunded), notFunded);
    }

    // The statement written from the saved file accounts for every cent, as the hand table.
    void loanStatement()
    {
        const ProgramRun run =
            varn({"--export", m_loan.path("statement.csv"), "--report", "loan", m_loan.path("loan.vrn")});
        QCOMPARE(run.status, 0);
        QByteArray expected = "Draw,Date,State,Funded On,Requested,Funded,Fees Withheld,Retainage Held,Retainage "
                              "Released,Owner's Cash,Undisbursed After\r\n";
        for (const QStringList &line : FiveDrawStatement) {
            QStringList fields;
            for (const QString &field : line)
                fields << (field.contains(u',') ? u'"' + field + u'"' : field);
            expected += fields.join(u',').toUtf8() + "\r\n";
        }
        QCOMPARE(Files::read(m_loan.path("statement.csv")), expected + "Interest to date,$0.00\r\n");
    }

    void loanStatementPdf_data()
    {
        Rows::columns<QString, QStringList, bool>("estimate", "shown", "interestShown");
        QStringList fiveDraws{u"LOAN STATEMENT"_s,
                              u"Name: Pat Owner"_s,
                              u"BUILDER: Owner-builder"_s,
                              u"PROP. ADDRESS: 12 Elm Road"_s,
                              u"Lender: First Federal"_s,
                              u"Loan No.: CL-2291"_s,
                              u"Loan Amount: $30,000.00"_s,
                              u"Closing Date: November 16, 2026"_s,
                              u"Maturity Date: November 16, 2027"_s};
        for (const QStringList &line : FiveDrawStatement)
            fiveDraws << QStringList(line).filter(QRegularExpression(u"."_s)).join(u' ');
        fiveDraws << u"As of "_s + asOfText();
        QTest::newRow("five draws") << m_loan.path("loan.vrn") << fiveDraws << false;
        // $12,000 at 6 % for three whole months.
        QTest::newRow("interest") << m_interest.path("interest.vrn")
                                  << QStringList{u"Interest Rate: 6 %"_s, u"Interest to date: $180.00"_s,
                                                 u"As of "_s + asOfText()}
                                  << true;
    }

    // The statement as a lender reads it on paper: the loan's terms, each draw's line and the
    // totals of the hand table, the interest only where the loan bears interest.
    void loanStatementPdf()
    {
        auto [estimate, shown, interestShown] =
            Rows::fetch<QString, QStringList, bool>("estimate", "shown", "interestShown");
        const QString pdf = m_loan.path("statement.pdf");
        const ProgramRun run = varn({"--export", pdf, "--report", "loan", estimate});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QStringList lines;
        for (const QString &line : Programs::pdfText(pdf).split(u'\n'))
            lines << line.simplified();
        qsizetype from = 0;
        for (const QString &line : shown) {
            from = lines.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable(line + u" in:\n"_s + lines.join(u'\n')));
        }
        QCOMPARE(lines.filter(u"Interest to date"_s).size(), interestShown ? 1 : 0);
    }

    // Sixty draws run onto pages of their own: each page numbered under the column captions,
    // and every draw on one line of one of them.
    void loanStatementOverPages()
    {
        EstimateContent content = Histories::estimateWithDraws(60);
        content.history.loan = Loan{};
        content.history.loan->amount = MoneyCents::fromText(u"$9,000,000.00"_s);
        QVERIFY(EstimateFile::save(m_loan.path("sixty.vrn"), content));
        const QString pdf = m_loan.path("sixty.pdf");
        const ProgramRun run = varn({"--export", pdf, "--report", "loan", m_loan.path("sixty.vrn")});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        const QStringList pages = Programs::pdfText(pdf).split(u'\f', Qt::SkipEmptyParts).filter(u"Page"_s);
        QCOMPARE(pages.size(), Programs::pdfPageSizes(pdf).size());
        QVERIFY(pages.size() > 1);
        QList<int> draws;
        static const QRegularExpression drawLine(u"^ *(\\d+) +\\d{4}-\\d\\d-\\d\\d "_s,
                                                 QRegularExpression::MultilineOption);
        for (qsizetype page = 0; page < pages.size(); ++page) {
            QVERIFY(pages.at(page).contains(u"Requested"_s) && pages.at(page).contains(u"Undisbursed"_s));
            QVERIFY(pages.at(page).contains(u"Page %1"_s.arg(page + 1)));
            for (auto match = drawLine.globalMatch(pages.at(page)); match.hasNext();)
                draws << match.next().captured(1).toInt();
        }
        QList<int> everyDraw(60);
        std::iota(everyDraw.begin(), everyDraw.end(), 1);
        QCOMPARE(draws, everyDraw);
        QVERIFY(pages.last().contains(u"Total"_s));
    }

    void loanWorksheet_data()
    {
        Rows::columns<QString, QStringList>("estimate", "sheets");
        QTest::newRow("no loan, no funding") << m_house.path("house.vrn") << QStringList{u"Cost Estimate"_s};
        QTest::newRow("a loan") << m_loan.path("loan.vrn") << QStringList{u"Cost Estimate"_s, u"Loan"_s};
    }

    // The estimate's workbook holds the statement where a loan or a funding is kept, read back
    // as a spreadsheet opens it: numbers in currency form and the Total row's formulas, which
    // hold, and after Gnumeric recalculates them give, the hand table's cents.
    void loanWorksheet()
    {
        auto [estimate, sheets] = Rows::fetch<QString, QStringList>("estimate", "sheets");
        const QString xlsx = m_loan.path("house.xlsx");
        QCOMPARE(varn({"--export", xlsx, estimate}).status, 0);
        static const char script[] = R"(
import json, sys, openpyxl
formulas = openpyxl.load_workbook(sys.argv[1])
results = openpyxl.load_workbook(sys.argv[1], data_only=True)
rows = []
if "Loan" in formulas.sheetnames:
    for row in formulas["Loan"].iter_rows(min_row=2, max_row=7):
        rows.append([[c.value, results["Loan"][c.coordinate].value, c.number_format] for c in row])
print(json.dumps({"sheets": formulas.sheetnames, "rows": rows}, default=str))
)";
        const QVariantMap read =
            QJsonDocument::fromJson(
                Programs::run(Programs::openpyxlPython(), {"-c", QLatin1String(script), xlsx}).output.toUtf8())
                .toVariant()
                .toMap();
        QCOMPARE(read.value("sheets").toStringList(), sheets);
        if (sheets.size() == 1)
            return;
        const QVariantList rows = read.value("rows").toList();
        QCOMPARE(rows.size(), FiveDrawStatement.size());
        const QStringList totals{"=SUM(E2:E6)", "=SUM(F2:F6)", "=SUM(G2:G6)", "=H6",
                                 "=SUM(I2:I6)", "=SUM(J2:J6)", "=K6"};
        for (qsizetype row = 0; row < rows.size(); ++row) {
            const QVariantList cells = rows.at(row).toList();
            const QStringList &hand = FiveDrawStatement.at(row);
            QCOMPARE(cells.at(0).toList().at(1).toString(), hand.at(0));
            for (int column = 4; column < 11; ++column) {
                const QVariantList cell = cells.at(column).toList();
                QCOMPARE(cell.at(0).toString(), row < 5 ? cell.at(1).toString() : totals.at(column - 4));
                QCOMPARE(qRound64(cell.at(1).toDouble() * 100), MoneyCents::fromText(hand.at(column)));
                QCOMPARE(cell.at(2).toString(), u"\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)"_s);
            }
        }
        if (!Programs::installed({"ssconvert"}))
            QSKIP("Gnumeric's ssconvert is needed to recalculate the workbook");
        QCOMPARE(Programs::run("ssconvert", {"--recalc", "-S", xlsx, m_loan.path("loan%n.csv")}).status, 0);
        const QList<QByteArray> recalculated = Files::read(m_loan.path("loan1.csv")).split('\n');
        for (qsizetype row = 0; row < FiveDrawStatement.size(); ++row) {
            const QList<QByteArray> fields = recalculated.at(row + 1).trimmed().split(',');
            for (int column = 4; column < 11; ++column)
                QCOMPARE(qRound64(fields.at(column).toDouble() * 100),
                         MoneyCents::fromText(FiveDrawStatement.at(row).at(column)));
        }
    }

private:
    static QString asOfText() { return QDate::currentDate().toString(u"MMMM d, yyyy"_s); }

    DocumentFixture m_house;
    DocumentFixture m_loan;
    DocumentFixture m_interest;
    DocumentFixture m_released;
    DocumentFixture m_full;
    QVariantMap m_workbook;
    const QByteArray CsvCaptions = "Item No.,Description of Work,Scheduled Value,Work Completed From Previous "
                                   "Application,Work Completed This Period,Materials Presently Stored,Total Completed "
                                   "and Stored to Date,% (G / C),Balance to Finish (C - G),Retainage\r\n";
};

QTEST_GUILESS_MAIN(TestDrawRequest)
#include "tst_drawrequest.moc"
