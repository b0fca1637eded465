// Which papers a draw's package encloses, in which order, and what each page is stamped with.

#include "core/history/drawpackagecontents.h"
#include "support/rows.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
Paper paper(int number, Paper::Subject subject, int subjectNumber, int row = 0)
{
    Paper made;
    made.number = number;
    made.subject = subject;
    made.subjectNumber = subjectNumber;
    made.row = row;
    return made;
}

LienWaiver waiver(int draw, int paperNumber)
{
    LienWaiver made;
    made.payee = 1;
    made.draw = draw;
    made.paper = paperNumber;
    return made;
}

// The papers of a draw's package as "paper number/row" in its order.
QStringList enclosed(const EstimateHistory &history, int draw)
{
    QStringList found;
    const DrawPackageContents contents(history, draw);
    for (const DrawPackageContents::Enclosure &enclosure : contents.enclosures())
        found << u"%1/%2"_s.arg(enclosure.paper.number).arg(enclosure.row);
    return found;
}
}

class TestDrawPackageContents : public QObject
{
    Q_OBJECT

private slots:
    void encloses_data()
    {
        Rows::columns<QList<Paper>, QList<LienWaiver>, QStringList>("papers", "waivers", "enclosed");
        QTest::newRow("the draw's own, then by row, then waivers")
            << QList<Paper>{paper(1, Paper::Subject::DrawLine, 3, 12), paper(2, Paper::Subject::Payee, 1),
                            paper(3, Paper::Subject::DrawLine, 3, 5), paper(4, Paper::Subject::Draw, 3)}
            << QList<LienWaiver>{waiver(3, 2)} << QStringList{u"4/0"_s, u"3/5"_s, u"1/12"_s, u"2/0"_s};
        QTest::newRow("another draw's papers and waivers stay out")
            << QList<Paper>{paper(1, Paper::Subject::Draw, 2), paper(2, Paper::Subject::DrawLine, 2, 4),
                            paper(3, Paper::Subject::Payee, 1), paper(4, Paper::Subject::ChangeOrder, 3)}
            << QList<LienWaiver>{waiver(2, 3)} << QStringList{};
        QTest::newRow("a waiver's paper of a line goes in once, with its line")
            << QList<Paper>{paper(1, Paper::Subject::DrawLine, 3, 7)} << QList<LienWaiver>{waiver(3, 1), waiver(3, 1)}
            << QStringList{u"1/7"_s};
        QTest::newRow("a waiver without a paper, or naming none there, adds nothing")
            << QList<Paper>{} << QList<LienWaiver>{waiver(3, 0), waiver(3, 9)} << QStringList{};
        QTest::newRow("papers of one line keep their order")
            << QList<Paper>{paper(5, Paper::Subject::DrawLine, 3, 8), paper(2, Paper::Subject::DrawLine, 3, 8)}
            << QList<LienWaiver>{} << QStringList{u"5/8"_s, u"2/8"_s};
    }

    void encloses()
    {
        const auto [papers, waivers, expected] =
            Rows::fetch<QList<Paper>, QList<LienWaiver>, QStringList>("papers", "waivers", "enclosed");
        EstimateHistory history;
        history.papers = papers;
        history.waivers = waivers;
        QCOMPARE(enclosed(history, 3), expected);
    }

    void stampsEachPage()
    {
        EstimateHistory history;
        history.papers = {paper(1, Paper::Subject::Draw, 3), paper(2, Paper::Subject::DrawLine, 3, 12)};
        const DrawPackageContents contents(history, 3);
        QCOMPARE(contents.stampOf(contents.enclosures().at(0)), u"Draw 3 · Enclosure 1"_s);
        QCOMPARE(contents.stampOf(contents.enclosures().at(1)), u"Draw 3 · Item 12 · Enclosure 2"_s);
    }
};

QTEST_GUILESS_MAIN(TestDrawPackageContents)
#include "tst_drawpackagecontents.moc"
