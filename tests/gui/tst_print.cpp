#include "support/windowfixture.h"

#include "report/estimatereport.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace {
bool isInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// The rows of an image that hold ink, as bands of neighbouring rows.
QList<std::pair<int, int>> inkBands(const QImage &image, const QRect &area)
{
    QList<std::pair<int, int>> bands;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool ink = false;
        for (int x = area.left(); x <= area.right() && !ink; ++x)
            ink = isInk(image.pixel(x, y));
        if (!ink)
            continue;
        if (!bands.isEmpty() && bands.last().second == y - 1)
            bands.last().second = y;
        else
            bands << std::pair(y, y);
    }
    return bands;
}

QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The rule under the header lines: the first row of ink running across most of the page.
std::pair<int, int> ruleEnds(const QImage &page)
{
    for (int y = 0; y < page.height(); ++y) {
        int left = -1;
        int right = -1;
        int dark = 0;
        for (int x = 0; x < page.width(); ++x) {
            if (isInk(page.pixel(x, y))) {
                left = left < 0 ? x : left;
                right = x;
                ++dark;
            }
        }
        if (dark > page.width() / 2)
            return {left, right};
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
} // namespace

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
        const QStringList expected = {"COST ESTIMATE",
                                      "Name: Pat +Owner\\n",
                                      "BUILDER: *\\n",
                                      "PROP. ADDRESS: None",
                                      "For average cost to build anywhere in the USA, visit",
                                      "www.varn.example",
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
            const QRegularExpressionMatch size =
                QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(run("pdfinfo", {f.printer->pdfPath}));
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

    // Whatever the fields hold, the report stays on its one page: the long lines cut with
    // an ellipsis, the address given the lines the sheet and the footer leave it.
    void everyFieldFilledToItsLimit()
    {
        WindowFixture f;
        const int limit = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"))->maxLength();
        QCOMPARE(f.window->findChild<QLineEdit *>(QStringLiteral("txtBuilder"))->maxLength(), limit);
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
        const QRect ink = inkBox(sheet);
        QVERIFY2(QRect(QPoint(0, 0), page).contains(ink),
                 qPrintable(QStringLiteral("ink reaches %1, %2").arg(ink.right()).arg(ink.bottom())));
        // Under the sheet's last line, the three footer lines.
        const QList<std::pair<int, int>> bands = inkBands(sheet, QRect(QPoint(0, 0), page));
        qsizetype sheetBand = 0;
        for (qsizetype band = 0; band < bands.size(); ++band) {
            if (bands.at(band).second - bands.at(band).first > page.height() / 3)
                sheetBand = band;
        }
        QCOMPARE(bands.size() - 1 - sheetBand, 3);

        const QString text = print(f, "full.pdf");
        QVERIFY(run("pdfinfo", {f.printer->pdfPath}).contains(QRegularExpression("Pages:\\s+1\\n")));
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
        QTest::addColumn<QPageSize>("paper");
        QTest::addColumn<QPageLayout::Orientation>("orientation");
        QTest::addColumn<QString>("size");
        QTest::newRow("the report's own") << QPageSize() << QPageLayout::Portrait << "612 x 792";
        QTest::newRow("A4 chosen in the dialog") << QPageSize(QPageSize::A4) << QPageLayout::Portrait << "595 x 842";
        QTest::newRow("landscape") << QPageSize() << QPageLayout::Landscape << "792 x 612";
    }

    // Printed into a PDF file or exported, the report is laid out for the paper with
    // half-inch margins: the rule under the header runs from margin to margin.
    void onePageLayoutOnEveryPath()
    {
        QFETCH(QPageSize, paper);
        QFETCH(QPageLayout::Orientation, orientation);
        QFETCH(QString, size);
        WindowFixture f;
        f.printer->paper = paper;
        const_cast<QPrinter &>(f.printer->chosen()).setPageOrientation(orientation);
        QVERIFY(!print(f, "printed.pdf").isEmpty());
        QVERIFY2(run("pdfinfo", {f.printer->pdfPath}).contains(QRegularExpression("Page size:\\s+" + size + " pts")),
                 qPrintable(run("pdfinfo", {f.printer->pdfPath})));
        const QImage printed = pageImage(f.printer->pdfPath);
        const auto [left, right] = ruleEnds(printed);
        QVERIFY(qAbs(left - 36) <= 1);
        QVERIFY(qAbs(printed.width() - 1 - right - 36) <= 1);
        if (paper.isValid() || orientation != QPageLayout::Portrait)
            return;

        f.dialogs->exportPaths = {m_folder.filePath("exported.pdf")};
        f.window->findChild<QAction *>(QStringLiteral("mnuExportPdf"))->trigger();
        const QImage exported = pageImage(m_folder.filePath("exported.pdf"));
        QCOMPARE(exported.size(), printed.size());
        QCOMPARE(inkBox(exported), inkBox(printed));
    }

    // The preview's own Print button goes the way File > Print goes: through the printer
    // dialog, with the header fields made what they print.
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
        QTimer::singleShot(0, [&preview] {
            preview = QApplication::activeModalWidget();
            QVERIFY(preview);
            for (QToolButton *button : preview->findChildren<QToolButton *>()) {
                if (button->defaultAction() && button->defaultAction()->text().remove(u'&') == u"Print") {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
            QFAIL("no Print button");
        });
        f.window->findChild<QAction *>(QStringLiteral("mnuPrintPreview"))->trigger();
        QCOMPARE(f.printer->showings, 1);
        QVERIFY(QFile::exists(f.printer->pdfPath));
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat Owner"));
        const QString fromPreview = run("pdftotext", {"-layout", f.printer->pdfPath, "-"});
        QCOMPARE(fromPreview, print(f, "from print.pdf"));
        QCOMPARE(f.printer->showings, 2);
    }

private:
    QString print(WindowFixture &f, const QString &name);
    QImage pageImage(const QString &pdf) const;
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

// The first page at 72 dots per inch: a pixel for each point.
QImage TestPrint::pageImage(const QString &pdf) const
{
    const QString prefix = m_folder.filePath(QFileInfo(pdf).completeBaseName());
    run("pdftoppm", {"-r", "72", "-gray", "-singlefile", pdf, prefix});
    return QImage(prefix + ".pgm");
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
