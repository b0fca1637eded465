#include "core/history/payeechecks.h"
#include "core/sheet/estimatesheet.h"
#include "support/rows.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
DrawLine paying(int row, Cents paid)
{
    DrawLine line;
    line.row = row;
    line.paid = paid;
    return line;
}

Payee payee(int number, const QString &name, int row)
{
    Payee payee;
    payee.number = number;
    payee.name = name;
    payee.rows = {{row, {}}};
    payee.taxFormReceived = QDate(2026, 11, 1);
    payee.insuranceExpires = QDate(2027, 6, 30);
    return payee;
}

Paper invoice(int number, int draw, int row, Cents amount)
{
    Paper paper;
    paper.number = number;
    paper.kind = Paper::Kind::Invoice;
    paper.amount = amount;
    paper.title = u"INV-%1"_s.arg(number);
    paper.subject = Paper::Subject::DrawLine;
    paper.subjectNumber = draw;
    paper.row = row;
    return paper;
}

LienWaiver waiver(int payee, int draw, LienWaiver::Kind kind, Cents amount)
{
    return {payee, draw, kind, amount, {}, LienWaiver::Status::Received, 0, {}};
}

// Two draws with every paper a lender asks for: the roofer paid in both, the lumber yard in
// the first; each payment's conditional waiver, the first draw's unconditional ones, and
// invoices for every line.
EstimateHistory papersInOrder()
{
    EstimateHistory history;
    history.payees = {payee(1, u"Summit Roofing"_s, 5), payee(2, u"Mill & Sons"_s, 8)};
    Draw first;
    first.number = 1;
    first.date = QDate(2026, 12, 1);
    first.lines = {paying(5, 250000), paying(8, 100000)};
    Draw second;
    second.number = 2;
    second.date = QDate(2027, 1, 1);
    second.lines = {paying(5, 100000)};
    history.draws = {first, second};
    using Kind = LienWaiver::Kind;
    history.waivers = {waiver(1, 1, Kind::ConditionalProgress, 250000), waiver(2, 1, Kind::ConditionalProgress, 100000),
                       waiver(1, 1, Kind::UnconditionalProgress, 250000),
                       waiver(2, 1, Kind::UnconditionalProgress, 100000),
                       waiver(1, 2, Kind::ConditionalProgress, 100000)};
    history.papers = {invoice(1, 1, 5, 250000), invoice(2, 1, 8, 100000), invoice(3, 2, 5, 100000)};
    return history;
}

LienWaiver &waiverOf(EstimateHistory &history, int payee, int draw, bool conditional)
{
    return *std::find_if(history.waivers.begin(), history.waivers.end(), [&](const LienWaiver &waiver) {
        return waiver.payee == payee && waiver.draw == draw && waiver.isConditional() == conditional;
    });
}

void removeWaiver(EstimateHistory &history, int payee, int draw, bool conditional)
{
    history.waivers.removeIf([&](const LienWaiver &waiver) {
        return waiver.payee == payee && waiver.draw == draw && waiver.isConditional() == conditional;
    });
}

struct Case
{
    const char *name;
    std::function<void(EstimateHistory &)> change;
    PayeeChecks::UnavailablePapers unavailable;
    QStringList findings;
};

