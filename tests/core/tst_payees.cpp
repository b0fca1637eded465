#include "core/history/lienwaivers.h"
#include "core/history/payees.h"
#include "support/rows.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// What a change to the payees or their waivers is asked to do; each row tries it on a history
// that holds the fault, or on one that does not.
enum class Attempt {
    NamelessPayee,
    RowOffTheSheet,
    DeletePaidPayee,
    UnlinkPaidRow,
    GiveDrawnRow,
    DeletePayeeWithWaiver,
    DeletePayeeWithPaper,
    WaiverForMissingDraw,
    WaiverForNextRequest,
    WaiverForMissingPayee,
    NegativeWaiver,
    SecondWaiverOfAKind,
    ReceivedNotRequested,
    ReceivedOnMissingPaper,
};

// Two payees, the framer on row 8 and the roofer on row 9, and draws 1 and 3. With paid,
// draw 3 paid the roofing row, whose only payee is the roofer.
EstimateHistory twoPayees(bool paid)
{
    EstimateHistory history;
    history.payees = {Payee{1, u"Ace Framing"_s, u"Framing"_s, {}, {}, {}, {}, {}, {PayeeRow{8, {}}}, {}},
                      Payee{2, u"Bay Roofing"_s, u"Roofing"_s, {}, {}, {}, {}, {}, {PayeeRow{9, {}}}, {}}};
    Draw first;
    first.number = 1;
    Draw third;
    third.number = 3;
    DrawLine roofing;
    roofing.row = 9;
    roofing.paid = paid ? 120000 : 0;
    third.lines = {roofing};
    history.draws = {first, third};
    return history;
}

// A paper kept with payee 2.
Paper paperOfPayee(int number)
{
    Paper paper;
    paper.number = number;
    paper.kind = Paper::Kind::Other;
    paper.subject = Paper::Subject::Payee;
    paper.subjectNumber = 2;
    return paper;
}

LienWaiver waiver(int payee, int draw, Cents amount)
{
    LienWaiver waiver;
    waiver.payee = payee;
    waiver.draw = draw;
    waiver.amount = amount;
    waiver.through = QDate(2026, 11, 30);
    return waiver;
}

bool attempt(Attempt what, bool faulty, QString *errorString)
{
    const bool paid =
        what == Attempt::DeletePaidPayee || what == Attempt::UnlinkPaidRow || what == Attempt::GiveDrawnRow;
    EstimateHistory history = twoPayees(faulty && paid);
    Payee changed = *Payees::find(history, 2);
    switch (what) {
    case Attempt::NamelessPayee:
        changed.name = faulty ? u"  "_s : u"Bay Roofing and Gutters"_s;
        return Payees::put(history, changed, errorString);
    case Attempt::RowOffTheSheet:
        return Payees::linkRow(history, 2, faulty ? 37 : 36, errorString);
    case Attempt::DeletePaidPayee:
        return Payees::remove(history, 2, errorString);
    case Attempt::UnlinkPaidRow:
        return Payees::unlinkRow(history, 2, 9, errorString);
    case Attempt::GiveDrawnRow: {
        // Draw 3 paid row 12 as well, before any payee was on it.
        DrawLine wiring;
        wiring.row = 12;
        wiring.paid = 50000;
        history.draws.last().lines << wiring;
        if (faulty) {
            Payee framer = *Payees::find(history, 1);
            framer.rows << PayeeRow{9, {}};
            return Payees::put(history, framer, errorString);
        }
        return Payees::put(history, Payee{3, u"Cole Electric"_s, {}, {}, {}, {}, {}, {}, {PayeeRow{12, {}}}, {}},
                           errorString);
    }
    case Attempt::DeletePayeeWithWaiver:
        if (faulty)
            history.waivers = {waiver(2, 3, 0)};
        return Payees::remove(history, 2, errorString);
    case Attempt::DeletePayeeWithPaper:
        if (faulty)
            history.papers = {paperOfPayee(4)};
        return Payees::remove(history, 2, errorString);
    case Attempt::WaiverForMissingDraw:
        return LienWaivers::add(history, waiver(2, faulty ? 2 : 3, 1000), errorString);
    case Attempt::WaiverForNextRequest:
        history.draws.removeLast();
        return LienWaivers::add(history, waiver(2, faulty ? 3 : 2, 1000), errorString);
    case Attempt::WaiverForMissingPayee:
        return LienWaivers::add(history, waiver(faulty ? 3 : 2, 3, 1000), errorString);
    case Attempt::NegativeWaiver:
        return LienWaivers::add(history, waiver(2, 3, faulty ? -1 : 0), errorString);
    case Attempt::SecondWaiverOfAKind: {
        LienWaiver first = waiver(2, 3, 1000);
        LienWaiver second = waiver(2, 3, 2000);
        if (!faulty)
            second.kind = LienWaiver::Kind::UnconditionalProgress;
        return LienWaivers::add(history, first) && LienWaivers::add(history, second, errorString);
    }
    case Attempt::ReceivedNotRequested:
        if (!faulty)
            LienWaivers::add(history, waiver(2, 3, 1000));
        return LienWaivers::markReceived(history, waiver(2, 3, 1000), errorString);
    case Attempt::ReceivedOnMissingPaper: {
        history.papers = {paperOfPayee(4)};
        LienWaiver signedWaiver = waiver(2, 3, 1000);
        LienWaivers::add(history, signedWaiver);
        signedWaiver.paper = faulty ? 5 : 4;
        return LienWaivers::markReceived(history, signedWaiver, errorString);
    }
    }
    return false;
}
}

