#include "core/document/estimatefile.h"
#include "core/export/workbookcheck.h"
#include "core/export/xlsxworkbook.h"
#include "core/sheet/categorytable.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QDir>
#include <QJsonDocument>
#include <QLibraryInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using Programs::run;
using Programs::varn;

namespace {
// Rough Lumber moved up by a change order from the contingency and paid, this period, $500
// beyond it when overrun is set; a change order for the Roofing still pending.
EstimateContent budgetEstimate(bool overrun)
{
    EstimateContent content;
    content.name = QStringLiteral("Pat Owner");
    content.address = QStringLiteral("12 Oak Lane\nSpringfield, IL");
    content.cells[4] = {"Mill & Sons", "Rough Lumber", "$10,000.00",
                        "$12,000.00",  "$11,500.00",   overrun ? "$1,000.00" : ""};
    content.cells[7] = {"", "Roofing", "$8,000.00", "$8,000.00", "$2,000.00"};
    content.cells[28] = {"", "Misc.", "$5,000.00", "$3,000.00"};
    content.history.changeOrders = {{1,
                                     QDate(2026, 3, 2),
                                     5,
                                     QStringLiteral("engineered joists, 2x10"),
                                     200000,
                                     ChangeOrder::Status::Approved,
                                     ChangeOrder::Source::Contingency,
                                     std::nullopt,
                                     std::nullopt,
                                     {}},
                                    {2,
                                     QDate(2026, 3, 9),
                                     8,
                                     QStringLiteral("skylight"),
                                     75000,
                                     ChangeOrder::Status::Pending,
                                     ChangeOrder::Source::OwnerCash,
                                     std::nullopt,
                                     std::nullopt,
                                     {}}};
    return content;
}

// The budget table of a summary's text as pdftotext lays it out, page by page: its lines from
// the heading, or the top of a page it runs onto, to the change orders, spaces simplified.
QList<QStringList> budgetTablePages(const QString &text)
{
    const QString table = text.section(u"BUDGET BY ROW"_s, 1).section(u"CHANGE ORDERS"_s, 0, 0);
    static const QRegularExpression pageNumber(u"^Page \\d+$"_s);
    QList<QStringList> pages;
    for (const QString &page : table.split(u'\f')) {
        QStringList lines;
        for (const QString &line : page.split(u'\n')) {
            if (!line.simplified().isEmpty() && !pageNumber.match(line.simplified()).hasMatch())
                lines << line.simplified();
        }
        pages << lines;
    }
    return pages;
}

const QStringList budgetCaptions = {u"Original Adjusted Cost to"_s,
                                    u"Row estimate estimate Paid to date This period complete Over budget"_s};

bool isOverrunRed(QRgb pixel)
{
    return std::abs(qRed(pixel) - 200) < 12 && std::abs(qGreen(pixel) - 30) < 12 && std::abs(qBlue(pixel) - 30) < 12;
}
}