const QList<Case> &cases()
{
    static const QList<Case> all = {
        {"every paper there", [](EstimateHistory &) {}, {}, {}},
        {"no conditional waiver",
         [](EstimateHistory &h) { removeWaiver(h, 1, 2, true); },
         {},
         {u"Summit Roofing: no conditional lien waiver for the $1,000.00 paid in draw 2."_s}},
        {"conditional waiver not signed yet",
         [](EstimateHistory &h) { waiverOf(h, 1, 2, true).status = LienWaiver::Status::Requested; },
         {},
         {u"Summit Roofing: the conditional lien waiver for draw 2 is requested, not received."_s}},
        {"conditional waiver short",
         [](EstimateHistory &h) { waiverOf(h, 1, 2, true).amount = 90000; },
         {},
         {u"Summit Roofing: the conditional lien waiver for draw 2 is for $900.00, less than the $1,000.00 paid."_s}},
        {"a final waiver received beside a progress one asked for",
         [](EstimateHistory &h) {
             waiverOf(h, 1, 2, true).status = LienWaiver::Status::Requested;
             h.waivers << waiver(1, 2, LienWaiver::Kind::ConditionalFinal, 100000);
         },
         {},
         {}},
        {"no unconditional waiver for the draw before",
         [](EstimateHistory &h) { removeWaiver(h, 2, 1, false); },
         {},
         {u"Mill & Sons: no unconditional lien waiver for the $1,000.00 paid in draw 1."_s}},
        {"insurance expired before the draw",
         [](EstimateHistory &h) { h.payees[0].insuranceExpires = QDate(2026, 12, 31); },
         {},
         {u"Summit Roofing: the insurance certificate expired on 2026-12-31, before draw 2 of 2027-01-01."_s}},
        {"insurance expiring on the draw's day",
         [](EstimateHistory &h) { h.payees[0].insuranceExpires = QDate(2027, 1, 1); },
         {},
         {}},
        {"paid for the first time without a W-9",
         [](EstimateHistory &h) {
             Payee electrician = payee(3, u"Ana D\u00EDaz"_s, 12);
             electrician.taxFormReceived = {};
             h.payees << electrician;
             h.draws[1].lines << paying(12, 50000);
             h.waivers << waiver(3, 2, LienWaiver::Kind::ConditionalProgress, 50000);
             h.papers << invoice(4, 2, 12, 50000);
         },
         {},
         {u"Ana D\u00EDaz: paid for the first time in draw 2 with no W-9 on file."_s}},
        {"no W-9, paid before", [](EstimateHistory &h) { h.payees[0].taxFormReceived = {}; }, {}, {}},
        {"invoices short of the line",
         [](EstimateHistory &h) { h.papers[2].amount = 60000; },
         {},
         {u"5 Rough Lumber: the invoices attached add up to $600.00, less than the $1,000.00 requested."_s}},
        {"an invoice of another row",
         [](EstimateHistory &h) { h.papers[2].row = 8; },
         {},
         {u"5 Rough Lumber: the invoices attached add up to $0.00, less than the $1,000.00 requested."_s}},
        {"no papers kept at all", [](EstimateHistory &h) { h.papers.clear(); }, {}, {}},
        {"the line's invoice missing",
         [](EstimateHistory &) {},
         {{3, u"is missing from the documents folder"_s}},
         {u"Paper 3, \"INV-3\", is missing from the documents folder."_s}},
        {"a paper of the draw before missing",
         [](EstimateHistory &) {},
         {{1, u"is missing from the documents folder"_s}},
         {}},
        {"the signed waiver changed",
         [](EstimateHistory &h) {
             Paper signed_ = invoice(5, 1, 5, 0);
             signed_.kind = Paper::Kind::LienWaiver;
             signed_.subject = Paper::Subject::Payee;
             signed_.subjectNumber = 1;
             signed_.row = 0;
             signed_.title = u"conditional waiver"_s;
             h.papers << signed_;
             waiverOf(h, 1, 2, true).paper = 5;
         },
         {{5, u"has changed since it was attached"_s}},
         {u"Paper 5, \"conditional waiver\", has changed since it was attached."_s}},
        {"no payees", [](EstimateHistory &h) { h.payees.clear(); }, {}, {}},
    };
    return all;
}
}

class TestPayeeChecks : public QObject
{
    Q_OBJECT

private slots:
    void ofDraw_data()
    {
        Rows::columns<int>("index");
        for (int index = 0; index < cases().size(); ++index)
            QTest::newRow(cases().at(index).name) << index;
    }

    // Each check of a draw's papers names what is missing on its own case, and nothing on a
    // draw whose papers are all there.
    void ofDraw()
    {
        auto [index] = Rows::fetch<int>("index");
        const Case &check = cases().at(index);
        EstimateHistory history = papersInOrder();
        check.change(history);
        const EstimateSheet sheet;
        QCOMPARE(PayeeChecks::of(history.draws.at(1), sheet.grid(), history, check.unavailable), check.findings);
    }
};

QTEST_GUILESS_MAIN(TestPayeeChecks)
#include "tst_payeechecks.moc"