Q_DECLARE_METATYPE(Attempt)

class TestPayees : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data()
    {
        Rows::columns<Attempt, QString>("attempt", "reason");
        QTest::newRow("a payee without a name") << Attempt::NamelessPayee << u"Give the payee a name."_s;
        QTest::newRow("a row below the sheet's items")
            << Attempt::RowOffTheSheet << u"A payee works on the rows 1 to 36, not on row 37."_s;
        QTest::newRow("deleting a payee a draw paid")
            << Attempt::DeletePaidPayee
            << u"Payee 2 is paid in draw 3: it stays, so that the draw's papers still name it."_s;
        QTest::newRow("taking a paid row off its payee")
            << Attempt::UnlinkPaidRow
            << u"Row 9 was paid to payee 2 in draw 3: it stays with that payee, so that the draw's papers still "
               u"name it."_s;
        QTest::newRow("a paid row put first under another payee")
            << Attempt::GiveDrawnRow
            << u"Row 9 was paid to payee 2 in draw 3: it stays with that payee, so that the draw's papers still "
               u"name it."_s;
        QTest::newRow("deleting a payee with a waiver")
            << Attempt::DeletePayeeWithWaiver << u"Payee 2 has a lien waiver for draw 3: remove the waiver first."_s;
        QTest::newRow("deleting a payee with a paper")
            << Attempt::DeletePayeeWithPaper << u"Payee 2 has paper 4 kept with it: it stays with its paper."_s;
        QTest::newRow("a waiver for a draw not recorded")
            << Attempt::WaiverForMissingDraw
            << u"There is no draw 2: a lien waiver is for a draw recorded or the next request."_s;
        QTest::newRow("a waiver for the request after the next")
            << Attempt::WaiverForNextRequest
            << u"There is no draw 3: a lien waiver is for a draw recorded or the next request."_s;
        QTest::newRow("a waiver of a payee not listed") << Attempt::WaiverForMissingPayee << u"There is no payee 3."_s;
        QTest::newRow("a waiver for less than nothing")
            << Attempt::NegativeWaiver << u"A lien waiver's amount is $0.00 or more, not ($0.01)."_s;
        QTest::newRow("two waivers of one kind for one draw")
            << Attempt::SecondWaiverOfAKind << u"Payee 2 already has a conditional progress waiver for draw 3."_s;
        QTest::newRow("a waiver received that was never asked for")
            << Attempt::ReceivedNotRequested << u"Payee 2 has no conditional progress waiver for draw 3."_s;
        QTest::newRow("a waiver received on a paper not kept")
            << Attempt::ReceivedOnMissingPaper << u"There is no paper 5."_s;
    }

    // Each refusal on its case says why, and the same change without the fault is done.
    void refusals()
    {
        auto [what, reason] = Rows::fetch<Attempt, QString>("attempt", "reason");
        QString errorString;
        QVERIFY(!attempt(what, true, &errorString));
        QCOMPARE(errorString, reason);
        errorString.clear();
        QVERIFY2(attempt(what, false, &errorString), qPrintable(errorString));
    }

    // The highest payee deleted keeps its number from being given again, until a later payee
    // is added past it.
    void deletedNumberNotGivenAgain()
    {
        EstimateHistory history = twoPayees(false);
        QCOMPARE(Payees::nextNumber(history), 3);
        QVERIFY(Payees::remove(history, 2));
        QCOMPARE(history.deletedPayeeNumber, 2);
        QCOMPARE(Payees::nextNumber(history), 3);
        QVERIFY(Payees::put(history, Payee{3, u"Cole Electric"_s, {}, {}, {}, {}, {}, {}, {}, {}}));
        QCOMPARE(history.deletedPayeeNumber, 0);
        QCOMPARE(Payees::nextNumber(history), 4);
        QVERIFY(Payees::remove(history, 1));
        QCOMPARE(history.deletedPayeeNumber, 0);
        QCOMPARE(Payees::nextNumber(history), 4);
    }

    // A row linked once stays linked once, and unlinking takes it off the payee.
    void linkAndUnlinkRows()
    {
        EstimateHistory history = twoPayees(false);
        QVERIFY(Payees::linkRow(history, 1, 12));
        QVERIFY(Payees::linkRow(history, 1, 12));
        QCOMPARE(Payees::registerTexts(*Payees::find(history, 1)).at(3), u"8, 12"_s);
        QVERIFY(Payees::unlinkRow(history, 1, 8));
        QCOMPARE(Payees::registerTexts(*Payees::find(history, 1)).at(3), u"12"_s);
    }

    // A waiver comes back signed on its paper, sometimes for another amount or day than asked.
    void waiverReceived()
    {
        EstimateHistory history = twoPayees(false);
        history.papers = {paperOfPayee(4)};
        QVERIFY(LienWaivers::add(history, waiver(2, 3, 120000)));
        LienWaiver signedWaiver = waiver(2, 3, 115000);
        signedWaiver.through = QDate(2026, 12, 2);
        signedWaiver.paper = 4;
        QVERIFY(LienWaivers::markReceived(history, signedWaiver));
        QCOMPARE(
            LienWaivers::registerTexts(LienWaivers::of(history, 2).value(0)),
            (QStringList{u"3"_s, u"Conditional progress"_s, u"$1,150.00"_s, u"2026-12-02"_s, u"Received"_s, u"4"_s}));
        QVERIFY(LienWaivers::remove(history, 2, 3, LienWaiver::Kind::ConditionalProgress));
        QVERIFY(LienWaivers::of(history, 2).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPayees)
#include "tst_payees.moc"
