#include "document/estimatefile.h"
#include "windowfixture.h"

#include <QAction>
#include <QFile>
#include <QJsonDocument>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Varn = QStringLiteral(VARN_EXECUTABLE);

struct Run
{
    int status = -1;
    QString output;
    QString errors;
};

// Without a display at all: the export must not need one. Output is compared as text, so pdftotext
// may spell a character in another Unicode form.
Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "python3"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("pdftotext and python3 are needed; scripts/install-deps.sh installs them");
        }
        EstimateContent content;
        content.name = QStringLiteral("Pat \"the owner\"");
        content.address = QStringLiteral("12 Elm Road\nSpringfield, IL");
        content.builder = QStringLiteral("Smith, Jones & Co.");
        content.cells[0] = {"Town, county", "Permits, Fees, Surveys", "$1,500.00"};
        content.cells[1][4] = QStringLiteral("$250.00");
        content.cells[1][6] = QStringLiteral("$9.99"); // stale: recomputed as Open does
        m_input = path("house with blanks.vrn");
        QVERIFY(EstimateFile::save(m_input, content).saved);
        QFile cutShort(path("short.vrn"));
        QVERIFY(cutShort.open(QIODevice::WriteOnly) && cutShort.write(EstimateFile::encode(content).left(200)) == 200);
        for (const char *name : {"report.pdf", "sheet.csv", "copy.vrn"}) {
            const Run exported = run(Varn, {"--export", path(name), m_input});
            QVERIFY2(exported.status == 0 && exported.errors.isEmpty(), qPrintable(exported.errors));
        }
    }

    void exportedFiles()
    {
        const QString text = pdfText("report.pdf");
        for (const QString &shown : {u"COST ESTIMATE"_s, u"Name: Pat \u201Dthe owner\u201D"_s, u"Springfield, IL"_s,
                                     u"BUILDER: Smith, Jones & Co."_s, u"PROP. ADDRESS: 12 Elm Road"_s,
                                     u"Town, county"_s, u"$1,500.00"_s, u"($250.00)"_s, u"$1,250.00"_s})
            QVERIFY2(text.contains(shown), qPrintable(shown));
        QVERIFY(!text.contains(QStringLiteral("$9.99")));

        // Python's csv module reads the sheet back: 38 records of 7 fields, UTF-8 without a byte order mark.
        QCOMPARE(read(path("sheet.csv")).count("\r\n"), 38);
        const QString parsed = run("python3", {"-c", "import csv, json, sys\n"
                                                     "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                                     "    print(json.dumps(list(csv.reader(f, strict=True))))\n",
                                               path("sheet.csv")}).output;
        const QVariantList records = QJsonDocument::fromJson(parsed.toUtf8()).toVariant().toList();
        QList<qsizetype> widths;
        for (const QVariant &record : records)
            widths << record.toList().size();
        QCOMPARE(widths, QList<qsizetype>(38, 7));
        const QStringList header = records.at(0).toStringList();
        QCOMPARE(header.first() + '|' + header.last(), "Subcontractor, Supplier|Estimated Cost to Complete");
        QCOMPARE(records.at(1).toStringList(),
                 (QStringList{"Town, county", "Permits, Fees, Surveys", "$1,500.00", "$1,500.00", "", "", "$1,500.00"}));
        QCOMPARE(records.at(2).toStringList().at(6), QStringLiteral("($250.00)"));
        QCOMPARE(records.at(37).toStringList(),
                 (QStringList{"", "Total", "$1,500.00", "$1,500.00", "$250.00", "$0.00", "$1,250.00"}));

        const std::optional<EstimateContent> copy = EstimateFile::load(path("copy.vrn"));
        QVERIFY(copy);
        QCOMPARE(copy->address, QStringLiteral("12 Elm Road\nSpringfield, IL"));
        QCOMPARE(copy->cells[0][3], QStringLiteral("$1,500.00"));
        QCOMPARE(copy->cells[1][6], QStringLiteral("($250.00)"));
    }

    // Fields filled as far as the window lets them: the export still succeeds, and the page
    // holds the whole report, footer and all (text beyond the page does not read back).
    void everyFieldFilledToItsLimit()
    {
        EstimateContent content;
        const int limit = QLineEdit().maxLength();
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
        QVERIFY(EstimateFile::save(input, content).saved);

        const Run exported = run(Varn, {"--export", path("full.pdf"), input});
        QCOMPARE(exported.status, 0);
        QVERIFY(exported.errors.isEmpty());
        QVERIFY(run("pdfinfo", {path("full.pdf")}).output.contains(QRegularExpression("Pages:\\s+1\\n")));
        const QString text = pdfText("full.pdf");
        for (const char *shown : {"Name: Longname", "BUILDER: Longname", "PROP. ADDRESS: 1 Long Road", "Total",
                                  "$12,345,678.90", "Cost Estimate software by VARN Software"})
            QVERIFY2(text.contains(QLatin1String(shown)), shown);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("named"); // on standard output after success, else in the one line on standard error
        QTest::newRow("version") << QStringList{"--version"} << 0 << "VARN 2.4.6\n";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--export <OUTPUT>";
        QTest::newRow("missing input") << QStringList{"--export", path("never.pdf"), path("missing.vrn")} << 1
                                       << path("missing.vrn");
        QTest::newRow("input cut short") << QStringList{"--export", path("never.csv"), path("short.vrn")} << 1
                                         << path("short.vrn");
        for (const char *name : {"no folder/report.pdf", "no folder/sheet.csv", "no folder/copy.vrn"})
            QTest::newRow(name) << QStringList{"--export", path(name), m_input} << 1 << path(name);
        QTest::newRow("unknown output type") << QStringList{"--export", "out.txt", "in.vrn"} << 2 << "out.txt";
        QTest::newRow("missing output") << QStringList{"--export"} << 2 << QString();
        QTest::newRow("no input") << QStringList{"--export", "out.pdf"} << 2 << QString();
        QTest::newRow("two inputs") << QStringList{"--export", "out.pdf", "a.vrn", "b.vrn"} << 2 << QString();
        QTest::newRow("unknown option") << QStringList{"--export", "out.pdf", "in.vrn", "--colour"} << 2 << QString();
    }

    // --help and --version succeed quietly; a file that cannot be read or written ends with status 1, a
    // usage error with 2, either with one line on standard error and no output file, not even its folder.
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, named);
        const Run result = run(Varn, arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(result.errors.count(u'\n'), status == 0 ? 0 : 1);
        QVERIFY((status == 0 ? result.output : result.errors).contains(named));
        QVERIFY(!QFileInfo::exists(arguments.value(1)));
        QVERIFY(!QFileInfo::exists(path("no folder")));
    }

    void windowExportsTheSameFiles()
    {
        WindowFixture f(m_input);
        QTRY_COMPARE(f.window->document().CurrentFile(), m_input);
        f.dialogs->exportPaths = {path("window.pdf"), path("window.csv")};
        f.window->findChild<QAction *>(QStringLiteral("mnuExportPdf"))->trigger();
        f.window->findChild<QAction *>(QStringLiteral("mnuExportCsv"))->trigger();
        QCOMPARE(f.dialogs->exportTitles, (QStringList{"Export as PDF", "Export as CSV"}));
        QCOMPARE(read(path("window.csv")), read(path("sheet.csv")));
        QCOMPARE(pdfText("window.pdf"), pdfText("report.pdf"));
        // Exporting changes nothing: the empty-looking fields stay as they were on screen.
        QVERIFY(f.window->document().DocumentSaved());
    }

    void printPreviewShowsOnePage()
    {
        WindowFixture f;
        int pages = -1;
        QTimer::singleShot(0, [&pages] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            auto *preview = dialog ? dialog->findChild<QPrintPreviewWidget *>() : nullptr;
            QVERIFY(preview);
            QTRY_VERIFY(preview->pageCount() > 0);
            pages = preview->pageCount();
            dialog->reject();
        });
        f.window->findChild<QAction *>(QStringLiteral("mnuPrintPreview"))->trigger();
        QCOMPARE(pages, 1);
        QCOMPARE(f.window->header().text(HeaderFields::Name), QString());
    }

private:
    QString path(const char *name) const { return m_folder.filePath(QLatin1String(name)); }
    QString pdfText(const char *name) const { return run("pdftotext", {"-layout", path(name), "-"}).output; }

    QTemporaryDir m_folder;
    QString m_input;
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
