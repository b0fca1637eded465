#include "core/export/drawrequestcsv.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/history/moneycents.h"
#include "core/sheet/currentpayments.h"
#include "support/documentfixture.h"

#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {
const QDate FirstDrawDate(2026, 12, 1);

// Plays the steps of a month-by-month build on the document: "O5=15000" types an original
// estimate into row 5 (A the adjusted estimate, D the previous payment, E the current
// amount), "rate=500" makes the retainage 5 %, and "draw" records the current payments. The
// next request, made just before each draw, is kept.
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
                                        u"month %1"_s.arg(history.draws.size() + 1));
        } else if (parts.first() == u"rate") {
            history.retainageBasisPoints = parts.last().toInt();
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

QList<int> rowsNamed(const QStringList &checks, const QString &finding)
{
    QList<int> rows;
    static const QRegularExpression row(u"^Row (\\d+)"_s);
    for (const QString &check : checks) {
        if (check.contains(finding))
            rows << row.match(check).captured(1).toInt();
    }
    return rows;
}

struct Run
{
    int status = -1;
    QByteArray output;
    QString errors;
};

Run varn(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VARN_EXECUTABLE), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            {},
            QString::fromUtf8(process.readAllStandardError())};
}
}

class TestDrawRequest : public QObject
{
    Q_OBJECT

private slots:
    void invariants_data()
    {
        QTest::addColumn<QStringList>("steps");
        // Each draw's line 7 (previous payments) and line 8 (current payment due).
        QTest::addColumn<QStringList>("payments");
        QTest::newRow("opening balance") << QStringList{"O5=15000", "D5=2000", "E5=1000", "draw",
                                                        "E5=3000",  "O9=800",  "E9=800",  "draw"}
                                         << QStringList{"$2,000.00 then $1,000.00", "$3,000.00 then $3,800.00"};
        QTest::newRow("retainage, changed between draws")
            << QStringList{"rate=1000", "O5=15000", "O9=8000.50", "E5=1500",  "E9=800.25", "draw",
                           "rate=500",  "E5=2000",  "draw",       "E9=99.99", "draw"}
            << QStringList{"$0.00 then $2,070.22", "$2,070.22 then $2,015.02", "$4,085.24 then $94.99"};
        QTest::newRow("hand edits") << QStringList{"O5=10000", "E5=1000", "draw", "A5=12000",
                                                   "D9=500",   "E5=500",  "draw"}
                                    << QStringList{"$0.00 then $1,000.00", "$1,000.00 then $1,000.00"};
        QTest::newRow("overrun, then a refund") << QStringList{"O5=1000", "E5=1200", "draw", "E5=-200", "draw"}
                                                << QStringList{"$0.00 then $1,200.00", "$1,200.00 then ($200.00)"};
    }

    // Each recorded draw's request is the request made just before it was recorded; its
    // line 7 is the previous request's line 6; its previous payments are what the draw
    // before left paid, but where the checks name a row edited by hand; its lines and the
    // summary add up to the cent.
    void invariants()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, payments);
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
            if (number > 1)
                QCOMPARE(request.previousPayments,
                         DrawRequest::recorded(f.grid(), f.header, history, number - 1)->earnedLessRetainage());

            QList<int> editedByHand;
            const Draw &before = number > 1 ? history.draws.at(number - 2) : Draw();
            for (const DrawLine &line : history.draws.at(number - 1).lines) {
                Cents leftPaid = 0;
                for (const DrawLine &earlier : before.lines)
                    leftPaid += earlier.row == line.row ? earlier.previousPayments + earlier.paid : 0;
                if (number > 1 && line.previousPayments != leftPaid)
                    editedByHand << line.row;
            }
            QCOMPARE(rowsNamed(DrawRequestChecks::ofRecorded(request, f.grid(), history), u"differ"_s), editedByHand);

            // C, D, E, F, G, %, H and retainage of each line, and the Total line last.
            const QList<QList<Cents>> lines = csvAmounts(request);
            QList<Cents> sums(8);
            for (const QList<Cents> &line : lines.first(lines.size() - 1)) {
                QCOMPARE(line[4], line[1] + line[2] + line[3]);
                QCOMPARE(line[6], line[0] - line[4]);
                QCOMPARE(line[7], MoneyCents::share(line[4], request.retainageBasisPoints));
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

    // Two draws recorded and saved, each exported again from the file; the checks of the
    // second name the row edited by hand, on standard error, and the export still happens.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QStringList>("warnings");
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
                                       "9,Concrete Flatwork,$0.00,$500.00,$0.00,$0.00,$500.00,,($500.00),$50.00\r\n"
                                       ",Total,\"$12,000.00\",\"$1,500.00\",$500.00,$0.00,\"$2,000.00\",16.67%,"
                                       "\"$10,000.00\",$200.00\r\n")
                                << QStringList{"Row 9 (Concrete Flatwork): work completed to date, $500.00, is more "
                                               "than the scheduled value, $0.00.",
                                               "Row 9 (Concrete Flatwork): the previous payments, $500.00, differ from "
                                               "what draw 1 left paid, $0.00."};
        QTest::newRow("the next request")
            << QStringList()
            << QByteArray("5,Rough Lumber (Lumber Co.),\"$12,000.00\",\"$1,500.00\",$0.00,"
                          "$0.00,\"$1,500.00\",12.50%,\"$10,500.00\",$150.00\r\n"
                          "9,Concrete Flatwork,$0.00,$500.00,$0.00,$0.00,$500.00,,"
                          "($500.00),$50.00\r\n"
                          ",Total,\"$12,000.00\",\"$2,000.00\",$0.00,$0.00,\"$2,000.00\","
                          "16.67%,\"$10,000.00\",$200.00\r\n")
            << QStringList{"Row 9 (Concrete Flatwork): work completed to date, $500.00, "
                           "is more than the scheduled value, $0.00.",
                           "Nothing is requested this period: no row has an amount to "
                           "be paid."};
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, lines);
        QFETCH(QStringList, warnings);
        DocumentFixture f;
        f.enter(5, EstimateSheet::SupplierColumn, u"Lumber Co."_s);
        play(f, {"rate=1000", "O5=10000", "E5=1000", "draw", "A5=12000", "D9=500", "E5=500", "draw"});
        f.dialogs.savePaths = {f.path("house.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);

        const Run run = varn(QStringList{"--export", f.path("request.csv"), "--report", "draw-request"} + arguments
                             + QStringList{f.path("house.vrn")});
        QCOMPARE(run.status, 0);
        QStringList expectedErrors;
        for (const QString &warning : warnings)
            expectedErrors << u"VARN: warning: %1: %2\n"_s.arg(f.path("house.vrn"), warning);
        QCOMPARE(run.errors, expectedErrors.join(QString()));
        QFile csv(f.path("request.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), CsvCaptions + lines);
    }

private:
    const QByteArray CsvCaptions = "Item No.,Description of Work,Scheduled Value,Work Completed From Previous "
                                   "Application,Work Completed This Period,Materials Presently Stored,Total Completed "
                                   "and Stored to Date,% (G / C),Balance to Finish (C - G),Retainage\r\n";
};

QTEST_GUILESS_MAIN(TestDrawRequest)
#include "tst_drawrequest.moc"
