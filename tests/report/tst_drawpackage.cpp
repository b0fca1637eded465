// The draw package as a lender opens it: the cover's list of what it holds and where, the
// request, the payees, and every paper's pages stamped, read back with pdftotext and pdfinfo;
// papers that cannot go in named with their reasons; and the command line's package of a
// draw.

#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/history/drawrequest.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "report/reportpaper.h"
#include "report/reports.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A paper of several pages, each saying which it is.
bool writePdf(const QString &path, const QString &label, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    QPainter painter(&writer);
    painter.setFont(QFont(u"DejaVu Sans"_s, 14));
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.drawText(QPointF(writer.width() / 10.0, writer.height() / 3.0), u"%1 page %2"_s.arg(label).arg(page));
    }
    return painter.end();
}

bool writePng(const QString &path)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image.save(path, "PNG");
}

int pageCount(const QString &pdf)
{
    return int(Programs::pdfPageSizes(pdf).size());
}

QString pageText(const QString &pdf, int page)
{
    const QString number = QString::number(page);
    return Programs::run(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, number, u"-l"_s, number, pdf, u"-"_s}).output;
}

QString plainText(const QString &pdf)
{
    return Programs::pdfText(pdf).simplified();
}

Payee payee(int number, const QString &name, int row)
{
    Payee made;
    made.number = number;
    made.name = name;
    made.rows = {{row, {}}};
    return made;
}

LienWaiver waiver(int payeeNumber, LienWaiver::Status status, int paper)
{
    LienWaiver made;
    made.payee = payeeNumber;
    made.draw = 3;
    made.status = status;
    made.paper = paper;
    return made;
}
}

class TestDrawPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    EstimateSheet m_sheet;
    HeaderFields m_header;
    EstimateHistory m_saved;

    QString path(const QString &name) const { return m_folder.filePath(name); }
    QString estimatePath() const { return path(u"house.vrn"_s); }

    // A paper of draw 3 from a file made in the test, copied into the estimate's folder.
    Paper attach(int number, Paper::Kind kind, const QString &file, int row, Paper::Subject subject)
    {
        Paper paper;
        paper.number = number;
        paper.kind = kind;
        paper.title = QFileInfo(file).completeBaseName();
        paper.subject = subject;
        paper.subjectNumber = subject == Paper::Subject::Payee ? 1 : 3;
        paper.row = row;
        paper.file = AttachmentFolder(estimatePath()).attach(file).value_or(AttachedFile{});
        return paper;
    }

    bool writePackage(const QString &output, const EstimateHistory &history, QStringList *notices, QString *errorString)
    {
        const QByteArray unread;
        const QPageSize paper(QPageSize::Letter);
        const Report::Source source{m_sheet, m_header, history, unread, paper, nullptr, estimatePath(), notices};
        return Reports::drawPackage().write(output, source, u"pdf"_s, errorString);
    }

    int requestPageCount()
    {
        const QString request = path(u"request.pdf"_s);
        const QByteArray unread;
        const QPageSize paper(QPageSize::Letter);
        const std::optional<DrawRequest> recorded = DrawRequest::recorded(m_sheet.grid(), m_header, m_saved, 3);
        const Report::Source source{m_sheet, m_header, m_saved, unread, paper, &*recorded};
        return Reports::drawRequest().write(request, source, u"pdf"_s, nullptr) ? pageCount(request) : -1;
    }

