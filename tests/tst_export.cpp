#include "document/estimatefile.h"
#include "windowfixture.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pdf();
    void csv();
    void vrn();
    void unreadableInput();
    void unwritableOutput();
    void usage_data();
    void usage();
    void helpAndVersion();
    void windowExportsTheSameFiles();
    void printPreviewShowsOnePage();

private:
    struct Run
    {
        int status = -1;
        QString output;
        QString errors;
    };
    static Run varn(const QStringList &arguments);
    static QString pdfText(const QString &path);
    static QList<QStringList> parseCsv(const QString &path);
    static QByteArray read(const QString &path);

    QTemporaryDir m_folder;
    QString m_input;
};

void TestExport::initTestCase()
{
    for (const char *tool : {"pdftotext", "python3"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP("pdftotext and python3 are needed; scripts/install-deps.sh installs them");
    }
    EstimateContent content;
    content.name = QStringLiteral("Pat \"the owner\"");
    content.address = QStringLiteral("12 Elm Road\nSpringfield, IL");
    content.builder = QStringLiteral("Smith, Jones & Co.");
    content.cells[0][0] = QStringLiteral("Town, county");
    content.cells[0][1] = QStringLiteral("Permits, Fees, Surveys");
    content.cells[0][2] = QStringLiteral("$1,500.00");
    content.cells[1][4] = QStringLiteral("$250.00");
    content.cells[1][6] = QStringLiteral("$9.99"); // stale: recomputed as Open does
    m_input = m_folder.filePath(QStringLiteral("house with blanks.vrn"));
    QVERIFY(EstimateFile::save(m_input, content).saved);
}

TestExport::Run TestExport::varn(const QStringList &arguments)
{
    QProcess process;
    // No display at all: the export must not need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VARN_EXECUTABLE), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QString TestExport::pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

QList<QStringList> TestExport::parseCsv(const QString &path)
{
    // Python's csv module reads the file; each record comes back as one JSON line.
    QProcess process;
    process.start(QStringLiteral("python3"),
                  {QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                  "    for record in csv.reader(f, strict=True):\n"
                                  "        print(json.dumps(record))\n"),
                   path});
    process.waitForFinished(20000);
    QList<QStringList> records;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList record;
        for (const QJsonValue &value : QJsonDocument::fromJson(line).array())
            record << value.toString();
        records << record;
    }
    return records;
}

QByteArray TestExport::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestExport::pdf()
{
    const QString output = m_folder.filePath(QStringLiteral("report.pdf"));
    const Run run = varn({"--export", output, m_input});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QString());
    const QString text = pdfText(output);
    for (const QString &shown : {QStringLiteral("COST ESTIMATE"), QString::fromUtf16(u"Name: Pat \u201Dthe owner\u201D"),
                                 QStringLiteral("BUILDER: Smith, Jones & Co."),
                                 QStringLiteral("PROP. ADDRESS: 12 Elm Road"), QStringLiteral("Springfield, IL"),
                                 QStringLiteral("Town, county"), QStringLiteral("$1,500.00"),
                                 QStringLiteral("($250.00)"), QStringLiteral("$1,250.00")})
        QVERIFY2(text.contains(shown), qPrintable(shown));
    QVERIFY(!text.contains(QStringLiteral("$9.99")));
}

void TestExport::csv()
{
    const QString output = m_folder.filePath(QStringLiteral("sheet.csv"));
    QCOMPARE(varn({"--export", output, m_input}).status, 0);
    const QByteArray bytes = read(output);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), 38);

    const QList<QStringList> records = parseCsv(output);
    QCOMPARE(records.size(), 38);
    for (const QStringList &record : records)
        QCOMPARE(record.size(), 7);
    QCOMPARE(records.at(0).at(0), QStringLiteral("Subcontractor, Supplier"));
    QCOMPARE(records.at(0).at(6), QStringLiteral("Estimated Cost to Complete"));
    QCOMPARE(records.at(1), (QStringList{"Town, county", "Permits, Fees, Surveys", "$1,500.00", "$1,500.00", "", "",
                                         "$1,500.00"}));
    QCOMPARE(records.at(2).at(6), QStringLiteral("($250.00)"));
    QCOMPARE(records.at(37), (QStringList{"", "Total", "$1,500.00", "$1,500.00", "$250.00", "$0.00", "$1,250.00"}));
}

