#include "core/document/estimatefile.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Varn = QStringLiteral(VARN_EXECUTABLE);

struct Run
{
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// Without a display, as a script on a server runs it.
Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Rough Lumber moved up by a change order from the contingency and paid, this period, $500
// beyond it when overrun is set; a change order for the Roofing still pending.
EstimateContent estimate(bool overrun)
{
    EstimateContent content;
    content.name = QStringLiteral("Pat Owner");
    content.address = QStringLiteral("12 Oak Lane\nSpringfield, IL");
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

int overrunPixels(const QImage &page)
{
    int count = 0;
    for (int y = 0; y < page.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            count += isOverrunRed(line[x]) ? 1 : 0;
    }
    return count;
}
}

class TestBudgetReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "pdftoppm"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("pdftotext and pdftoppm are needed; scripts/install-deps.sh installs them");
        }
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
        const QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("house.vrn"));
        const QString pdf = folder.filePath(QStringLiteral("b.pdf"));
        QVERIFY(EstimateFile::save(input, estimate(overrun)));
        const Run exported = run(Varn, {"--export", pdf, "--report", "budget", input});
        QVERIFY2(exported.status == 0, exported.errors);

        const QString text = QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"}).output).simplified();
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

        run("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, folder.filePath(QStringLiteral("page"))});
        const int red = overrunPixels(QImage(folder.filePath(QStringLiteral("page.png"))));
        QVERIFY2(overrun ? red > 20 : red == 0, qPrintable(QString::number(red)));
    }

    // The register as CSV, and a form the budget has none in.
    void registerCsv()
    {
        const QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("house.vrn"));
        QVERIFY(EstimateFile::save(input, estimate(true)));
        const QString csv = folder.filePath(QStringLiteral("orders.csv"));
        const Run exported = run(Varn, {"--export", csv, "--report", "budget", input});
        QVERIFY2(exported.status == 0, exported.errors);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("No.,Date,Row,Description,Amount,Status,Source\r\n"
                            "1,2026-03-02,5 Rough Lumber,\"engineered joists, 2x10\","
                            "\"$2,000.00\",Approved,Contingency\r\n"
                            "2,2026-03-09,8 Roofing,skylight,$750.00,Pending,Owner's cash\r\n"));

        const Run refused = run(Varn, {"--export", folder.filePath("b.xlsx"), "--report", "budget", input});
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.errors,
                 QByteArray("VARN: a budget is exported as pdf (the summary) or csv (the change-order "
                            "register), not xlsx\n"));
    }

    // The register as a worksheet of the estimate's workbook, its amounts numbers.
    void registerInWorkbook()
    {
        QString python;
        for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            if (python.isEmpty() && run(candidate, {"-c", "import openpyxl"}).status == 0)
                python = candidate;
        }
        if (python.isEmpty())
            QSKIP("python3-openpyxl is needed; scripts/install-deps.sh installs it");
        const QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("house.vrn"));
        const QString workbook = folder.filePath(QStringLiteral("house.xlsx"));
        QVERIFY(EstimateFile::save(input, estimate(true)));
        const Run exported = run(Varn, {"--export", workbook, input});
        QVERIFY2(exported.status == 0, exported.errors);
        const char *script = "import openpyxl, sys\n"
                             "sheet = openpyxl.load_workbook(sys.argv[1])['Change Orders']\n"
                             "for row in sheet.iter_rows(values_only=True): print(row)\n"
                             "print(sheet['E2'].number_format)\n";
        QCOMPARE(run(python, {"-c", script, workbook}).output,
                 QByteArray("('No.', 'Date', 'Row', 'Description', 'Amount', 'Status', 'Source')\n"
                            "(1, '2026-03-02', '5 Rough Lumber', 'engineered joists, 2x10', 2000, 'Approved', "
                            "'Contingency')\n"
                            "(2, '2026-03-09', '8 Roofing', 'skylight', 750, 'Pending', \"Owner's cash\")\n"
                            "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)\n"));
    }
};

QTEST_GUILESS_MAIN(TestBudgetReport)
#include "tst_budgetreport.moc"
