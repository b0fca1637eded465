#include "windowfixture.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cancelPrintsNothing();
    void emptyFieldsPrintNone();
    void fieldsAreTrimmed();
    void reportShowsTheSheet();
    void sheetIsLeftAsItWas();
    void landscapeKeepsTheLayout();
    void failedPrintSaysSo();

private:
    QString print(WindowFixture &f, const QString &name);
    static QString run(const QString &program, const QStringList &arguments);
    QTemporaryDir m_folder;
};

void TestPrint::initTestCase()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed; scripts/install-deps.sh installs it");
}

QString TestPrint::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString TestPrint::print(WindowFixture &f, const QString &name)
{
    f.printer->pdfPath = m_folder.filePath(name);
    f.window->findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
    if (!QFile::exists(f.printer->pdfPath))
        return QString();
    // Ligatures such as "fi" read back as the letters they join.
    return run("pdftotext", {"-layout", f.printer->pdfPath, "-"}).normalized(QString::NormalizationForm_KC);
}

void TestPrint::cancelPrintsNothing()
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

void TestPrint::emptyFieldsPrintNone()
{
    WindowFixture f;
    const QString text = print(f, "none.pdf");
    const QStringList expected = {"COST ESTIMATE", "Name: None", "BUILDER: None", "PROP. ADDRESS: None",
                                  "For average cost to build anywhere in the USA, visit", "www.varn.example",
                                  "Cost Estimate software by VARN Software"};
    qsizetype from = 0;
    for (const QString &line : expected) {
        const qsizetype at = text.indexOf(line, from);
        QVERIFY2(at >= 0, qPrintable(line));
        from = at + line.size();
    }
    // The fields keep "None" on screen; the document is no more changed than before.
    QCOMPARE(f.window->findChild<QLineEdit *>(QStringLiteral("txtName"))->text(), QStringLiteral("None"));
    QCOMPARE(f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"))->toPlainText(), QStringLiteral("None"));
    QVERIFY(f.window->document().DocumentSaved());
}

void TestPrint::fieldsAreTrimmed()
{
    WindowFixture f;
    f.window->header().setText(HeaderFields::Name, QStringLiteral("  Pat  Owner  "));
    f.window->header().setText(HeaderFields::Builder, QStringLiteral("   "));
    f.window->header().setText(HeaderFields::Address, QStringLiteral(" 12 Elm Road\nSpringfield "));
    const QString text = print(f, "trimmed.pdf");
    QVERIFY(text.contains(QRegularExpression("Name: Pat +Owner\\n")));
    QVERIFY(text.contains(QRegularExpression("BUILDER: *\\n")));
    QVERIFY(text.contains(QRegularExpression("PROP. ADDRESS: 12 Elm Road\\s*\\n\\s*Springfield")));
    QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat  Owner"));
    QCOMPARE(f.window->header().text(HeaderFields::Builder), QString());
}

void TestPrint::reportShowsTheSheet()
{
    WindowFixture f;
    f.enter(1, 3, QStringLiteral("1500"));
    f.enter(2, 5, QStringLiteral("250"));
    f.clickCell(33, 1);
    f.type(QStringLiteral("Deck builders"));
    f.press(Qt::Key_Return);
    const QString text = print(f, "sheet.pdf");
    for (const char *shown : {"Permits, Fees, Surveys", "$1,500.00", "($250.00)", "$1,250.00", "Deck builders",
                                 "Total", "Other", "Subcontractor,"})
        QVERIFY2(text.contains(QLatin1String(shown)), shown);
    // The row numbers are cut off with all but the last sliver of their column.
    QVERIFY(text.contains(QRegularExpression("\\n *Deck builders")));
    QVERIFY(run("pdfinfo", {f.printer->pdfPath}).contains(QRegularExpression("Pages:\\s+1\\n")));
    // Drawn, not a screen picture stretched: the text is there and the file stays small.
    QVERIFY(QFileInfo(f.printer->pdfPath).size() < 200 * 1024);
}

void TestPrint::sheetIsLeftAsItWas()
{
    WindowFixture f;
    const Grid &grid = f.model();
    QList<int> widths;
    for (int column = 0; column < grid.columnCount(); ++column)
        widths << grid.columnWidth(column);
    QVERIFY(!print(f, "restored.pdf").isEmpty());
    for (int column = 0; column < grid.columnCount(); ++column)
        QCOMPARE(grid.columnWidth(column), widths.at(column));
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.width(), f.model().width());
    QVERIFY(f.grid->horizontalHeader()->isVisible());
}

void TestPrint::landscapeKeepsTheLayout()
{
    WindowFixture f;
    f.printer->setPaperBin(0);
    QVERIFY(!print(f, "portrait.pdf").isEmpty());
    const auto pageSize = [&f] {
        const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)")
                                                  .match(run("pdfinfo", {f.printer->pdfPath}));
        return QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    };
    QVERIFY(pageSize().width() < pageSize().height());
    // The next print starts from the dialog's last settings.
    const_cast<QPrinter &>(f.printer->chosen()).setPageOrientation(QPageLayout::Landscape);
    const QString text = print(f, "landscape.pdf");
    QVERIFY(text.contains("COST ESTIMATE"));
    QVERIFY(pageSize().width() > pageSize().height());
}

void TestPrint::failedPrintSaysSo()
{
    WindowFixture f;
    QVERIFY(print(f, "no such folder/report.pdf").isEmpty());
    QCOMPARE(f.messages->shown.size(), 1);
    QCOMPARE(f.messages->shown.first().kind, QStringLiteral("critical"));
    QVERIFY(f.messages->shown.first().text.startsWith(QStringLiteral("The estimate could not be printed")));
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
