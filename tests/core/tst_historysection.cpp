#include "core/document/estimatefile.h"
#include "core/document/historysection.h"
#include "core/document/recoveryfile.h"
#include "core/history/drawrecording.h"
#include "core/history/drawrequest.h"
#include "core/history/historyedit.h"
#include "core/history/payeeshares.h"
#include "core/sheet/categorytable.h"
#include "support/documentfixture.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/rows.h"

#include <QBuffer>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString GoldenFolder = QStringLiteral(VARN_HISTORY_FILES);

EstimateContent freshEstimate()
{
    EstimateContent content;
    for (int k = 0; k < CategoryTable::names().size(); ++k)
        content.cells[k][1] = CategoryTable::names().at(k);
    return content;
}

const QByteArray FreshSheet = EstimateFile::encode(freshEstimate());

Draw draw(int number, const QDate &date, const QString &note, int basisPoints, const QList<DrawLine> &lines)
{
    return {number, date, note, basisPoints, lines, std::nullopt, {}, std::nullopt};
}

DrawLine line(int row, Cents original, Cents scheduled, Cents previous, Cents paid)
{
    return {row, original, scheduled, previous, paid, std::nullopt, {}, {}};
}

// Two draws over an opening balance, at two retainage rates, and a change order; the second
// draw's note holds what the file stores differently.
EstimateHistory twoDraws()
{
    EstimateHistory history;
    history.retainageBasisPoints = 500;
    history.draws = {
        draw(1, QDate(2026, 12, 1), u"framing inspection passed"_s, 1000, {line(5, 1500000, 1500000, 0, 250000)}),
        draw(2, QDate(2027, 1, 4), u"roof, \"dry\"\nin \u03A9"_s, 500,
             {line(5, 1500000, 1700000, 250000, 100000), line(12, 0, 0, -5000, 0)})};
    history.changeOrders = {{1,
                             QDate(2026, 12, 2),
                             8,
                             u"upgrade to metal roof"_s,
                             -200000,
                             ChangeOrder::Status::Approved,
                             ChangeOrder::Source::Contingency,
                             std::nullopt,
                             std::nullopt,
                             {}}};
    return history;
}

const QByteArray TwoDrawsSection = "\"VARN history\",1,8\r\n"
                                   "\"retainage\",500\r\n"
                                   "\"contingency\",29\r\n"
                                   "\"draw\",1,\"2026-12-01\",\"framing inspection passed\",1000\r\n"
                                   "\"line\",5,1500000,1500000,0,250000\r\n"
                                   "\"draw\",2,\"2027-01-04\",\"roof, \x94"
                                   "dry\x94\r\nin ?\",500\r\n"
                                   "\"line\",5,1500000,1700000,250000,100000\r\n"
                                   "\"line\",12,0,0,-5000,0\r\n"
                                   "\"change\",1,\"2026-12-02\",8,\"upgrade to metal roof\",-200000,\"approved\","
                                   "\"contingency\"\r\n";

// A draw that kept the texts of its request: its parties, a two-line address among them, and
// what its row said of itself.
EstimateHistory drawWithTexts()
{
    EstimateHistory history;
    Draw first = draw(1, QDate(2026, 12, 1), u"framing"_s, 1000, {line(5, 1500000, 1500000, 0, 250000)});
    first.parties = DrawParties{u"Pat Owner"_s, u"12 Elm Road\nSpringfield"_s, u"Owner-builder"_s};
    first.lines[0].texts = RowTexts{u"Rough Lumber"_s, u"Mill & Sons"_s};
    history.draws = {
        draw(1, QDate(2026, 11, 1), u"before the texts were kept"_s, 1000, {line(5, 1500000, 1500000, 0, 100000)}),
        first};
    history.draws[1].number = 2;
    return history;
}

const QByteArray DrawWithTextsSection =
    "\"VARN history\",2,6\r\n"
    "\"retainage\",0\r\n"
    "\"contingency\",29\r\n"
    "\"draw\",1,\"2026-11-01\",\"before the texts were kept\",1000\r\n"
    "\"line\",5,1500000,1500000,0,100000\r\n"
    "\"draw\",2,\"2026-12-01\",\"framing\",1000,\"Pat Owner\",\"12 Elm Road\r\nSpringfield\",\"Owner-builder\"\r\n"
    "\"line\",5,1500000,1500000,0,250000,\"Rough Lumber\",\"Mill & Sons\"\r\n";

// A register that gave three numbers: the first order voided, the third deleted.
EstimateHistory voidOrder()
{
    EstimateHistory history;
    history.changeOrders = {{1,
                             QDate(2026, 12, 2),
                             8,
                             u"upgrade to metal roof"_s,
                             -200000,
                             ChangeOrder::Status::Approved,
                             ChangeOrder::Source::Contingency,
                             ChangeOrderVoid{QDate(2027, 1, 10), u"roofer cancelled, refund due"_s, {}},
                             std::nullopt,
                             {}},
                            {2,
                             QDate(2027, 1, 5),
                             12,
                             u"more outlets"_s,
                             45000,
                             ChangeOrder::Status::Pending,
                             ChangeOrder::Source::Loan,
                             std::nullopt,
                             std::nullopt,
                             {}}};
    history.deletedChangeOrderNumber = 3;
    return history;
}

const QByteArray VoidOrderSection = "\"VARN history\",3,5\r\n"
                                    "\"retainage\",0\r\n"
                                    "\"contingency\",29\r\n"
                                    "\"deleted change order\",3\r\n"
                                    "\"change\",1,\"2026-12-02\",8,\"upgrade to metal roof\",-200000,\"approved\","
                                    "\"contingency\",\"2027-01-10\",\"roofer cancelled, refund due\"\r\n"
                                    "\"change\",2,\"2027-01-05\",12,\"more outlets\",45000,\"pending\",\"loan\"\r\n";

// Every order deleted: only the number given last is left to keep.
EstimateHistory allDeleted()
{
    EstimateHistory history;
    history.deletedChangeOrderNumber = 4;
    return history;
}

const QByteArray AllDeletedSection = "\"VARN history\",3,3\r\n"
                                     "\"retainage\",0\r\n"
                                     "\"contingency\",29\r\n"
                                     "\"deleted change order\",4\r\n";