private slots:
    void initTestCase()
    {
        if (!Programs::installed({u"pdftotext"_s, u"pdfinfo"_s, u"qpdf"_s}))
            QSKIP("poppler-utils and qpdf read the package back");
        QVERIFY(EstimateFile::save(estimatePath(), Histories::estimateWithDraws(3)));
        const std::optional<EstimateContent> content = Document::ReadEstimateFile(m_sheet, m_header, estimatePath());
        QVERIFY(content);
        m_saved = content->history;
        QDir(m_folder.path()).mkdir(u"made"_s);
    }

    // Three payees, three PDFs of several pages and a photo: each page in its place, with
    // its stamp, and the cover saying where each starts.
    void enclosesEveryPage()
    {
        QVERIFY(writePdf(path(u"made/alpha.pdf"_s), u"Alpha"_s, 3));
        QVERIFY(writePdf(path(u"made/beta.pdf"_s), u"Beta"_s, 2));
        QVERIFY(writePdf(path(u"made/waiver.pdf"_s), u"Waiver"_s, 1));
        QVERIFY(writePng(path(u"made/photo.png"_s)));
        EstimateHistory history = m_saved;
        history.payees = {payee(1, u"Acme Framing"_s, 1), payee(2, u"Bolt Electric"_s, 2),
                          payee(3, u"Clear Plumbing"_s, 3)};
        history.papers = {
            attach(1, Paper::Kind::LienWaiver, path(u"made/waiver.pdf"_s), 0, Paper::Subject::Payee),
            attach(2, Paper::Kind::Invoice, path(u"made/beta.pdf"_s), 12, Paper::Subject::DrawLine),
            attach(3, Paper::Kind::Photo, path(u"made/photo.png"_s), 5, Paper::Subject::DrawLine),
            attach(4, Paper::Kind::Receipt, path(u"made/alpha.pdf"_s), 0, Paper::Subject::Draw),
        };
        history.waivers = {waiver(1, LienWaiver::Status::Received, 1), waiver(2, LienWaiver::Status::Requested, 0)};
        history.loan = Loan{};
        history.loan->lender = u"First Federal"_s;
        history.loan->loanNumber = u"CL-2291"_s;
        const QString output = path(u"package.pdf"_s);
        QStringList notices;
        QString errorString;
        QVERIFY2(writePackage(output, history, &notices, &errorString), qPrintable(errorString));
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join(u'\n')));

        const int request = requestPageCount();
        QVERIFY(request > 0);
        // The cover, the request, the payees, then 3 + 1 + 2 + 1 pages of papers.
        const int front = 1 + request + 1;
        QCOMPARE(pageCount(output), front + 7);

        const QString cover = pageText(output, 1);
        const QString missing = Programs::missingInOrder(
            cover,
            {u"DRAW PACKAGE"_s, u"Owner: Pat Owner"_s, u"Lender: First Federal"_s, u"Loan No.: CL-2291"_s,
             u"Draw No.: 3"_s, u"Amount Requested: "_s, u"Draw Request +2\n"_s,
             u"Payees by Line +%1\n"_s.arg(2 + request), u"Enclosure 1, Receipt: alpha +%1\n"_s.arg(front + 1),
             u"Enclosure 2, Item 5, Photo: photo +%1\n"_s.arg(front + 4),
             u"Enclosure 3, Item 12, Invoice: beta +%1\n"_s.arg(front + 5),
             u"Enclosure 4, Lien waiver: waiver +%1\n"_s.arg(front + 7)});
        QVERIFY2(missing.isEmpty(), qPrintable(missing + u"\n"_s + cover));

        const QString payees = pageText(output, front);
        const QString payeeMissing = Programs::missingInOrder(
            payees,
            {u"PAYEES BY LINE"_s, u"1 +Acme Framing +\\$[\\d,.]+ +Received"_s,
             u"2 +Bolt Electric +\\$[\\d,.]+ +Requested"_s, u"3 +Clear Plumbing +\\$[\\d,.]+ +None"_s});
        QVERIFY2(payeeMissing.isEmpty(), qPrintable(payeeMissing + u"\n"_s + payees));

        struct Expected
        {
            QString text;
            QString stamp;
        };
        const QList<Expected> pages = {
            {u"Alpha page 1"_s, u"Draw 3 · Enclosure 1"_s},
            {u"Alpha page 2"_s, u"Draw 3 · Enclosure 1"_s},
            {u"Alpha page 3"_s, u"Draw 3 · Enclosure 1"_s},
            {{}, u"Draw 3 · Item 5 · Enclosure 2"_s},
            {u"Beta page 1"_s, u"Draw 3 · Item 12 · Enclosure 3"_s},
            {u"Beta page 2"_s, u"Draw 3 · Item 12 · Enclosure 3"_s},
            {u"Waiver page 1"_s, u"Draw 3 · Enclosure 4"_s},
        };
        for (int index = 0; index < pages.size(); ++index) {
            const QString text = pageText(output, front + 1 + index);
            QVERIFY2(text.contains(pages[index].text) && text.contains(pages[index].stamp),
                     qPrintable(u"page %1: %2"_s.arg(front + 1 + index).arg(text)));
        }
    }

    void leavesOutWhatCannotGoIn_data()
    {
        Rows::columns<QString, QString>("fault", "reason");
        QTest::newRow("missing") << u"missing"_s << u"the file is missing"_s;
        QTest::newRow("changed") << u"changed"_s << u"the file has changed since it was attached"_s;
        QTest::newRow("encrypted") << u"encrypted"_s << u"the PDF is encrypted"_s;
        QTest::newRow("damaged") << u"damaged"_s << u"the PDF is damaged"_s;
        QTest::newRow("text") << u"text"_s << u"it is neither a PDF nor an image"_s;
    }

    // Each is named on the cover with its reason; the good paper beside it still goes in.
    void leavesOutWhatCannotGoIn()
    {
        const auto [fault, reason] = Rows::fetch<QString, QString>("fault", "reason");
        const QString made = path(u"made/bad-%1.pdf"_s.arg(fault));
        const QString good = path(u"made/good-%1.pdf"_s.arg(fault));
        QVERIFY(writePdf(good, u"Good"_s, 2));
        QVERIFY(writePdf(made, u"Bad"_s, 3));
        if (fault == u"encrypted") {
            const QString locked = made + u".locked"_s;
            QCOMPARE(Programs::run(u"qpdf"_s, {u"--encrypt"_s, u"user"_s, u"owner"_s, u"256"_s, u"--"_s, made, locked})
                         .status,
                     0);
            QVERIFY(QFile::remove(made) && QFile::rename(locked, made));
        } else if (fault == u"damaged") {
            const QByteArray bytes = Files::read(made);
            QVERIFY(Files::write(made, bytes.first(bytes.size() / 2)));
        } else if (fault == u"text") {
            QVERIFY(Files::write(made, "Paid in full, thank you.\n"));
        }
        EstimateHistory history = m_saved;
        history.papers = {attach(1, Paper::Kind::Invoice, made, 0, Paper::Subject::Draw),
                          attach(2, Paper::Kind::Invoice, good, 0, Paper::Subject::Draw)};
        const QString attached = AttachmentFolder(estimatePath()).absolutePath(history.papers[0].file);
        if (fault == u"missing")
            QVERIFY(QFile::remove(attached));
        else if (fault == u"changed")
            QVERIFY(writePdf(attached, u"Other"_s, 3));

        const QString output = path(u"package-%1.pdf"_s.arg(fault));
        QStringList notices;
        QString errorString;
        QVERIFY2(writePackage(output, history, &notices, &errorString), qPrintable(errorString));
        const QString expected = u"Enclosure 1, Invoice: bad-%1 not included: %2"_s.arg(fault, reason);
        QCOMPARE(notices, QStringList{expected});
        QVERIFY2(plainText(output).contains(expected), qPrintable(plainText(output)));
        QCOMPARE(pageCount(output), 1 + requestPageCount() + 1 + 2);
    }

    void commandLine_data()
    {
        Rows::columns<QStringList, QString>("draw", "shown");
        QTest::newRow("draw 2") << QStringList{u"--draw"_s, u"2"_s} << u"Draw No.: 2"_s;
        QTest::newRow("the last") << QStringList{} << u"Draw No.: 3"_s;
    }

    void commandLine()
    {
        const auto [draw, shown] = Rows::fetch<QStringList, QString>("draw", "shown");
        const QString output = path(u"cli-%1.pdf"_s.arg(QTest::currentDataTag()));
        const ProgramRun run = Programs::varn(QStringList{u"--export"_s, output, u"--report"_s, u"draw-package"_s}
                                              + draw + QStringList{estimatePath()});
        QCOMPARE(run.status, 0);
        QVERIFY2(plainText(output).contains(shown), qPrintable(plainText(output)));
    }

    void folderNames_data()
    {
        Rows::columns<QStringList, QString, QString>("draw", "name", "shown");
        QTest::newRow("draw 2") << QStringList{u"--draw"_s, u"2"_s} << u"house-draw-2-package.pdf"_s
                                << u"Draw No.: 2"_s;
        QTest::newRow("the last") << QStringList{} << u"house-draw-package.pdf"_s << u"Draw No.: 3"_s;
    }

    // --export-dir names each package after its estimate and, where one is asked for, its draw.
    void folderNames()
    {
        const auto [draw, name, shown] = Rows::fetch<QStringList, QString, QString>("draw", "name", "shown");
        const QString folder = path(u"folder-%1"_s.arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const ProgramRun run = Programs::varn(QStringList{u"--export-dir"_s, folder, u"--report"_s, u"draw-package"_s}
                                              + draw + QStringList{estimatePath()});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QVERIFY2(plainText(QDir(folder).filePath(name)).contains(shown),
                 qPrintable(QDir(folder).entryList().join(u' ')));
    }
};

QTEST_MAIN(TestDrawPackage)
#include "tst_drawpackage.moc"
