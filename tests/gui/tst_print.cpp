#include "core/document/estimatefile.h"
#include "report/estimatereport.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/programs.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const auto Ink = Pixels::darkerThan(160);

// The rule under the header lines: the first row of ink running across most of the page.
std::pair<int, int> ruleEnds(const QImage &page)
{
    for (int y = 0; y < page.height(); ++y) {
        const QRect row(0, y, page.width(), 1);
        if (Pixels::count(page, row, Ink) > page.width() / 2)
            return {Pixels::box(page, row, Ink).left(), Pixels::box(page, row, Ink).right()};
    }
    return {-1, -1};
}

QString wordsOfLength(qsizetype length, const QString &word)
{
    QString text;
    while (text.size() < length)
        text += word + u' ';
    return text.left(length);
}
}

// The estimate on paper from the window: File > Print into a PDF file, the preview, and
// File > Export, each read back as the reader of the page reads it.
class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!Programs::installed({"pdftotext", "pdftoppm", "pdfinfo"}))
            QSKIP("poppler-utils are needed; scripts/install-deps.sh installs them");
    }

    // A print cancelled in the dialog makes nothing and says nothing; one that cannot be made says so.
    void cancelledOrFailed()
    {
        WindowFixture f;
        f.printer->confirm = false;
        f.printer->pdfPath = m_folder.filePath("cancelled.pdf");
        f.window->Toolbar1_ButtonClick(QStringLiteral("Print"));
        QCOMPARE(f.printer->showings, 1);
        QVERIFY(!QFile::exists(f.printer->pdfPath));
        QCOMPARE(f.window->header().text(HeaderFields::Name), QString());
        QVERIFY(f.messages->shown.isEmpty());

        f.printer->confirm = true;
        QVERIFY(print(f, "no such folder/report.pdf").isEmpty());
        QCOMPARE(f.messages->shown.size(), 1);
        QVERIFY(f.messages->shown.first().text.startsWith(QStringLiteral("The estimate could not be printed")));
    }

    void headerLinesAndFooter()
    {
        WindowFixture f;
        f.window->header().setText(HeaderFields::Name, QStringLiteral("  Pat  Owner  "));
        f.window->header().setText(HeaderFields::Builder, QStringLiteral("   "));
        // In this order: an empty field prints "None", a field of spaces the label alone.
        QCOMPARE(
            Programs::missingInOrder(print(f, "header.pdf"),
                                     {"COST ESTIMATE", "Name: Pat +Owner\\n", "BUILDER: *\\n", "PROP. ADDRESS: None",
                                      "For average cost to build anywhere in the USA, visit", "www.varn.example",
                                      "Cost Estimate software by VARN Software"}),
            QString());
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
        QCOMPARE(Programs::pdfPageSizes(f.printer->pdfPath).size(), 1);
        // Drawn, not a screen picture stretched: the text is there and the file stays small.
        QVERIFY(QFileInfo(f.printer->pdfPath).size() < 200 * 1024);

        // The sheet on screen is as it was.
        for (int column = 0; column < f.model().columnCount(); ++column)
            QCOMPARE(f.model().columnWidth(column), widths.at(column));
        QCOMPARE(f.model().fixedRows(), 1);
        QVERIFY(f.grid->horizontalHeader()->isVisible());
    }

    // Whatever the fields hold, the report stays on its one page: the long lines cut with
    // an ellipsis, the address given the lines the sheet and the footer leave it.
    void everyFieldFilledToItsLimit()
    {
        WindowFixture f;
        const int limit = f.child<QLineEdit>("txtName")->maxLength();
        QCOMPARE(f.child<QLineEdit>("txtBuilder")->maxLength(), limit);
        for (const HeaderFields::Field field : {HeaderFields::Name, HeaderFields::Builder})
            f.window->header().setText(field, wordsOfLength(limit, QStringLiteral("Longname")));
        QStringList address;
        for (int line = 1; line <= 30; ++line)
            address << QStringLiteral("%1 Long Road past the old mill, the creek and the county line, Springfield")
                           .arg(line);
        f.window->header().setText(HeaderFields::Address, address.join(u'\n'));

        // The page drawn on a sheet larger than itself: whatever runs off the page shows.
        const QSize page(750, 1000);
        QImage printable(page, QImage::Format_RGB32);
        printable.setDotsPerMeterX(int(100 / 0.0254));
        printable.setDotsPerMeterY(int(100 / 0.0254));
        QImage sheet(page * 2, QImage::Format_RGB32);
        sheet.setDotsPerMeterX(printable.dotsPerMeterX());
        sheet.setDotsPerMeterY(printable.dotsPerMeterY());
        sheet.fill(Qt::white);
        {
            QPainter painter(&sheet);
            EstimateReport(f.model(), EstimateReport::printedFields(f.window->header())).compose(painter, printable);
        }
        const QRect ink = Pixels::box(sheet, sheet.rect(), Ink);
        QVERIFY2(QRect(QPoint(0, 0), page).contains(ink),
                 qPrintable(QStringLiteral("ink reaches %1, %2").arg(ink.right()).arg(ink.bottom())));
        // Under the sheet's last line, the three footer lines.
        const QList<QRect> bands = Pixels::bands(sheet, QRect(QPoint(0, 0), page), Qt::Horizontal, Ink);
        qsizetype sheetBand = 0;
        for (qsizetype band = 0; band < bands.size(); ++band) {
            if (bands.at(band).height() > page.height() / 3)
                sheetBand = band;
        }
        QCOMPARE(bands.size() - 1 - sheetBand, 3);

        const QString text = print(f, "full.pdf");
        QCOMPARE(Programs::pdfPageSizes(f.printer->pdfPath).size(), 1);
        for (const char *line : {"Name: Longname", "BUILDER: Longname", "PROP. ADDRESS: 1 Long Road", "2 Long Road"}) {
            const qsizetype at = text.indexOf(QLatin1String(line));
            QVERIFY2(at >= 0, line);
            // The ellipsis reads back as three full stops.
            QVERIFY2(text.indexOf(QStringLiteral("..."), at) > at, line);
        }
        QVERIFY(!text.contains(QStringLiteral("30 Long Road")));
        QVERIFY(text.contains(QStringLiteral("Cost Estimate software by VARN Software")));
    }

    void onePageLayoutOnEveryPath_data()
    {
        // locale: the user's, whose paper the report takes unless the dialog chooses another
        Rows::columns<QLocale, QPageSize, QPageLayout::Orientation, QString>("locale", "paper", "orientation", "size");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale britain(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("the report's own") << QLocale::c() << QPageSize() << QPageLayout::Portrait << "612 x 792";
        QTest::newRow("the paper of the US") << us << QPageSize() << QPageLayout::Portrait << "612 x 792";
        QTest::newRow("the paper of Britain") << britain << QPageSize() << QPageLayout::Portrait << "595 x 842";
        QTest::newRow("A4 chosen in the dialog")
            << QLocale::c() << QPageSize(QPageSize::A4) << QPageLayout::Portrait << "595 x 842";
        QTest::newRow("Letter chosen in Britain")
            << britain << QPageSize(QPageSize::Letter) << QPageLayout::Portrait << "612 x 792";
        QTest::newRow("landscape") << QLocale::c() << QPageSize() << QPageLayout::Landscape << "792 x 612";
    }

    // Printed into a PDF file or exported, the report is laid out for the paper the printer
    // dialog keeps, with half-inch margins: the rule under the header runs from margin to margin.
    void onePageLayoutOnEveryPath()
    {
        auto [locale, paper, orientation, size] = Rows::fetch<QLocale, QPageSize, QPageLayout::Orientation, QString>(
            "locale", "paper", "orientation", "size");
        QLocale::setDefault(locale);
        const auto restoreLocale = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        WindowFixture f;
        f.printer->paper = paper;
        const_cast<QPrinter &>(f.printer->chosen()).setPageOrientation(orientation);
        QVERIFY(!print(f, "printed.pdf").isEmpty());
        QCOMPARE(Programs::pdfPageSizes(f.printer->pdfPath), QStringList{size});
        // At 72 dots per inch: a pixel for each point.
        const QImage printed = Programs::pdfPage(f.printer->pdfPath, 72);
        const auto [left, right] = ruleEnds(printed);
        QVERIFY(qAbs(left - 36) <= 1);
        QVERIFY(qAbs(printed.width() - 1 - right - 36) <= 1);
        if (paper.isValid() || orientation != QPageLayout::Portrait)
            return;

        f.dialogs->exportPaths = {m_folder.filePath("exported.pdf")};
        f.trigger("mnuExportPdf");
        const QImage exported = Programs::pdfPage(m_folder.filePath("exported.pdf"), 72);
        QCOMPARE(exported.size(), printed.size());
        QCOMPARE(Pixels::box(exported, exported.rect(), Ink), Pixels::box(printed, printed.rect(), Ink));
    }

    // The preview shows the one page; its own Print button goes the way File > Print goes:
    // through the printer dialog, with the header fields made what they print.
    void previewPrintsWhatPrintPrints()
    {
        WindowFixture f;
        f.window->header().setText(HeaderFields::Name, QStringLiteral("  Pat Owner "));
        f.printer->pdfPath = m_folder.filePath("from preview.pdf");
        // Should the preview open a dialog of its own, the user cancels it and the preview.
        QPointer<QWidget> preview;
        QTimer refuser;
        connect(&refuser, &QTimer::timeout, [&preview] {
            auto *other = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (other && other != preview) {
                other->reject();
                QMetaObject::invokeMethod(preview, "reject", Qt::QueuedConnection);
            }
        });
        refuser.start(50);
        int pages = -1;
        QString nameWhilePreviewing;
        QTimer::singleShot(0, [&] {
            preview = QApplication::activeModalWidget();
            QVERIFY(preview);
            auto *pageView = preview->findChild<QPrintPreviewWidget *>();
            QTRY_VERIFY(pageView->pageCount() > 0);
            pages = pageView->pageCount();
            nameWhilePreviewing = f.window->header().text(HeaderFields::Name);
            for (QToolButton *button : preview->findChildren<QToolButton *>()) {
                if (button->defaultAction() && button->defaultAction()->text().remove(u'&') == u"Print") {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
            QFAIL("no Print button");
        });
        f.trigger("mnuPrintPreview");
        QCOMPARE(pages, 1);
        // Looking changes nothing; printing makes the fields what they print.
        QCOMPARE(nameWhilePreviewing, QStringLiteral("  Pat Owner "));
        QCOMPARE(f.printer->showings, 1);
        QVERIFY(QFile::exists(f.printer->pdfPath));
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat Owner"));
        const QString fromPreview = Programs::pdfText(f.printer->pdfPath);
        QCOMPARE(fromPreview, print(f, "from print.pdf"));
        QCOMPARE(f.printer->showings, 2);
    }

    // File > Export writes what the command line writes from the estimate's file, stale
    // remainders recomputed as Open does, and leaves the estimate unchanged.
    void windowExportsWhatTheCommandLineExports()
    {
        EstimateContent content;
        content.name = QStringLiteral("Pat \"the owner\"");
        content.address = QStringLiteral("12 Elm Road\nSpringfield, IL");
        content.cells[0] = {"Town, county", "Permits, Fees, Surveys", "$1,500.00"};
        content.cells[1][6] = QStringLiteral("$9.99");
        const QString input = m_folder.filePath("house.vrn");
        QVERIFY(EstimateFile::save(input, content));
        WindowFixture f(input);
        QTRY_COMPARE(f.window->document().CurrentFile(), input);
        for (const QString &format : {u"Pdf"_s, u"Csv"_s, u"Xlsx"_s}) {
            const QString window = m_folder.filePath(u"window."_s + format.toLower());
            const QString command = m_folder.filePath(u"command."_s + format.toLower());
            QCOMPARE(Programs::varn({"--export", command, input}).status, 0);
            f.dialogs->exportPaths = {window};
            f.window->findChild<QAction *>(u"mnuExport"_s + format)->trigger();
            if (format == u"Pdf")
                QCOMPARE(Programs::pdfText(window), Programs::pdfText(command));
            else if (format == u"Xlsx")
                QCOMPARE(workbookCells(window), workbookCells(command));
            else
                QCOMPARE(Files::read(window), Files::read(command));
        }
        QCOMPARE(f.dialogs->exportTitles, (QStringList{"Export as PDF", "Export as CSV", "Export as Spreadsheet"}));
        QVERIFY(f.window->document().DocumentSaved());
    }

private:
    // A workbook's parts, the title row's height left out: it is the sheet's on the screen,
    // which the desktop's font sets.
    static QMap<QString, QByteArray> workbookCells(const QString &workbook)
    {
        QMap<QString, QByteArray> parts = Files::workbookParts(Files::read(workbook));
        static const QRegularExpression height(QStringLiteral(" ht=\"[^\"]*\""));
        parts[QStringLiteral("xl/worksheets/sheet1.xml")] =
            QString::fromUtf8(parts.value(QStringLiteral("xl/worksheets/sheet1.xml"))).remove(height).toUtf8();
        return parts;
    }

    QString print(WindowFixture &f, const QString &name)
    {
        f.printer->pdfPath = m_folder.filePath(name);
        f.trigger("mnuPrint");
        return QFile::exists(f.printer->pdfPath) ? Programs::pdfText(f.printer->pdfPath) : QString();
    }

    QTemporaryDir m_folder;
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