// A loan of two draws: the first funded short, the shortfall paid by the owner, the second
// returned by the lender.
EstimateHistory loanWithFundedDraws()
{
    EstimateHistory history;
    history.loan = Loan{
        35000000, u"First Federal"_s, u"CL-2207"_s, QDate(2026, 11, 20), QDate(2027, 11, 20), 7125, 1200000, 2500000,
        {}};
    history.draws = {draw(1, QDate(2026, 12, 1), u"framing"_s, 1000, {line(5, 1500000, 1500000, 0, 250000)}),
                     draw(2, QDate(2027, 1, 4), u"roof"_s, 1000, {line(5, 1500000, 1500000, 250000, 100000)})};
    history.draws[0].funding = DrawFunding{DrawFunding::State::Funded,
                                           QDate(2026, 12, 2),
                                           QDate(2026, 12, 9),
                                           200000,
                                           7500,
                                           DrawFunding::Shortfall::PaidByOwner,
                                           {},
                                           {},
                                           {}};
    history.draws[1].funding = DrawFunding{DrawFunding::State::Returned,
                                           QDate(2027, 1, 5),
                                           {},
                                           0,
                                           0,
                                           DrawFunding::Shortfall::Carried,
                                           QDate(2027, 1, 8),
                                           u"no lien waiver from the roofer"_s,
                                           {}};
    return history;
}

const QByteArray LoanSection =
    "\"VARN history\",4,9\r\n"
    "\"retainage\",0\r\n"
    "\"contingency\",29\r\n"
    "\"loan\",35000000,\"First Federal\",\"CL-2207\",\"2026-11-20\",\"2027-11-20\",7125,1200000,2500000\r\n"
    "\"draw\",1,\"2026-12-01\",\"framing\",1000\r\n"
    "\"line\",5,1500000,1500000,0,250000\r\n"
    "\"funding\",1,\"funded\",\"2026-12-02\",\"2026-12-09\",200000,7500,\"owner\",\"\",\"\"\r\n"
    "\"draw\",2,\"2027-01-04\",\"roof\",1000\r\n"
    "\"line\",5,1500000,1500000,250000,100000\r\n"
    "\"funding\",2,\"returned\",\"2027-01-05\",\"\",0,0,\"carried\",\"2027-01-08\",\"no lien waiver from the "
    "roofer\"\r\n";

// Three payees, one of them on two rows and one on none, the number between them given to a
// payee since deleted; a draw pays two of them on one row and leaves the other row's
// payment to its first payee.
EstimateHistory payeesWithShares()
{
    EstimateHistory history;
    history.payees = {
        {1,
         u"Summit Roofing"_s,
         u"roofer"_s,
         u"4 Mill Lane\nSpringfield"_s,
         u"555-0100"_s,
         QDate(2026, 11, 2),
         QDate(2027, 6, 30),
         u"RC-4471"_s,
         {{5, {}}, {8, {}}},
         {}},
        {2, u"Mill & Sons"_s, u"lumber"_s, {}, u"orders@millandsons.example"_s, {}, {}, {}, {{5, {}}}, {}},
        {4, u"Ana D\u00EDaz \u03A9"_s, u"electrician"_s, {}, u"555-0199"_s, QDate(2026, 11, 20), {}, {}, {}, {}}};
    history.draws = {draw(1, QDate(2026, 12, 1), u"framing"_s, 1000,
                          {line(5, 1500000, 1500000, 0, 250000), line(8, 1000000, 1000000, 0, 300000)})};
    history.draws[0].lines[0].shares = {{2, 150000, {}}, {1, 100000, {}}};
    return history;
}

const QByteArray PayeesSection =
    "\"VARN history\",5,13\r\n"
    "\"retainage\",0\r\n"
    "\"contingency\",29\r\n"
    "\"payee\",1,\"Summit Roofing\",\"roofer\",\"4 Mill Lane\r\nSpringfield\",\"555-0100\",\"2026-11-02\","
    "\"2027-06-30\",\"RC-4471\"\r\n"
    "\"payee row\",1,5\r\n"
    "\"payee row\",1,8\r\n"
    "\"payee\",2,\"Mill & Sons\",\"lumber\",\"\",\"orders@millandsons.example\",\"\",\"\",\"\"\r\n"
    "\"payee row\",2,5\r\n"
    "\"payee\",4,\"Ana D\xED"
    "az ?\",\"electrician\",\"\",\"555-0199\",\"2026-11-20\",\"\",\"\"\r\n"
    "\"draw\",1,\"2026-12-01\",\"framing\",1000\r\n"
    "\"line\",5,1500000,1500000,0,250000\r\n"
    "\"share\",1,5,2,150000\r\n"
    "\"share\",1,5,1,100000\r\n"
    "\"line\",8,1000000,1000000,0,300000\r\n";

// Papers kept for a draw and one of its lines, a payee's waiver that names its signed paper,
// the numbers of a deleted payee and paper, and two orders that know the draws they were
// approved and voided after.
EstimateHistory papersAndWaivers()
{
    EstimateHistory history;
    history.payees = {{1, u"Summit Roofing"_s, {}, {}, {}, {}, {}, {}, {{5, {}}}, {}},
                      {2, u"Mill & Sons"_s, {}, {}, {}, {}, {}, {}, {}, {}}};
    history.deletedPayeeNumber = 3;
    history.draws = {draw(1, QDate(2026, 12, 1), u"framing"_s, 1000, {line(5, 1500000, 1500000, 0, 250000)})};
    ChangeOrder raised{1,
                       QDate(2026, 12, 1),
                       5,
                       u"more joists"_s,
                       40000,
                       ChangeOrder::Status::Approved,
                       ChangeOrder::Source::Loan,
                       std::nullopt,
                       1,
                       {}};
    ChangeOrder voided{2,
                       QDate(2026, 11, 20),
                       8,
                       u"skylight"_s,
                       90000,
                       ChangeOrder::Status::Approved,
                       ChangeOrder::Source::Loan,
                       ChangeOrderVoid{QDate(2026, 12, 1), u"no room"_s, 1},
                       0,
                       {}};
    history.changeOrders = {raised, voided};
    const QByteArray hash(32, '\xab');
    history.papers = {{1,
                       Paper::Kind::Invoice,
                       QDate(2026, 11, 28),
                       Cents(250000),
                       u"INV-17, framing"_s,
                       Paper::Subject::DrawLine,
                       1,
                       5,
                       {u"house documents/INV-17.pdf"_s, hash, 48213},
                       {}},
                      {2,
                       Paper::Kind::Photo,
                       QDate(2026, 12, 1),
                       std::nullopt,
                       u"roof framed"_s,
                       Paper::Subject::Draw,
                       1,
                       0,
                       {u"house documents/roof.jpg"_s, hash, 1024},
                       {}}};
    history.deletedPaperNumber = 3;
    history.waivers = {
        {1, 1, LienWaiver::Kind::ConditionalProgress, 250000, QDate(2026, 12, 1), LienWaiver::Status::Received, 1, {}}};
    return history;
}