void TestExport::vrn()
{
    const QString output = m_folder.filePath(QStringLiteral("copy.vrn"));
    QCOMPARE(varn({"--export", output, m_input}).status, 0);
    const std::optional<EstimateContent> copy = EstimateFile::load(output);
    QVERIFY(copy);
    QCOMPARE(copy->address, QStringLiteral("12 Elm Road\nSpringfield, IL"));
    QCOMPARE(copy->cells[1][6], QStringLiteral("($250.00)"));
    QCOMPARE(copy->cells[0][3], QStringLiteral("$1,500.00"));
}

void TestExport::unreadableInput()
{
    const QString output = m_folder.filePath(QStringLiteral("never.pdf"));
    const QString cutShort = m_folder.filePath(QStringLiteral("short.vrn"));
    QFile file(cutShort);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(read(m_input).left(200));
    file.close();
    for (const QString &input : {m_folder.filePath(QStringLiteral("missing.vrn")), cutShort}) {
        const Run run = varn({"--export", output, input});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.errors.count(u'\n'), 1);
        QVERIFY(run.errors.contains(input));
        QVERIFY(!QFile::exists(output));
    }
}

void TestExport::unwritableOutput()
{
    for (const char *name : {"no folder/report.pdf", "no folder/sheet.csv", "no folder/copy.vrn"}) {
        const QString output = m_folder.filePath(QLatin1String(name));
        const Run run = varn({"--export", output, m_input});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.errors.count(u'\n'), 1);
        QVERIFY(run.errors.contains(output));
    }
    QVERIFY(!QFile::exists(m_folder.filePath(QStringLiteral("no folder"))));
}

void TestExport::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown output type") << QStringList{"--export", "out.txt", "in.vrn"};
    QTest::newRow("missing output") << QStringList{"--export"};
    QTest::newRow("missing input") << QStringList{"--export", "out.pdf"};
    QTest::newRow("two inputs") << QStringList{"--export", "out.pdf", "a.vrn", "b.vrn"};
    QTest::newRow("unknown option") << QStringList{"--export", "out.pdf", "in.vrn", "--colour"};
}

void TestExport::usage()
{
    QFETCH(QStringList, arguments);
    const Run run = varn(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errors.count(u'\n'), 1);
}

void TestExport::helpAndVersion()
{
    const Run version = varn({"--version"});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.output, QStringLiteral("VARN 2.4.6\n"));
    const Run help = varn({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.output.contains(QStringLiteral("--export <OUTPUT>")));
}

void TestExport::windowExportsTheSameFiles()
{
    WindowFixture f(m_input);
    QTRY_COMPARE(f.window->document().CurrentFile(), m_input);
    const QString pdf = m_folder.filePath(QStringLiteral("window.pdf"));
    const QString csv = m_folder.filePath(QStringLiteral("window.csv"));
    f.dialogs->exportPaths = {pdf, csv};
    f.window->findChild<QAction *>(QStringLiteral("mnuExportPdf"))->trigger();
    f.window->findChild<QAction *>(QStringLiteral("mnuExportCsv"))->trigger();
    QCOMPARE(f.dialogs->exportTitles, (QStringList{"Export as PDF", "Export as CSV"}));

    const QString commandLineCsv = m_folder.filePath(QStringLiteral("command.csv"));
    const QString commandLinePdf = m_folder.filePath(QStringLiteral("command.pdf"));
    QCOMPARE(varn({"--export", commandLineCsv, m_input}).status, 0);
    QCOMPARE(varn({"--export", commandLinePdf, m_input}).status, 0);
    QCOMPARE(read(csv), read(commandLineCsv));
    QCOMPARE(pdfText(pdf), pdfText(commandLinePdf));
    // Exporting changes nothing: the empty-looking fields stay as they were on screen.
    QVERIFY(f.window->document().DocumentSaved());
}

void TestExport::printPreviewShowsOnePage()
{
    WindowFixture f;
    int pages = -1;
    QTimer::singleShot(0, [&pages] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *preview = dialog->findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        QTRY_VERIFY(preview->pageCount() > 0);
        pages = preview->pageCount();
        dialog->reject();
    });
    f.window->findChild<QAction *>(QStringLiteral("mnuPrintPreview"))->trigger();
    QCOMPARE(pages, 1);
    QCOMPARE(f.window->header().text(HeaderFields::Name), QString());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
