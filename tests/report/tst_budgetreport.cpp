#include "core/document/estimatefile.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/programs.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// Rough Lumber moved up by a change order from the contingency and paid, this period, $500
// beyond it when overrun is set; a change order for the Roofing still pending.
EstimateContent estimate(bool overrun)
{
    EstimateContent content;
    content.name = QStringLiteral("Pat Owner");
    content.cells[4] = {"Mill & Sons", "Rough Lumber", "$10,000.00",
                        "$12,000.00",  "$11,500.00",   overrun ? "$1,000.00" : ""};
    content.cells[7] = {"", "Roofing", "$8,000.00", "$8,000.00", "$2,000.00"};
    content.cells[28] = {"", "Misc.", "$5,000.00", "$3,000.00"};
    content.history.changeOrders = {{1, QDate(2026, 3, 2), 5, QStringLiteral("engineered joists, 2x10"), 200000,
                                     ChangeOrder::Status::Approved, ChangeOrder::Source::Contingency},
                                    {2, QDate(2026, 3, 9), 8, QStringLiteral("skylight"), 75000,
                                     ChangeOrder::Status::Pending, ChangeOrder::Source::OwnerCash}};
    return content;
}

bool isOverrunRed(QRgb pixel)
{
    return std::abs(qRed(pixel) - 200) < 12 && std::abs(qGreen(pixel) - 30) < 12 && std::abs(qBlue(pixel) - 30) < 12;
}
}

class TestBudgetReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!Programs::installed({"pdftotext", "pdftoppm"}))
            QSKIP("pdftotext and pdftoppm are needed; scripts/install-deps.sh installs them");
        QVERIFY(EstimateFile::save(input(true), estimate(true)) && EstimateFile::save(input(false), estimate(false)));
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
        const QString pdf = m_folder.filePath(QStringLiteral("b.pdf"));
        const ProgramRun exported = Programs::varn({"--export", pdf, "--report", "budget", input(overrun)});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));

        const QString text = Programs::pdfText(pdf).simplified();
        for (const QString &expected :
             {QStringLiteral("BUDGET SUMMARY"), QStringLiteral("Name: Pat Owner"),
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

    // The register as CSV, and a form the budget has none in.
    void registerCsv()
    {
        const QString csv = m_folder.filePath(QStringLiteral("orders.csv"));
        const ProgramRun exported = Programs::varn({"--export", csv, "--report", "budget", input(true)});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        QCOMPARE(Files::read(csv),
                 QByteArray("No.,Date,Row,Description,Amount,Status,Source\r\n"
                            "1,2026-03-02,5 Rough Lumber,\"engineered joists, 2x10\","
                            "\"$2,000.00\",Approved,Contingency\r\n"
                            "2,2026-03-09,8 Roofing,skylight,$750.00,Pending,Owner's cash\r\n"));

        const ProgramRun refused =
            Programs::varn({"--export", m_folder.filePath("b.xlsx"), "--report", "budget", input(true)});
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.errors,
                 QStringLiteral("VARN: a budget is exported as pdf (the summary) or csv (the change-order "
                                "register), not xlsx\n"));
    }

    // The register as a worksheet of the estimate's workbook, its amounts numbers.
    void registerInWorkbook()
    {
        const QString python = Programs::openpyxlPython();
        if (python.isEmpty())
            QSKIP("python3-openpyxl is needed; scripts/install-deps.sh installs it");
        const QString workbook = m_folder.filePath(QStringLiteral("house.xlsx"));
        const ProgramRun exported = Programs::varn({"--export", workbook, input(true)});
        QVERIFY2(exported.status == 0, qPrintable(exported.errors));
        const char *script = "import openpyxl, sys\n"
                             "sheet = openpyxl.load_workbook(sys.argv[1])['Change Orders']\n"
                             "for row in sheet.iter_rows(values_only=True): print(row)\n"
                             "print(sheet['E2'].number_format)\n";
        QCOMPARE(Programs::run(python, {"-c", script, workbook}).output,
                 QStringLiteral("('No.', 'Date', 'Row', 'Description', 'Amount', 'Status', 'Source')\n"
                                "(1, '2026-03-02', '5 Rough Lumber', 'engineered joists, 2x10', 2000, 'Approved', "
                                "'Contingency')\n"
                                "(2, '2026-03-09', '8 Roofing', 'skylight', 750, 'Pending', \"Owner's cash\")\n"
                                "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)\n"));
    }

private:
    QString input(bool overrun) const { return m_folder.filePath(overrun ? "over.vrn" : "within.vrn"); }

    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestBudgetReport)
#include "tst_budgetreport.moc"