const QByteArray HashHex = QByteArray(32, '\xab').toHex();

// Months of a build with every kind of record: two hundred draws, their change orders, and the
// payees, a line's shares, the papers and waivers of the first draw.
EstimateContent longBuildWithPapers()
{
    EstimateContent content = Histories::estimateWithDraws(200);
    EstimateHistory &history = content.history;
    const EstimateHistory papers = papersAndWaivers();
    history.payees = papers.payees;
    history.deletedPayeeNumber = papers.deletedPayeeNumber;
    history.papers = papers.papers;
    history.deletedPaperNumber = papers.deletedPaperNumber;
    history.waivers = papers.waivers;
    DrawLine &roofing = history.draws[0].lines[4];
    roofing.shares = {{1, roofing.paid, {}}};
    for (ChangeOrder order : papers.changeOrders) {
        order.number += int(history.changeOrders.size());
        history.changeOrders << order;
    }
    return content;
}

const QByteArray PapersSection =
    "\"VARN history\",6,17\r\n"
    "\"retainage\",0\r\n"
    "\"contingency\",29\r\n"
    "\"payee\",1,\"Summit Roofing\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
    "\"payee row\",1,5\r\n"
    "\"payee\",2,\"Mill & Sons\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
    "\"deleted payee\",3\r\n"
    "\"draw\",1,\"2026-12-01\",\"framing\",1000\r\n"
    "\"line\",5,1500000,1500000,0,250000\r\n"
    "\"change\",1,\"2026-12-01\",5,\"more joists\",40000,\"approved\",\"loan\"\r\n"
    "\"approved after draw\",1,1\r\n"
    "\"change\",2,\"2026-11-20\",8,\"skylight\",90000,\"approved\",\"loan\",\"2026-12-01\",\"no room\"\r\n"
    "\"approved after draw\",2,0\r\n"
    "\"voided after draw\",2,1\r\n"
    "\"paper\",1,\"invoice\",\"2026-11-28\",250000,\"INV-17, framing\",\"line\",1,5,\"house documents/INV-17.pdf\",\""
    + HashHex
    + "\",48213\r\n"
      "\"paper\",2,\"photo\",\"2026-12-01\",\"\",\"roof framed\",\"draw\",1,0,\"house documents/roof.jpg\",\""
    + HashHex
    + "\",1024\r\n"
      "\"deleted paper\",3\r\n"
      "\"waiver\",1,1,\"conditional progress\",250000,\"2026-12-01\",\"received\",1\r\n";

// The section the damage is done to, a record a line.
const QByteArrayList DamageLines = {
    "\"VARN history\",1,8",
    "\"retainage\",500",
    "\"contingency\",29",
    "\"draw\",1,\"2026-12-01\",\"framing inspection passed\",1000",
    "\"line\",5,1500000,1500000,0,250000",
    "\"draw\",2,\"2027-01-04\",\"roof\",500",
    "\"line\",5,1500000,1700000,250000,100000",
    "\"line\",12,0,0,-5000,0",
    "\"change\",1,\"2026-12-02\",8,\"upgrade to metal roof\",-200000,\"approved\",\"contingency\"",
};

// The same for a register with a void order and a deleted one.
const QByteArrayList VoidDamageLines = {
    "\"VARN history\",3,6",
    "\"retainage\",0",
    "\"contingency\",29",
    "\"deleted change order\",4",
    "\"change\",1,\"2026-12-02\",8,\"upgrade to metal "
    "roof\",-200000,\"approved\",\"contingency\",\"2027-01-10\",\"roofer "
    "cancelled\"",
    "\"change\",2,\"2027-01-05\",12,\"more outlets\",45000,\"approved\",\"loan\"",
    "\"change\",3,\"2027-01-06\",12,\"fewer outlets\",-5000,\"pending\",\"loan\"",
};

// The same for a loan and a draw's funding.
const QByteArrayList LoanDamageLines = {
    "\"VARN history\",4,6",
    "\"retainage\",0",
    "\"contingency\",29",
    "\"loan\",35000000,\"First Federal\",\"CL-2207\",\"2026-11-20\",\"\",0,0,0",
    "\"draw\",1,\"2026-12-01\",\"framing\",1000",
    "\"line\",5,1500000,1500000,0,250000",
    "\"funding\",1,\"funded\",\"2026-12-02\",\"2026-12-09\",200000,7500,\"carried\",\"\",\"\"",
};