// The estimate's exports as the command line writes them, without a display: the page, the
// CSV, the workbook and the copy, and the budget's summary and register, read back as their
// readers read them.
class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!Programs::installed({"pdftotext", "pdftoppm", "pdfinfo", "python3"}))
            QSKIP("poppler-utils and python3 are needed; scripts/install-deps.sh installs them");
        m_openpyxlPython = Programs::openpyxlPython();
        if (m_openpyxlPython.isEmpty())
            QSKIP("python3-openpyxl is needed; scripts/install-deps.sh installs it");
        EstimateContent content;
        content.name = QStringLiteral("Pat \"the owner\"");
        content.address = QStringLiteral("12 Elm Road\nSpringfield, IL");
        content.builder = QStringLiteral("Smith, Jones & Co.");
        content.cells[0] = {"Town, county", "Permits, Fees, Surveys", "$1,500.00"};
        content.cells[1][4] = QStringLiteral("$250.00");
        content.cells[1][6] = QStringLiteral("$9.99"); // stale: recomputed as Open does
        content.cells[4] = {"Summit Roofing Co.", "Roofing"};
        // The program's working folder is the test's own: the tests running beside it write into
        // theirs, and a relative name the program must not write is looked for here.
        QVERIFY(QDir().mkpath(path("working folder")) && QDir::setCurrent(path("working folder")));
        m_input = path("house with blanks.vrn");
        QVERIFY(EstimateFile::save(m_input, content));
        QVERIFY(Files::write(path("short.vrn"), EstimateFile::encode(content).left(200)));
        for (const char *name : {"report.pdf", "sheet.csv", "input.xlsx", "copy.vrn"}) {
            const ProgramRun exported = varn({"--export", path(name), m_input});
            QVERIFY2(exported.status == 0 && exported.errors.isEmpty(), qPrintable(exported.errors));
        }

        // Notes among the amounts, and texts a spreadsheet would take for numbers or formulas.
        content.cells[2] = {"=1+1", "0042", "$1,234.50", "", "TBD", "($75.00)"};
        content.cells[3] = {"", "", "1,500", "", "$10.005"};
        content.cells[5] = {"@SUM(1)", "-2 bags"};
        content.cells[6] = {"\tTab", "+tax"};
        content.cells[7] = {"-50"};
        QVERIFY(EstimateFile::save(path("workbook.vrn"), content));
        const ProgramRun exported = varn({"--export", path("sheet.xlsx"), path("workbook.vrn")});
        QVERIFY2(exported.status == 0 && exported.errors.isEmpty(), qPrintable(exported.errors));
        QVERIFY(EstimateFile::save(path("over.vrn"), budgetEstimate(true))
                && EstimateFile::save(path("within.vrn"), budgetEstimate(false)));
    }

    void workbookCells_data()
    {
        // value: a formula as its text
        // cached: the result a reader that does not calculate shows
        Rows::columns<QString, QVariant, QVariant, QString>("cell", "value", "cached", "look");
        const QVariant none;
        QTest::newRow("name label") << "A1" << QVariant(u"Name:"_s) << QVariant(u"Name:"_s) << "bold";
        QTest::newRow("name") << "B1" << QVariant(u"Pat \u201Dthe owner\u201D"_s) << none << "text";
        QTest::newRow("address") << "B2" << QVariant(u"12 Elm Road\nSpringfield, IL"_s) << none << "text";
        QTest::newRow("builder") << "B3" << QVariant(u"Smith, Jones & Co."_s) << none << "text";
        QTest::newRow("first title") << "A4" << QVariant(u"Subcontractor, Supplier"_s) << none << "bold";
        QTest::newRow("last title") << "G4" << QVariant(u"Estimated Cost to Complete"_s) << none << "bold";
        QTest::newRow("supplier") << "A5" << QVariant(u"Town, county"_s) << none << "text";
        QTest::newRow("original estimate") << "C5" << QVariant(1500.0) << none << "money";
        QTest::newRow("copied estimate") << "D5" << QVariant(1500.0) << none << "money";
        QTest::newRow("empty payment") << "E5" << none << none << "money";
        QTest::newRow("cost to complete") << "G5" << QVariant(u"=D5-E5-F5"_s) << QVariant(1500.0) << "money";
        QTest::newRow("negative remainder") << "G6" << QVariant(u"=D6-E6-F6"_s) << QVariant(-250.0) << "money";
        QTest::newRow("formula-like text") << "A7" << QVariant(u"=1+1"_s) << QVariant(u"=1+1"_s) << "text";
        QTest::newRow("number-like text") << "B7" << QVariant(u"0042"_s) << none << "text";
        QTest::newRow("note among amounts") << "E7" << QVariant(u"TBD"_s) << none << "money";
        QTest::newRow("negative amount") << "F7" << QVariant(-75.0) << none << "money";
        QTest::newRow("a note counts as nothing") << "G7" << QVariant(u"=D7-N(E7)-F7"_s) << QVariant(1309.5) << "money";
        QTest::newRow("raw entry") << "C8" << QVariant(1500.0) << none << "money";
        QTest::newRow("half cent as read") << "E8" << QVariant(10.005) << none << "money";
        QTest::newRow("total label") << "B41" << QVariant(u"Total"_s) << none << "bold";
        QTest::newRow("total") << "C41" << QVariant(u"=SUM(C5:C40)"_s) << QVariant(4234.5) << "bold money";
        QTest::newRow("total of payments") << "E41" << QVariant(u"=SUM(E5:E40)"_s) << QVariant(260.01) << "bold money";
        QTest::newRow("total to complete") << "G41" << QVariant(u"=SUM(G5:G40)"_s) << QVariant(4049.5) << "bold money";
        QTest::newRow("below the sheet") << "A42" << none << none << "text";
    }

    // Read back by openpyxl: values, formulas with their cached results, texts kept as texts, and the
    // currency form that shows $1,234.50 and ($75.00) in red.
    void workbookCells()
    {
        auto [cell, value, cached, look] =
            Rows::fetch<QString, QVariant, QVariant, QString>("cell", "value", "cached", "look");
        const QVariantMap read = workbook().value("cells").toMap().value(cell).toMap();
        QCOMPARE(read.value("value"), value);
        const bool formula = value.typeId() == QMetaType::QString && cached.typeId() == QMetaType::Double;
        QCOMPARE(read.value("cached"), cached.isValid() ? cached : value);
        const char *type = formula ? "f" : value.typeId() == QMetaType::QString ? "s" : value.isValid() ? "n" : "";
        QCOMPARE(read.value("type").toString(), QLatin1String(type));
        QCOMPARE(read.value("format").toString(),
                 look.endsWith(u"money") ? u"\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)"_s : u"General"_s);
        QCOMPARE(read.value("bold").toBool(), look.startsWith(u"bold"));
    }

    // A worksheet can lose whole rows and stay well-formed: it is whole only with every cell
    // written into it.
    void workbookCheckCountsCells()
    {
        QString errorString;
        const QByteArray workbook = XlsxWorkbook::make(
            [](lxw_workbook *book) {
                lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
                for (lxw_row_t row = 0; row < 35; ++row)
                    worksheet_write_number(sheet, row, 0, row, nullptr);
                return LXW_NO_ERROR;
            },
            &errorString);
        QVERIFY2(!workbook.isEmpty(), qPrintable(errorString));
        QVERIFY(WorkbookCheck::isWhole(workbook, {35}));
        QVERIFY(!WorkbookCheck::isWhole(workbook, {36}, &errorString));
        QCOMPARE(errorString, u"xl/worksheets/sheet1.xml holds 35 of its 36 cells"_s);
    }

    void workbookPage()
    {
        const QVariantMap book = workbook();
        QCOMPARE(book.value("wrapped").toList(), QVariantList({true, true, true}));
        // The sheet's columns in proportion: 1500, 2000, 1400, 1400, 1600, 1500 and 1500 twips wide.
        const QList<double> twips = {1500, 2000, 1400, 1400, 1600, 1500, 1500};
        const QVariantList widths = book.value("widths").toList();
        QCOMPARE(widths.size(), twips.size());
        for (qsizetype column = 1; column < twips.size(); ++column) {
            const double ratio = widths.at(column).toDouble() / widths.at(0).toDouble();
            QVERIFY2(qAbs(ratio - twips.at(column) / twips.at(0)) < 0.06, qPrintable(QString::number(ratio)));
        }
        QStringList page;
        for (const char *setting : {"orientation", "fitToPage", "fitToWidth", "fitToHeight", "titleRows"})
            page << book.value(setting).toString();
        QCOMPARE(page, (QStringList{"landscape", "true", "1", "0", "$4:$4"}));
        QCOMPARE(book.value("header").toStringList(),
                 (QStringList{u"Name: Pat \u201Dthe owner\u201D"_s, u"Prop. Address: 12 Elm Road, Springfield, IL"_s,
                              u"Builder: Smith, Jones && Co."_s}));
    }

    // Files as owners keep them and as disks and editors damage them, each exported to an
    // estimate file: a real one is read without a word, a damaged one with a warning naming the
    // rows that look shifted, and one that is no estimate is refused.
    void damagedFiles_data()
    {
        // said: on standard error; nothing when empty
        Rows::columns<QByteArray, int, QString, QByteArray>("bytes", "status", "said", "copyHolds");
        EstimateContent content;
        const QStringList names = CategoryTable::names();
        for (int row = 0; row < 30; ++row)
            content.cells[row] = {u"Supplier %1"_s.arg(row), names.at(row), u"$%1.00"_s.arg(100 * row)};
        content.cells[31] = {u"Acme"_s, u"Fence"_s, u"$900.00"_s};
        const QByteArray written = EstimateFile::encode(content);
        const auto line = [&](int row) { return written.split('\n').at(row + 1) + '\n'; };
        const auto inserted = [&](int row, const QByteArray &bytes) {
            return QByteArray(written).insert(written.indexOf(line(row)), bytes);
        };
        const QString shifted = u"This file may be damaged: rows %1-36 look shifted by one %2"_s;
        QTest::newRow("as written") << written << 0 << "" << QByteArray();
        QTest::newRow("LF line ends") << QByteArray(written).replace("\r\n", "\n") << 0 << "" << QByteArray();
        EstimateContent noted = content;
        for (int row = 0; row < 36; row += 3)
            noted.cells[row][2 + row % 5] = QStringList{"TBD", "see invoice", "N/A", "call Bob", "incl."}.at(row % 5);
        for (int row = 30; row < 36; ++row)
            noted.cells[row] = {u"Crew %1"_s.arg(row), u"Extra work"_s, u"TBD"_s};
        QTest::newRow("notes among the amounts") << EstimateFile::encode(noted) << 0 << "" << QByteArray();
        EstimateContent described = noted;
        for (auto &row : described.cells)
            row[1] = u"My own words"_s;
        described.cells[3][1] = names.at(4);
        described.cells[4][1] = names.at(3);
        QTest::newRow("descriptions of one's own") << EstimateFile::encode(described) << 0 << "" << QByteArray();
        QTest::newRow("blank line") << inserted(3, "\r\n") << 0 << shifted.arg(3).arg(u"column"_s) << QByteArray();
        QTest::newRow("stray comma") << inserted(10, "").insert(written.indexOf(line(10)) + line(10).indexOf(','), ',')
                                     << 0 << shifted.arg(10).arg(u"column"_s) << QByteArray();
        QTest::newRow("blank line before the header")
            << inserted(0, "\r\n") << 0 << shifted.arg(1).arg(u"column"_s) << QByteArray();
        QTest::newRow("line doubled") << inserted(8, line(8)) << 0 << shifted.arg(9).arg(u"row"_s) << QByteArray();
        QByteArray noise(64 * 1024, '\0');
        QRandomGenerator random(22);
        for (char &byte : noise)
            byte = char(1 + random.bounded(255));
        QTest::newRow("random bytes") << noise << 1 << "It is not an estimate file" << QByteArray();
        QTest::newRow("control character") << QByteArray(written).replace("Supplier 7", "Supplier\x07") << 1
                                           << "It is not an estimate file" << QByteArray();
        const QByteArray utf8Header = "\"" + u"Ren\u00E9e \u201CPat\u201D"_s.toUtf8() + "\",\"\",\"\"\r\n";
        QTest::newRow("saved as UTF-8") << QByteArray(written).replace(written.indexOf(line(0)), line(0).size(),
                                                                       utf8Header)
                                        << 0 << ""
                                        << QByteArray("\"Ren\xE9"
                                                      "e \x93Pat\x94\"");
        // Code-page text whose bytes happen to be UTF-8 of letters the code page lacks is what it was.
        QTest::newRow("code page that looks like UTF-8")
            << QByteArray(written).replace(written.indexOf(line(0)), line(0).size(), "\"Pipe \xD8\xBD\",\"\",\"\"\r\n")
            << 0 << "" << QByteArray("\"Pipe \xD8\xBD\"");
        QTest::newRow("UTF-8 beyond the code page")
            << QByteArray(written).replace(written.indexOf(line(0)), line(0).size(),
                                           "\"K\xC5\x8D"
                                           "be\",\"\",\"\"\r\n")
            << 0 << "" << QByteArray("\"K?be\"");
    }

    void damagedFiles()
    {
        auto [bytes, status, said, copyHolds] =
            Rows::fetch<QByteArray, int, QString, QByteArray>("bytes", "status", "said", "copyHolds");
        const QString input = path("damaged.vrn");
        QVERIFY(Files::write(input, bytes));
        QFile::remove(path("damaged copy.vrn"));
        const ProgramRun result = varn({"--export", path("damaged copy.vrn"), input});
        QCOMPARE(result.status, status);
        QVERIFY2(said.isEmpty() ? result.errors.isEmpty()
                                : result.errors.count(u'\n') == 1 && result.errors.contains(said),
                 qPrintable(result.errors));
        QVERIFY(Files::read(path("damaged copy.vrn")).contains(copyHolds));
    }

    void csvKeepsFormulasAsText_data()
    {
        // record: how the row's record begins
        Rows::columns<int, QByteArray>("row", "record");
        QTest::newRow("formula") << 3 << QByteArray("'=1+1,0042,\"$1,234.50\",\"$1,234.50\",TBD,($75.00),");
        QTest::newRow("function, leading minus") << 6 << QByteArray("'@SUM(1),'-2 bags,");
        QTest::newRow("tab, plus") << 7 << QByteArray("'\tTab,'+tax,");
        QTest::newRow("negative amount") << 8 << QByteArray("-50,");
    }

    // A text that a spreadsheet would run as a formula is marked as text; amounts stay numbers.
    void csvKeepsFormulasAsText()
    {
        auto [row, record] = Rows::fetch<int, QByteArray>("row", "record");
        QCOMPARE(varn({"--export", path("formulas.csv"), path("workbook.vrn")}).status, 0);
        const QByteArray line = Files::read(path("formulas.csv")).split('\n').value(row);
        QVERIFY2(line.startsWith(record), line.constData());
    }

    // Fields filled as far as the window lets them: the export still succeeds, and the page
    // holds the whole report, footer and all (text beyond the page does not read back).
    void everyFieldFilledToItsLimit()
    {
        EstimateContent content;
        const int limit = 32767; // a text box's own
        for (QString *field : {&content.name, &content.builder}) {
            while (field->size() < limit)
                *field += QStringLiteral("Longname ");
            field->truncate(limit);
        }
        QStringList address;
        for (int line = 1; line <= 30; ++line)
            address << QStringLiteral("%1 Long Road past the old mill, the creek and the county line").arg(line);
        content.address = address.join(u'\n');
        content.cells[0][2] = QStringLiteral("$12,345,678.90");
        const QString input = path("full.vrn");
        QVERIFY(EstimateFile::save(input, content));

        const ProgramRun exported = varn({"--export", path("full.pdf"), input});
        QVERIFY2(exported.status == 0 && exported.errors.isEmpty(), qPrintable(exported.errors));
        QCOMPARE(Programs::pdfPageSizes(path("full.pdf")).size(), 1);
        const QString text = Programs::pdfText(path("full.pdf"));
        for (const char *shown : {"Name: Longname", "BUILDER: Longname", "PROP. ADDRESS: 1 Long Road", "Total",
                                  "$12,345,678.90", "Cost Estimate software by VARN Software"})
            QVERIFY2(text.contains(QLatin1String(shown)), shown);
    }

    // A search in a PDF viewer finds the words of the page as they were typed: the text the
    // page gives back holds no ligature glyph in their place.
    void pdfTextAsTyped()
    {
        const QString text = run("pdftotext", {path("report.pdf"), "-"}).output;
        for (const char *word : {"Springfield", "Summit Roofing Co.", "Roofing"})
            QVERIFY2(text.contains(QLatin1String(word)), word);
    }

    // The report brings its typeface along: the desktop's font settings, here asking for the
    // strongest hinting, leave the page as it is.
    void pageIgnoresDesktopFontSettings()
    {
        QVERIFY(Files::write(path("fonts.conf"), R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font">
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
  </match>
</fontconfig>
)"));
        QProcessEnvironment settings;
        settings.insert(QStringLiteral("FONTCONFIG_FILE"), path("fonts.conf"));
        QCOMPARE(varn({"--export", path("hinted.pdf"), m_input}, settings).status, 0);
        QCOMPARE(Programs::pdfPage(path("hinted.pdf")), Programs::pdfPage(path("report.pdf")));
    }

    void commandLine_data()
    {
        // named: on standard output after success, else in the one line on standard error
        Rows::columns<QStringList, int, QString>("arguments", "status", "named");
        QTest::newRow("version") << QStringList{"--version"} << 0 << "VARN 2.4.6\n";
        // The usage names the program as people call it, and both ways of calling it.
        QTest::newRow("help")
            << QStringList{"--help"} << 0
            << "Usage: VARN [FILE.vrn]\n"
               "       VARN --export OUTPUT [--report REPORT [--draw N | --date DATE]] [--paper PAPER] "
               "INPUT.vrn\n";
        QTest::newRow("missing input") << QStringList{"--export", path("never.pdf"), path("missing.vrn")} << 1
                                       << path("missing.vrn");
        QTest::newRow("input cut short") << QStringList{"--export", path("never.csv"), path("short.vrn")} << 1
                                         << path("short.vrn");
        for (const char *name :
             {"no folder/report.pdf", "no folder/sheet.csv", "no folder/sheet.xlsx", "no folder/copy.vrn"})
            QTest::newRow(name) << QStringList{"--export", path(name), m_input} << 1 << path(name);
        QTest::newRow("unknown output type") << QStringList{"--export", "out.txt", "in.vrn"} << 2 << "out.txt";
        QTest::newRow("workbook from a missing input")
            << QStringList{"--export", path("never.xlsx"), path("missing.vrn")} << 1 << path("missing.vrn");
        QTest::newRow("missing output") << QStringList{"--export"} << 2 << QString();
        QTest::newRow("no input") << QStringList{"--export", "out.pdf"} << 2 << QString();
        QTest::newRow("two inputs") << QStringList{"--export", "out.pdf", "a.vrn", "b.vrn"} << 2 << QString();
        QTest::newRow("unknown option") << QStringList{"--export", "out.pdf", "in.vrn", "--colour"} << 2 << QString();
        QTest::newRow("batch into no such folder")
            << QStringList{"--export-dir", path("no folder"), m_input} << 1 << path("no folder");
        QTest::newRow("batch of an unknown format")
            << QStringList{"--export-dir", path(""), "--format", "txt", m_input} << 2 << "txt";
        QTest::newRow("batch of no input") << QStringList{"--export-dir", path("")} << 2 << "INPUT";
        QTest::newRow("batch with --export")
            << QStringList{"--export-dir", path(""), "--export", "out.pdf", m_input} << 2 << "--export";
        QTest::newRow("a date of no day")
            << QStringList{"--export", "o.pdf", "--report", "draw-request", "--date", "2027-02-30", m_input} << 2
            << "--date";
        QTest::newRow("a date with --draw") << QStringList{"--export", "o.pdf",  "--report",   "draw-request", "--draw",
                                                           "1",        "--date", "2027-02-01", m_input}
                                            << 2 << "--date";
        QTest::newRow("a date of the estimate")
            << QStringList{"--export", "o.pdf", "--date", "2027-02-01", m_input} << 2 << "--date";
        QTest::newRow("format without a folder")
            << QStringList{"--format", "csv", "--export", "o.csv", m_input} << 2 << "--format";
    }

    // --help and --version succeed quietly, never naming the folder the program lies in; a file
    // that cannot be read or written ends with status 1, a usage error with 2, either with one
    // line on standard error and nothing written at all, not even the output's folder.
    void commandLine()
    {
        auto [arguments, status, named] = Rows::fetch<QStringList, int, QString>("arguments", "status", "named");
        const QStringList before = QDir(path("")).entryList() + QDir().entryList();
        const ProgramRun result = varn(arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(result.errors.count(u'\n'), status == 0 ? 0 : 1);
        QVERIFY2((status == 0 ? result.output : result.errors).contains(named),
                 qPrintable(result.output + result.errors));
        QVERIFY(!result.output.contains(QFileInfo(VARN_EXECUTABLE).absolutePath()));
        QCOMPARE(QDir(path("")).entryList() + QDir().entryList(), before);
    }

    // A platform plugin that is found but cannot be loaded (a library it needs is missing) leaves
    // no way to draw the report: one line and status 1, as for any other failure, not an abort.
    void reportWithoutPlatformPlugin()
    {
        const QString installed = QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms/libqoffscreen.so"_s;
        const QString plugins = path("plugins");
        QVERIFY(QDir().mkpath(plugins + u"/platforms"_s));
        QVERIFY(Files::write(plugins + u"/platforms/libqoffscreen.so"_s,
                             Files::read(installed).replace("libQt6Gui.so.6", "libQt6Gux.so.6")));
        QProcessEnvironment settings;
        settings.insert(u"QT_PLUGIN_PATH"_s, plugins);
        const ProgramRun result = varn({"--export", path("never.pdf"), m_input}, settings);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.errors.count(u'\n'), 1);
        QVERIFY(!QFileInfo::exists(path("never.pdf")));
    }

    void batchExport_data()
    {
        QTest::addColumn<QString>("format");
        for (const char *format : {"pdf", "csv", "xlsx", "vrn"})
            QTest::newRow(format) << QString::fromLatin1(format);
    }

    // Many estimates in one run: each bad input is one line on standard error and costs only its own
    // file; the others are written as --export writes them one at a time.
    void batchExport()
    {
        QFETCH(QString, format);
        const QString folder = path("batch ") + format;
        QVERIFY(QDir().mkpath(folder));
        const ProgramRun result = varn({"--export-dir", folder, "--format", format, m_input, path("missing.vrn"),
                                        path("short.vrn"), path("workbook.vrn")});
        QCOMPARE(result.status, 1);
        const QStringList failures = result.errors.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(failures.size(), 2);
        QVERIFY2(failures.at(0).contains(path("missing.vrn")), qPrintable(failures.at(0)));
        QVERIFY2(failures.at(1).contains(path("short.vrn")), qPrintable(failures.at(1)));
        const QString house = u"house with blanks."_s + format;
        QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{house, u"workbook."_s + format}));

        const QString written = folder + u'/' + house;
        if (format == u"pdf")
            QCOMPARE(Programs::pdfText(written), Programs::pdfText(path("report.pdf")));
        else if (format == u"xlsx")
            QCOMPARE(Files::workbookParts(Files::read(written)), Files::workbookParts(Files::read(path("input.xlsx"))));
        else
            QCOMPARE(Files::read(written), Files::read(path(format == u"csv" ? "sheet.csv" : "copy.vrn")));
    }

    // Two inputs of one name would be one output: the second is refused, naming both files, and
    // the first one's export stays as it was written.
    void batchNeverOverwrites()
    {
        const QString other = path("other");
        QVERIFY(QDir().mkpath(other));
        const QString twin = other + u"/house with blanks.vrn"_s;
        QVERIFY(QFile::copy(path("workbook.vrn"), twin));
        const ProgramRun result = varn({"--export-dir", other, "--format", "csv", m_input, twin});
        QCOMPARE(result.status, 1);
        QCOMPARE(result.errors.count(u'\n'), 1);
        QVERIFY2(result.errors.contains(other + u"/house with blanks.csv"_s) && result.errors.contains(m_input),
                 qPrintable(result.errors));
        QCOMPARE(Files::read(other + u"/house with blanks.csv"_s), Files::read(path("sheet.csv")));
    }

    // The budget summary of an estimate as the command line exports it, read back as text and
    // as pixels: the totals, the rows, the register, and the overrun's red only where an
    // overrun is, named in its label too.
    void summary_data()
    {
        QTest::addColumn<bool>("overrun");
        QTest::newRow("an overrun") << true;
        QTest::newRow("within budget") << false;
    }

    void summary()
    {
        QFETCH(bool, overrun);
        const QString pdf = path("b.pdf");
        const ProgramRun exported =
            varn({"--export", pdf, "--report", "budget", path(overrun ? "over.vrn" : "within.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));

        const QString text = Programs::pdfText(pdf).simplified();
        for (const QString &expected :
             {QStringLiteral("BUDGET SUMMARY"), QStringLiteral("Name: Pat Owner"),
              QStringLiteral("PROP. ADDRESS: 12 Oak Lane Springfield, IL"),
              QStringLiteral("Estimate $23,000.00; change orders $2,000.00; paid to date $13,500.00 (58.7 %); "
                             "contingency left $3,000.00"),
              QStringLiteral("8 Roofing"), QStringLiteral("29 Misc. (contingency)"),
              QStringLiteral("No. Date Row Description Amount Status Source"),
              QStringLiteral("1 2026-03-02 5 Rough Lumber engineered joists, 2x10 $2,000.00 Approved Contingency"),
              QStringLiteral("2 2026-03-09 8 Roofing skylight $750.00 Pending Owner's cash")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in: ") + text));
        QCOMPARE(text.contains(QStringLiteral("5 Rough Lumber - over by $500.00")), overrun);

        const QImage page = Programs::pdfPage(pdf, 50);
        const int red = Pixels::count(page, page.rect(), isOverrunRed);
        QVERIFY2(overrun ? red > 20 : red == 0, qPrintable(QString::number(red)));
    }

    // Each row's figures under the chart, as the sheet holds them, and their Total, whose
    // estimate and paid to date are the totals line's; an overrun says how much.
    void budgetTable_data()
    {
        Rows::columns<bool, QStringList>("overrun", "rows");
        QTest::newRow("an overrun") << true
                                    << QStringList{
                                           u"5 Rough Lumber $10,000.00 $12,000.00 $11,500.00 $1,000.00 "
                                           "($500.00) Over by $500.00"_s,
                                           u"8 Roofing $8,000.00 $8,000.00 $2,000.00 $0.00 $6,000.00"_s,
                                           u"29 Misc. (contingency) $5,000.00 $3,000.00 $0.00 $0.00 $3,000.00"_s,
                                           u"Total $23,000.00 $23,000.00 $13,500.00 $1,000.00 $8,500.00 "
                                           "Over by $500.00"_s};
        QTest::newRow("within budget") << false
                                       << QStringList{
                                              u"5 Rough Lumber $10,000.00 $12,000.00 $11,500.00 $0.00 $500.00"_s,
                                              u"8 Roofing $8,000.00 $8,000.00 $2,000.00 $0.00 $6,000.00"_s,
                                              u"29 Misc. (contingency) $5,000.00 $3,000.00 $0.00 $0.00 "
                                              "$3,000.00"_s,
                                              u"Total $23,000.00 $23,000.00 $13,500.00 $0.00 $9,500.00"_s};
    }

    void budgetTable()
    {
        auto [overrun, rows] = Rows::fetch<bool, QStringList>("overrun", "rows");
        const QString pdf = path("table.pdf");
        const ProgramRun exported =
            varn({"--export", pdf, "--report", "budget", path(overrun ? "over.vrn" : "within.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        const QString text = Programs::pdfText(pdf);
        QCOMPARE(budgetTablePages(text), QList<QStringList>{budgetCaptions + rows});

        static const QRegularExpression totals(u"Estimate (\\S+); change orders \\S+; paid to date (\\S+) "_s);
        const QRegularExpressionMatch said = totals.match(text.simplified());
        QVERIFY(said.hasMatch());
        const QStringList total = rows.constLast().split(u' ');
        QCOMPARE(total.mid(2, 2), (QStringList{said.captured(1), said.captured(2)}));
    }

    // All 36 rows filled: the table starts under the chart and runs onto the next page, its
    // captions on top again, each row once and in its order, the Total at its end.
    void budgetTableAcrossPages()
    {
        EstimateContent content;
        QStringList rows;
        for (int row = 1; row <= 36; ++row) {
            const QString thousands = QLocale(QLocale::English).toString(row * 1000);
            const QString hundreds = QLocale(QLocale::English).toString(row * 100);
            const QString left = QLocale(QLocale::English).toString(row * 900);
            content.cells[row - 1] = {"", u"Part %1"_s.arg(row), u"$%1.00"_s.arg(thousands), "",
                                      u"$%1.00"_s.arg(hundreds)};
            rows << u"%1 Part %1%2 $%3.00 $%3.00 $%4.00 $0.00 $%5.00"_s.arg(row).arg(
                row == 29 ? u" (contingency)"_s : QString(), thousands, hundreds, left);
        }
        rows << u"Total $666,000.00 $666,000.00 $66,600.00 $0.00 $599,400.00"_s;
        QVERIFY(EstimateFile::save(path("long.vrn"), content));
        const QString pdf = path("long.pdf");
        const ProgramRun exported = varn({"--export", pdf, "--report", "budget", path("long.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));

        const QList<QStringList> pages = budgetTablePages(Programs::pdfText(pdf));
        QCOMPARE(pages.size(), 2);
        QStringList shown;
        for (const QStringList &page : pages) {
            QCOMPARE(page.mid(0, 2), budgetCaptions);
            QVERIFY2(page.size() > 2, "rows on both pages");
            shown += page.mid(2);
        }
        QCOMPARE(shown, rows);
    }

    // $200 spent beyond a row of $1,850 beside a row of $250,000 is drawn wide enough to be
    // seen on the page, as in the Budget view.
    void smallOverrunSeenOnPage()
    {
        EstimateContent content;
        content.cells[4] = {"", "Rough Lumber", "$1,850.00", "", "$2,050.00"};
        content.cells[7] = {"", "Roofing", "$250,000.00"};
        QVERIFY(EstimateFile::save(path("small.vrn"), content));
        const QString pdf = path("small.pdf");
        const ProgramRun exported = varn({"--export", pdf, "--report", "budget", path("small.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        const QImage page = Programs::pdfPage(pdf, 100);
        const QRect overrun = Pixels::box(page, page.rect(), isOverrunRed);
        QVERIFY2(overrun.width() >= 10, qPrintable(QString::number(overrun.width())));
    }

    // The register as CSV, and a form the budget has none in.
    void registerCsv()
    {
        const QString csv = path("orders.csv");
        const ProgramRun exported = varn({"--export", csv, "--report", "budget", path("over.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        QCOMPARE(Files::read(csv),
                 QByteArray("No.,Date,Row,Description,Amount,Status,Source\r\n"
                            "1,2026-03-02,5 Rough Lumber,\"engineered joists, 2x10\","
                            "\"$2,000.00\",Approved,Contingency\r\n"
                            "2,2026-03-09,8 Roofing,skylight,$750.00,Pending,Owner's cash\r\n"));

        const ProgramRun refused = varn({"--export", path("b.xlsx"), "--report", "budget", path("over.vrn")});
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.errors,
                 QStringLiteral("VARN: a budget is exported as pdf (the summary) or csv (the change-order "
                                "register), not xlsx\n"));
    }

    // Every PDF goes on the paper of the user's country unless --paper names another, each
    // report still on its pages: the page sizes in points, a page each.
    void paperOfTheLocale_data()
    {
        Rows::columns<QString, QStringList, QStringList>("locale", "options", "pages");
        const QString a4 = QStringLiteral("595 x 842");
        const QString a4Across = QStringLiteral("842 x 595");
        const QString letter = QStringLiteral("612 x 792");
        const QString letterAcross = QStringLiteral("792 x 612");
        QTest::newRow("report in Britain") << "en_GB.UTF-8" << QStringList() << QStringList{a4};
        QTest::newRow("report in Germany") << "de_DE.UTF-8" << QStringList() << QStringList{a4};
        QTest::newRow("report in the US") << "en_US.UTF-8" << QStringList() << QStringList{letter};
        QTest::newRow("report in Canada") << "fr_CA.UTF-8" << QStringList() << QStringList{letter};
        QTest::newRow("report without a country") << "C.UTF-8" << QStringList() << QStringList{letter};
        QTest::newRow("letter chosen in Germany")
            << "de_DE.UTF-8" << QStringList{"--paper", "letter"} << QStringList{letter};
        QTest::newRow("A4 chosen in the US") << "en_US.UTF-8" << QStringList{"--paper", "A4"} << QStringList{a4};
        QTest::newRow("budget in Britain") << "en_GB.UTF-8" << QStringList{"--report", "budget"} << QStringList{a4};
        QTest::newRow("draw request in Germany")
            << "de_DE.UTF-8" << QStringList{"--report", "draw-request"} << QStringList{a4, a4Across};
        QTest::newRow("draw request in the US")
            << "en_US.UTF-8" << QStringList{"--report", "draw-request"} << QStringList{letter, letterAcross};
    }

    void paperOfTheLocale()
    {
        auto [locale, options, pages] = Rows::fetch<QString, QStringList, QStringList>("locale", "options", "pages");
        QProcessEnvironment settings;
        settings.insert(QStringLiteral("LC_ALL"), locale);
        const QString pdf = path("paper.pdf");
        const ProgramRun exported =
            varn(QStringList{"--export", pdf} + options + QStringList{path("over.vrn")}, settings);
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        QCOMPARE(Programs::pdfPageSizes(pdf), pages);
    }

    void paperRefused()
    {
        const ProgramRun refused = varn({"--export", path("b.pdf"), "--paper", "legal", path("over.vrn")});
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.errors, QStringLiteral("VARN: unknown paper legal: it must be a4 or letter\n"));
    }

    // The CSV reports of an estimate with a history compared with the files checked in beside
    // this test, so that any change to what a report holds shows as a change of those files.
    void goldenFiles_data()
    {
        Rows::columns<QStringList, QString>("options", "golden");
        QTest::newRow("recorded draw") << QStringList{"--report", "draw-request", "--draw", "2"}
                                       << "history-draw-2.csv";
        QTest::newRow("first draw") << QStringList{"--report", "draw-request", "--draw", "1"} << "history-draw-1.csv";
        QTest::newRow("change-order register") << QStringList{"--report", "budget"} << "history-change-orders.csv";
        QTest::newRow("sheet") << QStringList() << "history-sheet.csv";
    }

    void goldenFiles()
    {
        auto [options, golden] = Rows::fetch<QStringList, QString>("options", "golden");
        const QString csv = path("golden.csv");
        const QString input = QStringLiteral(VARN_SOURCE_DIR "/fuzz/corpus/estimatefile/history.vrn");
        const ProgramRun exported = varn(QStringList{"--export", csv} + options + QStringList{input});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        QCOMPARE(Files::read(csv), Files::read(QStringLiteral(VARN_SOURCE_DIR "/tests/report/golden/") + golden));
    }

    // The register as a worksheet of the estimate's workbook, its amounts numbers.
    void registerInWorkbook()
    {
        const QString workbook = path("house.xlsx");
        const ProgramRun exported = varn({"--export", workbook, path("over.vrn")});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        const char *script = "import openpyxl, sys\n"
                             "sheet = openpyxl.load_workbook(sys.argv[1])['Change Orders']\n"
                             "for row in sheet.iter_rows(values_only=True): print(row)\n"
                             "print(sheet['E2'].number_format)\n";
        QCOMPARE(run(m_openpyxlPython, {"-c", script, workbook}).output,
                 QStringLiteral("('No.', 'Date', 'Row', 'Description', 'Amount', 'Status', 'Source')\n"
                                "(1, '2026-03-02', '5 Rough Lumber', 'engineered joists, 2x10', 2000, 'Approved', "
                                "'Contingency')\n"
                                "(2, '2026-03-09', '8 Roofing', 'skylight', 750, 'Pending', \"Owner's cash\")\n"
                                "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)\n"));
    }

private:
    // What openpyxl reads from a workbook: every cell of A1:G42 with its value (a formula as its
    // text), its cached result, number format and boldness, and the page set-up.
    QVariantMap workbookAt(const QString &file) const
    {
        static const char script[] = R"(
import json, sys, openpyxl
def plain(v):
    return float(v) if isinstance(v, (int, float)) and not isinstance(v, bool) else v
formulas = openpyxl.load_workbook(sys.argv[1]).active
results = openpyxl.load_workbook(sys.argv[1], data_only=True).active
cells = {}
for row in formulas.iter_rows(min_row=1, max_row=42, max_col=7):
    for c in row:
        read = {"value": plain(c.value), "cached": plain(results[c.coordinate].value),
                "type": c.data_type if c.value is not None else None, "format": c.number_format, "bold": bool(c.font.b)}
        cells[c.coordinate] = {k: v for k, v in read.items() if v is not None}
ps = formulas.page_setup
def pages(count):  # a count the file leaves out is 1
    return 1 if count is None else int(count)
print(json.dumps({
    "cells": cells,
    "wrapped": [formulas["A4"].alignment.wrap_text, formulas["G4"].alignment.wrap_text, formulas["B2"].alignment.wrap_text],
    "widths": [formulas.column_dimensions[l].width for l in "ABCDEFG"],
    "orientation": ps.orientation, "fitToWidth": pages(ps.fitToWidth), "fitToHeight": pages(ps.fitToHeight),
    "fitToPage": formulas.sheet_properties.pageSetUpPr.fitToPage,
    "titleRows": formulas.print_title_rows,
    "header": [formulas.oddHeader.left.text, formulas.oddHeader.center.text, formulas.oddHeader.right.text]}))
)";
        const QString dumped = run(m_openpyxlPython, {"-c", QLatin1String(script), file}).output;
        return QJsonDocument::fromJson(dumped.toUtf8()).toVariant().toMap();
    }
    QVariantMap workbook()
    {
        if (m_workbook.isEmpty())
            m_workbook = workbookAt(path("sheet.xlsx"));
        return m_workbook;
    }

    QString path(const char *name) const { return m_folder.filePath(QLatin1String(name)); }

    QTemporaryDir m_folder;
    QString m_input;
    QString m_openpyxlPython;
    QVariantMap m_workbook;
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
