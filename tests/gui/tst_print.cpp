#include "support/windowfixture.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed; scripts/install-deps.sh installs it");
    }

    void cancelPrintsNothing()
    {
        WindowFixture f;
        f.printer->confirm = false;
        f.printer->pdfPath = m_folder.filePath("cancelled.pdf");
        f.window->Toolbar1_ButtonClick(QStringLiteral("Print"));
        QCOMPARE(f.printer->showings, 1);
        QVERIFY(f.printer->cancelError());
        QCOMPARE(f.printer->flags(), 268);
        QVERIFY(!QFile::exists(f.printer->pdfPath));
        QCOMPARE(f.window->header().text(HeaderFields::Name), QString());
        QVERIFY(f.messages->shown.isEmpty());
    }

    void headerLinesAndFooter()
    {
        WindowFixture f;
        f.window->header().setText(HeaderFields::Name, QStringLiteral("  Pat  Owner  "));
        f.window->header().setText(HeaderFields::Builder, QStringLiteral("   "));
        const QString text = print(f, "header.pdf");
        // In this order: an empty field prints "None", a field of spaces the label alone.
        const QStringList expected = {"COST ESTIMATE", "Name: Pat +Owner\\n", "BUILDER: *\\n", "PROP. ADDRESS: None",
                                      "For average cost to build anywhere in the USA, visit", "www.varn.example",
                                      "Cost Estimate software by VARN Software"};
        qsizetype from = 0;
        for (const QString &pattern : expected) {
            const QRegularExpressionMatch match = QRegularExpression(pattern).match(text, from);
            QVERIFY2(match.hasMatch(), qPrintable(pattern));
            from = match.capturedEnd();
        }
        // The fields keep on screen what they printed; the document is no more changed than before.
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat  Owner"));
        QCOMPARE(f.window->header().text(HeaderFields::Builder), QString());
        QCOMPARE(f.window->header().text(HeaderFields::Address), QStringLiteral("None"));
        QVERIFY(f.window->document().DocumentSaved());
    }

    void reportShowsTheSheet()
    {
        WindowFixture f;
        QList<int> widths;
        for (int column = 0; column < f.model().columnCount(); ++column)
            widths << f.model().columnWidth(column);
        f.enter(1, 3, QStringLiteral("1500"));
        f.enter(2, 5, QStringLiteral("250"));
        f.enter(33, 1, QStringLiteral("Deck builders"));
        const QString text = print(f, "sheet.pdf");
        for (const char *shown : {"Permits, Fees, Surveys", "$1,500.00", "($250.00)", "$1,250.00", "Total", "Other",
                                  "Subcontractor, Supplier"})
            QVERIFY2(text.contains(QLatin1String(shown)), shown);
        // The row numbers are cut off with all but the last sliver of their column.
        QVERIFY(text.contains(QRegularExpression("\\n *Deck builders")));
        QVERIFY(run("pdfinfo", {f.printer->pdfPath}).contains(QRegularExpression("Pages:\\s+1\\n")));
        // Drawn, not a screen picture stretched: the text is there and the file stays small.
        QVERIFY(QFileInfo(f.printer->pdfPath).size() < 200 * 1024);

        // The sheet on screen is as it was.
        for (int column = 0; column < f.model().columnCount(); ++column)
            QCOMPARE(f.model().columnWidth(column), widths.at(column));
        QCOMPARE(f.model().fixedRows(), 1);
        QVERIFY(f.grid->horizontalHeader()->isVisible());
    }

    void landscapeAndFailures()
    {
        WindowFixture f;
        const auto pageIsWide = [&f] {
            const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)")
                                                     .match(run("pdfinfo", {f.printer->pdfPath}));
            return size.captured(1).toDouble() > size.captured(2).toDouble();
        };
        QVERIFY(!print(f, "portrait.pdf").isEmpty());
        QVERIFY(!pageIsWide());
        // The next print starts from the dialog's last settings.
        const_cast<QPrinter &>(f.printer->chosen()).setPageOrientation(QPageLayout::Landscape);
        QVERIFY(print(f, "landscape.pdf").contains("COST ESTIMATE"));
        QVERIFY(pageIsWide());

        // A print that cannot be made says so.
        QVERIFY(print(f, "no such folder/report.pdf").isEmpty());
        QCOMPARE(f.messages->shown.size(), 1);
        QVERIFY(f.messages->shown.first().text.startsWith(QStringLiteral("The estimate could not be printed")));
    }

private:
    QString print(WindowFixture &f, const QString &name);
    static QString run(const QString &program, const QStringList &arguments);
    QTemporaryDir m_folder;
};

QString TestPrint::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    // Ligatures such as "fi" read back as the letters they join.
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

QString TestPrint::print(WindowFixture &f, const QString &name)
{
    f.printer->pdfPath = m_folder.filePath(name);
    f.window->findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
    return QFile::exists(f.printer->pdfPath) ? run("pdftotext", {"-layout", f.printer->pdfPath, "-"}) : QString();
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