QByteArray joined(const QByteArrayList &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The same for payees, a row's link to them and a line's shares.
const QByteArrayList PayeeDamageLines = {
    "\"VARN history\",5,10",
    "\"retainage\",0",
    "\"contingency\",29",
    "\"payee\",1,\"Summit Roofing\",\"roofer\",\"\",\"555-0100\",\"2026-11-02\",\"2027-06-30\",\"RC-4471\"",
    "\"payee row\",1,5",
    "\"payee\",2,\"Mill & Sons\",\"lumber\",\"\",\"\",\"\",\"\",\"\"",
    "\"payee row\",2,5",
    "\"draw\",1,\"2026-12-01\",\"framing\",1000",
    "\"line\",5,1500000,1500000,0,250000",
    "\"share\",1,5,2,150000",
    "\"share\",1,5,1,100000",
};

struct PayeeDamage
{
    const char *name;
    QByteArrayView from;
    QByteArrayView to;
    QString reason;
};

// What is done to the payees' records, and why the section is refused then.
const QList<PayeeDamage> PayeeDamages = {
    {"payee with a field missing", ",\"RC-4471\"", "", u"record 3 of 10: it has 8 fields where 9 are wanted"_s},
    {"payee's date not a date", "2026-11-02", "2026-11-31",
     u"record 3 of 10: \"2026-11-31\" is not a date (year-month-day)"_s},
    {"payee number twice", "\"payee\",2,", "\"payee\",1,", u"record 5 of 10: payee 1 comes twice"_s},
    {"payee number zero", "\"payee\",2,", "\"payee\",0,",
     u"record 5 of 10: payee number 0 is outside 1 to 2147483647"_s},
    {"loan after the payees", "\"payee row\",2,5\r\n", "\"payee row\",2,5\r\n\"loan\",1,\"\",\"\",\"\",\"\",0,0,0\r\n",
     u"record 7 of 10: the loan comes after the payees"_s},
    {"payee after the draw", "\"share\",1,5,1,100000", "\"payee\",5,\"Late\",\"\",\"\",\"\",\"\",\"\",\"\"",
     u"record 10 of 10: a payee comes after the draws or change orders"_s},
    {"payees in version 4", ",5,10\r\n", ",4,10\r\n",
     u"record 3 of 10: \"payee\" is not a kind of record this VARN knows"_s},
    {"row of a payee not in the list", "\"payee row\",2,5", "\"payee row\",3,5",
     u"record 6 of 10: row 5 is given to payee 3, who is not among the payees"_s},
    {"row of an earlier payee", "\"payee row\",2,5", "\"payee row\",1,5",
     u"record 6 of 10: row 5 of payee 1 does not follow that payee"_s},
    {"row given twice to a payee", "\"payee row\",1,5\r\n", "\"payee row\",1,5\r\n\"payee row\",1,5\r\n",
     u"record 5 of 10: row 5 is given to payee 1 twice"_s},
    {"share of a payee not in the list", "\"share\",1,5,2,", "\"share\",1,5,3,",
     u"record 9 of 10: draw 1 pays payee 3, who is not among the payees"_s},
    {"share on a row the draw has no line for", "\"share\",1,5,2,", "\"share\",1,7,2,",
     u"record 9 of 10: draw 1 has no line for row 7 to share"_s},
    {"share of another draw", "\"share\",1,5,2,", "\"share\",2,5,2,",
     u"record 9 of 10: the share of draw 2 does not follow that draw's line"_s},
    {"two shares of one payee", "\"share\",1,5,1,", "\"share\",1,5,2,",
     u"record 10 of 10: payee 2 has two shares of row 5 in draw 1"_s},
    {"negative share", ",2,150000", ",2,-150000",
     u"record 9 of 10: amount in cents -150000 is outside 0 to 10000000000000000"_s},
};

// The records of papers and waivers, a record a line, to damage as the others.
QByteArrayList paperDamageLines()
{
    QByteArrayList lines = PapersSection.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

// What is done to the records of papers and waivers, and why the section is refused then.
const QList<PayeeDamage> PaperDamages = {
    {"papers in version 5", ",6,17\r\n", ",5,17\r\n",
     u"record 6 of 17: \"deleted payee\" is not a kind of record this VARN knows"_s},
    {"deleted payee not above the payees", "\"deleted payee\",3", "\"deleted payee\",2",
     u"the deleted payee 2 is not above payee 2"_s},
    {"deleted payee after the draws", "\"deleted payee\",3\r\n\"draw\",1,\"2026-12-01\",\"framing\",1000\r\n",
     "\"draw\",1,\"2026-12-01\",\"framing\",1000\r\n\"deleted payee\",3\r\n",
     u"record 7 of 17: the deleted payee's number comes after the draws or change orders"_s},
    {"approved after draw of another order", "\"approved after draw\",1,1", "\"approved after draw\",2,1",
     u"record 10 of 17: the draw change order 2 was approved after does not follow that order"_s},
    {"voided after draw of an order not void", "\"approved after draw\",1,1", "\"voided after draw\",1,1",
     u"record 10 of 17: change order 1 is not void"_s},
    {"approved after a negative draw", "\"approved after draw\",1,1", "\"approved after draw\",1,-1",
     u"record 10 of 17: draw number -1 is outside 0 to 2147483647"_s},
    {"paper kind unknown", "\"photo\"", "\"video\"",
     u"record 15 of 17: \"video\" is not a kind of paper this VARN knows"_s},
    {"paper amount a text", ",\"\",\"roof framed\"", ",\"none\",\"roof framed\"",
     u"record 15 of 17: the amount in cents \"none\" is not a whole number"_s},
    {"paper of a line without a row", ",\"line\",1,5,", ",\"line\",1,0,",
     u"record 14 of 17: paper 1 names a row where it belongs to no draw line, or none where it does"_s},
    {"paper without a file", "\"house documents/roof.jpg\"", "\"\"", u"record 15 of 17: paper 2 names no file"_s},
    {"paper hash too long", "\",48213", "0\",48213",
     u"record 14 of 17: \"%1\" is not a SHA-256"_s.arg(QString::fromLatin1(HashHex + '0'))},
    {"papers out of order", "\"paper\",2,", "\"paper\",1,", u"record 15 of 17: paper 1 comes after paper 1"_s},
    {"paper after the deleted paper's number", "\"paper\",2,", "\"deleted paper\",3\r\n\"paper\",2,",
     u"record 16 of 18: a paper comes after the lien waivers or the deleted paper's number"_s},
    {"waiver kind unknown", "\"conditional progress\"", "\"conditional\"",
     u"record 17 of 17: \"conditional\" is not a kind of lien waiver this VARN knows"_s},
    {"waiver twice", "\"deleted paper\",3\r\n",
     "\"deleted paper\",3\r\n\"waiver\",1,1,\"conditional progress\",0,\"\",\"requested\",0\r\n",
     u"record 18 of 18: payee 1 has two conditional progress waivers for draw 1"_s},
    {"waiver of a negative amount", ",250000,\"2026-12-01\",\"received\"", ",-1,\"2026-12-01\",\"received\"",
     u"record 17 of 17: amount in cents -1 is outside 0 to 10000000000000000"_s},
};

// The header counts the records the damage leaves, so that only the damage is refused.
QByteArray papersDamaged(const PayeeDamage &damage)
{
    QByteArray section = QByteArray(PapersSection).replace(damage.from, damage.to);
    const qsizetype headerEnd = section.indexOf("\r\n");
    const qsizetype countStart = section.lastIndexOf(',', headerEnd) + 1;
    return section.replace(countStart, headerEnd - countStart, QByteArray::number(section.count("\r\n") - 1));
}

QByteArray payeesDamaged(const PayeeDamage &damage)
{
    return joined(PayeeDamageLines).replace(damage.from, damage.to);
}

std::optional<EstimateContent> decoded(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return EstimateFile::decode(buffer);
}

// How often each line that is not blank comes in the bytes.
QMap<QByteArray, int> lineCounts(const QByteArray &bytes)
{
    QMap<QByteArray, int> counts;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            ++counts[line];
    }
    return counts;
}

// The lines of before that after lacks, each once for every time it is missing.
QByteArrayList missingLines(const QByteArray &before, const QByteArray &after)
{
    const QMap<QByteArray, int> kept = lineCounts(after);
    QByteArrayList missing;
    const QMap<QByteArray, int> wanted = lineCounts(before);
    for (auto line = wanted.cbegin(); line != wanted.cend(); ++line) {
        for (int time = kept.value(line.key()); time < line.value(); ++time)
            missing << line.key();
    }
    return missing;
}

// A device whose nth read fails, as a failing disk's would; each read is one call, unbuffered.
class FailingDevice : public QBuffer
{
public:
    FailingDevice(const QByteArray &bytes, int failingRead)
        : m_failingRead(failingRead)
    {
        setData(bytes);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    int reads() const { return m_reads; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (++m_reads == m_failingRead) {
            setErrorString(u"Input/output error"_s);
            return -1;
        }
        return QBuffer::readData(data, size);
    }

private:
    int m_failingRead = 0;
    int m_reads = 0;
};

} // namespace

// The history section as it is written and read: every record of a file comes back, from a
// file of this version, of a later one, or one damaged.
class TestHistorySection : public QObject
{
    Q_OBJECT

private slots:
    // The history follows the 38 records, which stay byte for byte what they were; a history
    // whose draws keep no texts is written as the first version was.
    void writtenAndRead_data()
    {
        Rows::columns<EstimateHistory, QByteArray, EstimateHistory>("history", "section", "read");
        EstimateHistory read = twoDraws();
        read.draws[1].note = u"roof, \u201Ddry\u201D\nin ?"_s;
        QTest::newRow("first version") << twoDraws() << TwoDrawsSection << read;
        QTest::newRow("texts kept") << drawWithTexts() << DrawWithTextsSection << drawWithTexts();
        QTest::newRow("a void order") << voidOrder() << VoidOrderSection << voidOrder();
        QTest::newRow("every order deleted") << allDeleted() << AllDeletedSection << allDeleted();
        QTest::newRow("a loan and its draws' funding") << loanWithFundedDraws() << LoanSection << loanWithFundedDraws();
        EstimateHistory payeesRead = payeesWithShares();
        payeesRead.payees[2].name = u"Ana D\u00EDaz ?"_s;
        QTest::newRow("payees, their rows and a draw's shares") << payeesWithShares() << PayeesSection << payeesRead;
        QTest::newRow("papers, waivers and the draws orders came after")
            << papersAndWaivers() << PapersSection << papersAndWaivers();
    }

    void writtenAndRead()
    {
        auto [history, section, read] =
            Rows::fetch<EstimateHistory, QByteArray, EstimateHistory>("history", "section", "read");
        EstimateContent content = freshEstimate();
        content.history = history;
        QCOMPARE(EstimateFile::encode(content), FreshSheet + section);
        content.history = read;
        QCOMPARE(decoded(FreshSheet + section), std::optional(content));
    }

    void damage_data()
    {
        Rows::columns<QByteArray>("section");
        for (const auto &[set, lines] :
             {std::pair("", DamageLines), std::pair("void, ", VoidDamageLines), std::pair("loan, ", LoanDamageLines),
              std::pair("payees, ", PayeeDamageLines), std::pair("papers, ", paperDamageLines())}) {
            QTest::addRow("%swhole", set) << joined(lines);
            for (int kept = 0; kept < lines.size(); ++kept)
                QTest::addRow("%scut after %d records", set, kept) << joined(lines.mid(0, kept));
            for (int record = 0; record < lines.size(); ++record) {
                QByteArrayList doubled = lines;
                doubled.insert(record, lines.at(record));
                QTest::addRow("%srecord %d doubled", set, record) << joined(doubled);
                QByteArrayList deleted = lines;
                deleted.removeAt(record);
                QTest::addRow("%srecord %d deleted", set, record) << joined(deleted);
            }
        }
        QList<EstimateFile::LostText> lost;
        const QByteArray longSection = HistorySection::encode(longBuildWithPapers().history, lost);
        QVERIFY(longSection.size() > 4 * 64 * 1024);
        const qsizetype middle = longSection.indexOf("\r\n\"", longSection.size() / 2) + 2;
        const QByteArray longHeader = longSection.left(longSection.indexOf("\r\n") + 2);
        const QByteArrayList headerFields = longHeader.trimmed().split(',');
        const QByteArray countTooLow = headerFields.value(0) + ',' + headerFields.value(1) + ','
            + QByteArray::number(headerFields.value(2).toInt() - 1) + "\r\n";
        QTest::newRow("long history, whole") << longSection;
        QTest::newRow("long history, cut in the middle") << longSection.left(middle);
        QTest::newRow("long history, count one too low") << countTooLow + longSection.mid(longHeader.size());
        QTest::newRow("long history, a record doubled in the middle") << longSection.left(middle)
                + longSection.mid(middle, longSection.indexOf("\r\n", middle) + 2 - middle) + longSection.mid(middle);
        const auto voidChanged = [](QByteArrayView from, QByteArrayView to) {
            return joined(VoidDamageLines).replace(from, to);
        };
        QTest::newRow("void in version 2") << voidChanged(",3,6\r\n", ",2,6\r\n");
        QTest::newRow("void of a pending order") << voidChanged("-200000,\"approved\"", "-200000,\"pending\"");
        QTest::newRow("void without its reason") << voidChanged(",\"roofer cancelled\"", "");
        QTest::newRow("void reason not a text") << voidChanged("\"roofer cancelled\"", "17");
        QTest::newRow("void date not a date") << voidChanged("2027-01-10", "2027-13-10");
        QTest::newRow("deleted number not above the register") << voidChanged("order\",4", "order\",3");
        QTest::newRow("deleted number twice")
            << voidChanged(",3,6\r\n", ",3,7\r\n")
                   .replace("\"contingency\",29\r\n", "\"contingency\",29\r\n\"deleted change order\",5\r\n");
        QTest::newRow("deleted number after the orders")
            << voidChanged("\"deleted change order\",4\r\n", "") + "\"deleted change order\",4\r\n";
        const auto loanChanged = [](QByteArrayView from, QByteArrayView to) {
            return joined(LoanDamageLines).replace(from, to);
        };
        QTest::newRow("loan in version 3") << loanChanged(",4,6\r\n", ",3,6\r\n");
        QTest::newRow("loan after the draws")
            << loanChanged("\"loan\",35000000,\"First Federal\",\"CL-2207\",\"2026-11-20\",\"\",0,0,0\r\n", "")
                    .replace(",4,6\r\n", ",4,5\r\n")
                + "\"loan\",1,\"\",\"\",\"\",\"\",0,0,0\r\n";
        QTest::newRow("loan of a negative amount") << loanChanged("\"loan\",35000000,", "\"loan\",-35000000,");
        QTest::newRow("interest rate above 100 %") << loanChanged(",\"\",0,0,0", ",\"\",100001,0,0");
        QTest::newRow("funding of a draw not read yet") << loanChanged("\"funding\",1,", "\"funding\",2,");
        QTest::newRow("funding before its draw")
            << loanChanged(
                   "\"funding\",1,\"funded\",\"2026-12-02\",\"2026-12-09\",200000,7500,\"carried\",\"\",\"\"\r\n", "")
                   .replace("\"draw\",1,",
                            "\"funding\",1,\"funded\",\"\",\"\",0,0,\"carried\",\"\",\"\"\r\n\"draw\",1,");
        QTest::newRow("fees above the funded amount") << loanChanged("200000,7500,", "7500,200000,");
        QTest::newRow("state this VARN does not know") << loanChanged("\"funded\",\"2026", "\"paid\",\"2026");
        QTest::newRow("shortfall this VARN does not know") << loanChanged("\"carried\"", "\"forgiven\"");
        for (const PayeeDamage &damage : PayeeDamages)
            QTest::newRow(damage.name) << payeesDamaged(damage);
        for (const PayeeDamage &damage : PaperDamages)
            QTest::newRow(damage.name) << papersDamaged(damage);
        QTest::newRow("deleted number in version 1")
            << joined(DamageLines)
                   .replace(",1,8\r\n", ",1,9\r\n")
                   .replace("\"contingency\",29\r\n", "\"contingency\",29\r\n\"deleted change order\",5\r\n");
        const QByteArray header = DamageLines.first() + "\r\n";
        for (int byte = 0; byte < header.size(); ++byte) {
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray flipped = joined(DamageLines);
                flipped[byte] = char(flipped[byte] ^ (1 << bit));
                QTest::addRow("header byte %d, bit %d", byte, bit) << flipped;
            }
        }
        const auto changed = [](QByteArrayView from, QByteArrayView to) {
            return joined(DamageLines).replace(from, to);
        };
        QTest::newRow("NUL before") << QByteArray(1, '\0') + "\r\n" + joined(DamageLines);
        QTest::newRow("blank line before") << "\r\n" + joined(DamageLines);
        QTest::newRow("stray line before") << "\"Acme\",\"\"\r\n" + joined(DamageLines);
        QTest::newRow("stray line after") << joined(DamageLines) + "\"Acme\",\"\"\r\n";
        QTest::newRow("no line end at the end") << joined(DamageLines).chopped(2);
        QTest::newRow("misspelt tag") << changed("\"change\"", "\"chnage\"");
        QTest::newRow("field added") << changed("\"roof\",500", "\"roof\",500,1");
        QTest::newRow("field missing") << changed("\"roof\",500", "\"roof\"");
        QTest::newRow("count one too low") << changed(",1,8\r\n", ",1,7\r\n");
        QTest::newRow("count one too high") << changed(",1,8\r\n", ",1,9\r\n");
        QTest::newRow("quote never closed") << changed("\"roof\"", "\"roof");
        QTest::newRow("row outside the sheet") << changed("\"line\",12,", "\"line\",37,");
        QTest::newRow("draws out of order") << changed("\"draw\",2,", "\"draw\",3,");
        QTest::newRow("no such date") << changed("2027-01-04", "2027-02-30");
        QTest::newRow("control character") << changed("framing", "fra\x8Ding");
        QTest::newRow("blank before a field") << changed(",500\r\n\"contingency", ", 500\r\n\"contingency");
        QTest::newRow("junk after a text") << changed("\"roof\",", "\"roof\"x,");
        QTest::newRow("leading zero") << changed(",1500000,1700000,", ",01500000,1700000,");
        QTest::newRow("quoted number") << changed("\"line\",12,", "\"line\",\"12\",");
        QTest::newRow("date of one digit") << changed("2027-01-04", "2027-1-04");
        QTest::newRow("oldest saving version later than the file") << changed(",1,8\r\n", ",1,8,2\r\n");
        QTest::newRow("oldest saving version the file's own") << changed(",1,8\r\n", ",1,8,1\r\n");
        QTest::newRow("header field beyond the oldest") << changed(",1,8\r\n", ",1,8,1,1\r\n");
    }

    // Whatever follows the sheet is read whole, or kept as it stands and reported: written
    // again, every line of it is there, and what was read whole is written as it was.
    void damage()
    {
        auto [section] = Rows::fetch<QByteArray>("section");
        const std::optional<EstimateContent> read = decoded(FreshSheet + section);
        QVERIFY(read);
        QCOMPARE(read->cells, freshEstimate().cells);
        const QByteArray written = EstimateFile::encode(*read);
        QVERIFY(written.startsWith(FreshSheet));
        const QByteArray writtenSection = written.mid(FreshSheet.size());
        QCOMPARE(missingLines(section, writtenSection), QByteArrayList());
        QCOMPARE(missingLines(writtenSection, section), QByteArrayList());
        QCOMPARE(read->unreadWarning().isEmpty(), read->unreadLines.isEmpty());
        if (!read->unreadLines.isEmpty())
            QVERIFY2(read->unreadWarning().startsWith(u"This file holds "_s), qPrintable(read->unreadWarning()));
        // The file as saved reads as the file did.
        const std::optional<EstimateContent> again = decoded(written);
        QVERIFY(again);
        QCOMPARE(again->history, read->history);
        QCOMPARE(again->unreadLines, read->unreadLines);
    }

    void damageReasons_data()
    {
        Rows::columns<QByteArray, QString>("section", "reason");
        for (const PayeeDamage &damage : PayeeDamages)
            QTest::newRow(damage.name) << payeesDamaged(damage) << damage.reason;
        for (const PayeeDamage &damage : PaperDamages)
            QTest::newRow(damage.name) << papersDamaged(damage) << damage.reason;
    }

    // Damage to a payee's records says which record holds what, as any other record's does.
    void damageReasons()
    {
        auto [section, reason] = Rows::fetch<QByteArray, QString>("section", "reason");
        const std::optional<EstimateContent> read = decoded(FreshSheet + section);
        QVERIFY(read);
        QCOMPARE(read->history, EstimateHistory());
        QCOMPARE(read->historyError, u"its draw history cannot be read: "_s + reason);
    }

    void shares_data()
    {
        Rows::columns<int, Cents, QList<PayeeShare>, QList<PayeeShare>, QString>("row", "paid", "given", "shares",
                                                                                 "refused");
        const QString cents = u"The shares add up to %1, not to the $2,500.00 the line pays"_s;
        QTest::newRow("whole to the row's first payee")
            << 5 << Cents(250000) << QList<PayeeShare>() << QList<PayeeShare>{{1, 250000, {}}} << QString();
        QTest::newRow("a row of no payee")
            << 12 << Cents(250000) << QList<PayeeShare>() << QList<PayeeShare>() << QString();
        QTest::newRow("nothing paid") << 5 << Cents(0) << QList<PayeeShare>() << QList<PayeeShare>() << QString();
        QTest::newRow("split exactly") << 5 << Cents(250000) << QList<PayeeShare>{{2, 150000, {}}, {1, 100000, {}}}
                                       << QList<PayeeShare>{{2, 150000, {}}, {1, 100000, {}}} << QString();
        QTest::newRow("a cent short") << 5 << Cents(250000) << QList<PayeeShare>{{2, 150000, {}}, {1, 99999, {}}}
                                      << QList<PayeeShare>{{2, 150000, {}}, {1, 99999, {}}}
                                      << cents.arg(u"$2,499.99"_s);
        QTest::newRow("a cent over") << 5 << Cents(250000) << QList<PayeeShare>{{2, 150001, {}}, {1, 100000, {}}}
                                     << QList<PayeeShare>{{2, 150001, {}}, {1, 100000, {}}}
                                     << cents.arg(u"$2,500.01"_s);
        QTest::newRow("a payee not in the list")
            << 5 << Cents(250000) << QList<PayeeShare>{{3, 250000, {}}} << QList<PayeeShare>{{3, 250000, {}}}
            << u"Payee 3 is not among the estimate's payees"_s;
        QTest::newRow("a payee of another row")
            << 5 << Cents(250000) << QList<PayeeShare>{{4, 250000, {}}} << QList<PayeeShare>{{4, 250000, {}}}
            << u"Ana D\u00EDaz does not work on row 5"_s;
        QTest::newRow("a payee twice") << 5 << Cents(250000) << QList<PayeeShare>{{1, 100000, {}}, {1, 150000, {}}}
                                       << QList<PayeeShare>{{1, 100000, {}}, {1, 150000, {}}}
                                       << u"Summit Roofing has two shares of row 5"_s;
        QTest::newRow("a negative share")
            << 5 << Cents(250000) << QList<PayeeShare>{{1, 300000, {}}, {2, -50000, {}}}
            << QList<PayeeShare>{{1, 300000, {}}, {2, -50000, {}}} << u"Mill & Sons's share is less than nothing"_s;
    }

    // A line's payment goes to the row's payees as the shares say, the whole of it to the
    // first payee where none are given, and only shares that add up to it to the cent stand.
    void shares()
    {
        auto [row, paid, given, shares, refused] =
            Rows::fetch<int, Cents, QList<PayeeShare>, QList<PayeeShare>, QString>("row", "paid", "given", "shares",
                                                                                   "refused");
        const QList<Payee> payees = {
            {1, u"Summit Roofing"_s, {}, {}, {}, {}, {}, {}, {{8, {}}, {5, {}}}, {}},
            {2, u"Mill & Sons"_s, {}, {}, {}, {}, {}, {}, {{5, {}}}, {}},
            {4, u"Ana D\u00EDaz"_s, {}, {}, {}, {}, {}, {}, {{8, {}}}, {}},
        };
        DrawLine drawn = line(row, 0, 0, 0, paid);
        drawn.shares = given;
        QCOMPARE(PayeeShares::of(drawn, payees), shares);
        QString reason;
        QCOMPARE(PayeeShares::check(drawn, given, payees, &reason), refused.isEmpty());
        QCOMPARE(reason, refused);
    }

    // Each read of a file beyond the first buffers fails once: the file is read whole, or
    // not at all.
    void readFaults()
    {
        const EstimateContent content = longBuildWithPapers();
        const QByteArray bytes = EstimateFile::encode(content);
        QVERIFY(bytes.size() > 4 * 64 * 1024);
        FailingDevice counting(bytes, 0);
        QCOMPARE(EstimateFile::decode(counting)->history, content.history);
        QVERIFY(counting.reads() > 4);
        for (int failing = 1; failing <= counting.reads(); ++failing) {
            FailingDevice device(bytes, failing);
            const std::optional<EstimateContent> read = EstimateFile::decode(device);
            QVERIFY2(!read, qPrintable(u"read %1 failed, yet the file was read"_s.arg(failing)));
        }
    }

    void laterVersions_data()
    {
        Rows::columns<QString, QString>("file", "refused");
        QTest::newRow("records of later kinds") << u"later-records.vrn"_s << QString();
        QTest::newRow("fields added to records") << u"later-fields.vrn"_s << QString();
        QTest::newRow("not to be saved over") << u"later-only.vrn"_s
                                              << u"later-only.vrn was written by a later VARN (draw history version "
                                                 "7): this one may read it but must not save over it.\n\nSave the "
                                                 "estimate under another name with Save As...?"_s;
    }

    // A later VARN's file opens without a word and, edited and saved, keeps every record and
    // field it held, each in its place; one that says this VARN must not save over it is
    // saved under another name only.
    void laterVersions()
    {
        auto [file, refused] = Rows::fetch<QString, QString>("file", "refused");
        DocumentFixture f;
        const QString path = f.path(file);
        QVERIFY(QFile::copy(QDir(GoldenFolder).filePath(file), path));
        const QByteArray original = Files::read(path);
        f.document.openFile(path);
        QCOMPARE(f.messages.texts(), QStringList());
        QCOMPARE(f.document.history().retainageBasisPoints, 1000);
        EstimateHistory history = f.document.history();
        history.retainageBasisPoints = 750;
        f.document.setHistory(history);
        f.enter(8, EstimateSheet::CurrentPaymentColumn, u"100"_s);
        const auto expected = [&] {
            QByteArray edited = original;
            edited.replace("\"retainage\",1000", "\"retainage\",750");
            return edited.replace("\"Roofing\",\"$8,000.00\",\"$10,000.00\",\"\",\"\",\"$10,000.00\"",
                                  "\"Roofing\",\"$8,000.00\",\"$10,000.00\",\"\",\"$100.00\",\"$9,900.00\"");
        };
        if (refused.isEmpty()) {
            QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
            QCOMPARE(Files::read(path), expected());
            return;
        }
        f.messages.answers = {MessageBoxes::No};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Cancelled);
        QCOMPARE(f.message(), (QStringList{"yes/no question", refused, "Save"}));
        // Save As onto the same file is refused too; another name keeps every record.
        f.messages.answers = {MessageBoxes::Yes, MessageBoxes::Yes};
        f.dialogs.savePaths = {path, f.path(u"copy.vrn"_s)};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Cancelled);
        QCOMPARE(f.message().first(), u"warning"_s);
        QCOMPARE(Files::read(path), original);
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(Files::read(f.path(u"copy.vrn"_s)), expected());
        QCOMPARE(Files::read(path), original);
    }

    // Lines that cannot be read are shown as such when the file opens, and a Save, whatever
    // the user answers, writes them back as they were, with the sheet's edits.
    void unreadLinesThroughOpenAndSave()
    {
        DocumentFixture f;
        const QByteArray damaged = joined(DamageLines).replace("\"VARN history\"", "\"VARN histozy\"");
        QVERIFY(Files::write(f.path(u"house.vrn"_s), FreshSheet + damaged));
        f.document.openFile(f.path(u"house.vrn"_s));
        QCOMPARE(f.message(),
                 (QStringList{"warning",
                              "This file holds 9 lines after the estimate that could not be read: no draw "
                              "history begins there. They are kept as they are and saved with the "
                              "estimate.",
                              "Open"}));
        f.enter(5, EstimateSheet::OriginalEstimateColumn, u"1500"_s);
        f.messages.answers = {MessageBoxes::Yes, MessageBoxes::Yes, MessageBoxes::Yes};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        const QByteArray saved = Files::read(f.path(u"house.vrn"_s));
        QVERIFY(saved.endsWith("\"\r\n" + damaged));
        QVERIFY(saved.contains("\"Rough Lumber\",\"$1,500.00\""));
        // A draw recorded since goes in a history of its own before them.
        EstimateHistory history = f.document.history();
        history.draws << draw(1, QDate(2026, 12, 1), u"new"_s, 0, {line(5, 150000, 150000, 0, 10000)});
        f.document.setHistory(history);
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(missingLines(damaged, Files::read(f.path(u"house.vrn"_s))), QByteArrayList());
        QCOMPARE(EstimateFile::load(f.path(u"house.vrn"_s))->history, history);
    }

    // A request printed again names the parties and the work as it went to the lender; a draw
    // recorded before those were kept names them as the sheet does now.
    void recordedRequestAsItWent()
    {
        DocumentFixture f;
        f.header.setText(HeaderFields::Name, u"Pat Owner"_s);
        f.grid().setText(5, EstimateSheet::SupplierColumn, u"Mill & Sons"_s);
        f.enter(5, EstimateSheet::OriginalEstimateColumn, u"1500"_s);
        f.enter(5, EstimateSheet::CurrentPaymentColumn, u"250"_s);
        EstimateHistory history;
        CurrentPayments::recordDraw(f.sheet, history, {5}, QDate(2026, 12, 1), u"framing"_s,
                                    DrawRequest::partiesOf(f.header));
        f.grid().setText(5, EstimateSheet::SupplierColumn, u"Timber Co."_s);
        f.header.setText(HeaderFields::Name, u"Pat and Sam Owner"_s);
        const auto request = [&] { return DrawRequest::recorded(f.grid(), f.header, history, 1); };
        QCOMPARE(request()->owner, u"Pat Owner"_s);
        QCOMPARE(request()->lines.value(0).description, u"Rough Lumber (Mill & Sons)"_s);
        history.draws[0].parties.reset();
        history.draws[0].lines[0].texts.reset();
        QCOMPARE(request()->owner, u"Pat and Sam Owner"_s);
        QCOMPARE(request()->lines.value(0).description, u"Rough Lumber (Timber Co.)"_s);
    }

    // Every command changes the history through one edit: a change that changes nothing, or
    // is refused, leaves no step to undo, and a refused one leaves the history as it was.
    void edits_data()
    {
        Rows::columns<int, QString, bool, bool>("retainage", "supplier", "refuse", "step");
        QTest::newRow("the history changed") << 750 << QString() << false << true;
        QTest::newRow("a row changed") << 500 << u"Mill & Sons"_s << false << true;
        QTest::newRow("nothing changed") << 500 << QString() << false << false;
        QTest::newRow("refused") << 750 << QString() << true << false;
    }

    void edits()
    {
        auto [retainage, supplier, refuse, step] =
            Rows::fetch<int, QString, bool, bool>("retainage", "supplier", "refuse", "step");
        DocumentFixture f;
        const EstimateHistory before = twoDraws();
        const HistoryEdit edit(f.sheet, before, {5}, [&](EstimateHistory &history) {
            history.retainageBasisPoints = retainage;
            f.grid().setText(5, EstimateSheet::SupplierColumn, supplier);
            return !refuse;
        });
        QCOMPARE(edit.isRefused(), refuse);
        QCOMPARE(edit.step().has_value(), step);
        QCOMPARE(edit.history().retainageBasisPoints, refuse ? 500 : retainage);
        if (edit.step()) {
            QCOMPARE(edit.step()->restoreBefore(f.sheet), before);
            QCOMPARE(f.grid().text(5, EstimateSheet::SupplierColumn), QString());
        }
    }

    // A recovery copy kept by an older VARN holds no unread lines: its file's are kept all the same.
    void restoredEstimateKeepsItsFilesUnreadLines()
    {
        DocumentFixture f;
        const QString path = f.path(u"house.vrn"_s);
        const QByteArray damaged = joined(DamageLines).replace("\"VARN history\"", "\"VARN histozy\"");
        QVERIFY(Files::write(path, FreshSheet + damaged));
        f.document.restore(freshEstimate(), path, FileStamp::of(path));
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(missingLines(damaged, Files::read(path)), QByteArrayList());
    }

    // After a crash, the restored estimate still knows what its file held: another program's
    // save since then is asked about, not saved over.
    void restoredEstimateKeepsItsStamp()
    {
        DocumentFixture f;
        const QString path = f.path(u"house.vrn"_s);
        QVERIFY(EstimateFile::save(path, freshEstimate()));
        f.document.openFile(path);
        f.enter(5, EstimateSheet::OriginalEstimateColumn, u"1500"_s);
        const QString folder = f.path(u"recovery"_s);
        {
            RecoveryFile crashed(folder);
            QVERIFY(crashed.write(f.document.content(), path, f.document.fileStamp()));
            // The run dies here: what it leaves is its copy, its lock held by nobody.
            const QString copy = QDir(folder).filePath(QDir(folder).entryList({u"*.vrn"_s}).value(0).chopped(4));
            for (const QString &suffix : {u".vrn"_s, u".path"_s, u".stamp"_s})
                QVERIFY(QFile::copy(copy + suffix, QDir(folder).filePath(u"left"_s + suffix)));
        }
        EstimateContent other = freshEstimate();
        other.name = u"Saved by another window"_s;
        QVERIFY(EstimateFile::save(path, other));

        DocumentFixture g;
        RecoveryFile next(folder);
        std::optional<RecoveryFile::LeftCopy> left = next.takeLeftCopy();
        QVERIFY(left);
        g.document.restore(left->content, left->originalFile, left->stamp);
        g.messages.answers = {MessageBoxes::Cancel};
        QCOMPARE(g.document.save(), Document::SaveOutcome::Cancelled);
        QCOMPARE(g.message().at(1),
                 u"house.vrn was changed by another program since you opened it. Save over it, "
                 "or Save As...?"_s);
        QCOMPARE(EstimateFile::load(path)->name, other.name);
    }
};

QTEST_GUILESS_MAIN(TestHistorySection)
#include "tst_historysection.moc"
