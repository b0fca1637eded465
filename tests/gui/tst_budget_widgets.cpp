#include "gui/budget/budgetchart.h"
#include "gui/budget/budgetview.h"
#include "gui/budget/changeorderregister.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QCheckBox>
#include <QDockWidget>
#include <QGraphicsTextItem>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QValueAxis>

using namespace Qt::StringLiterals;

namespace {
constexpr int Adjusted = 4;
constexpr int TotalRow = 37;

// The register in the window, opened from the View menu as the user opens it.
struct RegisterFixture
{
    RegisterFixture()
    {
        for (QAction *item : f.child<QMenu>("mnuViewTop")->actions()) {
            if (item->text().remove(u'&') == u"Change Orders")
                item->trigger();
        }
        view = f.window->findChild<ChangeOrderRegister *>();
    }

    void click(const char *button) const
    {
        QTest::mouseClick(view->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    QTableWidget *table() const { return view->findChild<QTableWidget *>(); }
    void selectOrder(int index) const
    {
        const QRect cell = table()->visualItemRect(table()->item(index, 1));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString status(int index) const { return table()->item(index, 5)->text(); }

    WindowFixture f;
    ChangeOrderRegister *view = nullptr;
};

// Answers the change order's dialog with keys, from the description on, once it is up.
void answerDialog(const QString &description, const QString &amount, const QString &source)
{
    QTimer::singleShot(0, [=] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        // The keys go where the dialog's focus is, as to the active window.
        const auto type = [dialog](const QString &keys) { QTest::keyClicks(dialog->focusWidget(), keys); };
        const auto press = [dialog](Qt::Key key) { QTest::keyClick(dialog->focusWidget(), key); };
        type(description);
        press(Qt::Key_Tab);
        type(amount);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        type(source);
        press(Qt::Key_Return);
    });
}

// Types the keys into the dialog that comes up next, where its focus is, then presses Return.
void answerNext(const QString &keys)
{
    QTimer::singleShot(0, [=] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QTest::keyClicks(dialog->focusWidget(), keys);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
}

// Saves through File > Save, as the user does, and gives the file's records.
QList<QByteArray> savedRecords(const WindowFixture &f, const QString &path)
{
    f.dialogs->savePaths = {path};
    f.press(Qt::Key_S, Qt::ControlModifier);
    return Files::read(path).trimmed().split('\n');
}

QChartView *chartView(const BudgetView &view)
{
    return view.findChild<QChartView *>();
}

// The Budget view in a window of its own, shown, with the main window active to take the keys.
void showBeside(const WindowFixture &f, BudgetView &view)
{
    view.resize(700, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
}

QStringList barLabels(const BudgetView &view)
{
    const auto axes = chartView(view)->chart()->axes(Qt::Vertical);
    return axes.isEmpty() ? QStringList() : static_cast<QBarCategoryAxis *>(axes.first())->categories();
}

// Where the user sees the start of the bar with this label, or nowhere.
std::optional<QPoint> onBar(const QChartView *chart, const QString &label)
{
    const auto axes = chart->chart()->axes(Qt::Vertical);
    const int index =
        axes.isEmpty() ? -1 : int(static_cast<QBarCategoryAxis *>(axes.first())->categories().indexOf(label));
    if (index < 0)
        return std::nullopt;
    auto *series = static_cast<QAbstractSeries *>(chart->chart()->series().first());
    const QPointF inChart = chart->chart()->mapToPosition(QPointF(1, index), series);
    return chart->mapFromScene(chart->chart()->mapToScene(inChart + QPointF(2, 0)));
}

// Clicks the bar with this label, where the user sees it.
void clickBar(const BudgetView &view, const QString &label)
{
    const std::optional<QPoint> bar = onBar(chartView(view), label);
    QVERIFY2(bar, qPrintable(barLabels(view).join(u'|')));
    QTest::mouseClick(chartView(view)->viewport(), Qt::LeftButton, {}, *bar);
}

// The texts the chart shows, its axes' labels among them, each where it stands in the view.
QMap<QString, QRect> shownTexts(const QChartView *chart)
{
    QMap<QString, QRect> texts;
    for (const QGraphicsItem *item : chart->scene()->items()) {
        const auto *text = dynamic_cast<const QGraphicsTextItem *>(item);
        if (text && text->isVisible() && !text->toPlainText().isEmpty())
            texts.insert(text->toPlainText(), chart->mapFromScene(text->sceneBoundingRect()).boundingRect());
    }
    return texts;
}

QStringList chartTexts(const BudgetView &view)
{
    return shownTexts(chartView(view)).keys();
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(80, 140, 220));
    return dark;
}

}

class TestBudget : public QObject
{
    Q_OBJECT

private slots:
    // A change order typed into the register and approved moves the adjusted estimates and
    // the Total; one Undo in the window takes the approval back, the next the order, and
    // redone, the saved file keeps it after the sheet's 38 records.
    void approveAndUndo_data()
    {
        Rows::columns<QString, QStringList, QByteArray>("source", "approved", "record");
        QTest::newRow("from the loan") << "L" << QStringList{"$12,000.00", "$5,000.00", "$17,000.00"}
                                       << QByteArray(",8,\"upgrade to metal roof\",200000,\"approved\",\"loan\"");
        QTest::newRow("from the contingency")
            << "C" << QStringList{"$12,000.00", "$3,000.00", "$15,000.00"}
            << QByteArray(",8,\"upgrade to metal roof\",200000,\"approved\",\"contingency\"");
    }

    void approveAndUndo()
    {
        auto [source, approved, record] = Rows::fetch<QString, QStringList, QByteArray>("source", "approved", "record");
        RegisterFixture r;
        WindowFixture &f = r.f;
        f.enter(29, 3, QStringLiteral("5000"));
        f.enter(8, 3, QStringLiteral("10000"));
        const auto adjusted = [&f] {
            return QStringList{f.text(8, Adjusted), f.text(29, Adjusted), f.text(TotalRow, Adjusted)};
        };
        const QStringList before = adjusted();
        f.clickCell(8, 2);

        answerDialog(QStringLiteral("upgrade to metal roof"), QStringLiteral("2000"), source);
        r.click("cmdNewChangeOrder");
        QCOMPARE(r.table()->rowCount(), 1);
        QCOMPARE(r.table()->item(0, 2)->text(), QStringLiteral("8 Roofing"));
        QCOMPARE(adjusted(), before);
        r.selectOrder(0);
        r.click("cmdApproveChangeOrder");
        QCOMPARE(adjusted(), approved);
        QCOMPARE(r.status(0), QStringLiteral("Approved"));

        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.clickCell(3, 2);
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(adjusted(), before);
        QCOMPARE(r.status(0), QStringLiteral("Pending"));
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.table()->rowCount(), 0);
        QVERIFY(f.messages->shown.isEmpty());

        f.press(Qt::Key_Y, Qt::ControlModifier);
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(adjusted(), approved);
        const QList<QByteArray> records = savedRecords(f, f.path(QStringLiteral("roof.vrn")));
        QVERIFY2(records.size() > 38 && records.at(38).startsWith("\"VARN history\","), records.value(38));
        QVERIFY2(records.last().startsWith("\"change\",1,") && records.last().endsWith(record), records.last());

        // The workbook the window exports has the register's worksheet too.
        const QString workbook = f.path(QStringLiteral("roof.xlsx"));
        f.dialogs->exportPaths = {workbook};
        f.trigger("mnuExportXlsx");
        QVERIFY(Files::workbookParts(Files::read(workbook)).contains("xl/worksheets/sheet2.xml"));
    }

    // A deduction in the register is heard as minus, as in the sheet.
    void deductionHeardWithItsSign()
    {
        RegisterFixture r;
        r.f.enter(8, 3, QStringLiteral("10000"));
        r.f.clickCell(8, 2);
        answerDialog(QStringLiteral("plain shingles"), QStringLiteral("-150"), QStringLiteral("L"));
        r.click("cmdNewChangeOrder");
        QCOMPARE(r.table()->item(0, 4)->text(), QStringLiteral("($150.00)"));
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(r.table());
        QStringList heard;
        for (int child = 0; child < table->childCount(); ++child)
            heard << table->child(child)->text(QAccessible::Name);
        QVERIFY2(heard.contains(QStringLiteral("minus $150.00")), qPrintable(heard.join(u'|')));
    }

    // An approved order is voided, not deleted: it stays in the register, void with its date
    // and reason, its amount back where it came from, counted by the budget no more, and one
    // Undo takes the void back. Its number, and a deleted pending order's, is not given again,
    // in the file saved and opened again too.
    void voidKeepsTheOrder()
    {
        RegisterFixture r;
        WindowFixture &f = r.f;
        BudgetView budget(f.window->document());
        const auto totals = [&budget] {
            budget.refresh();
            return budget.findChild<QLabel *>(QStringLiteral("lblBudgetTotals"))->text();
        };
        f.enter(29, 3, QStringLiteral("5000"));
        f.enter(8, 3, QStringLiteral("10000"));
        const auto adjusted = [&f] { return QStringList{f.text(8, Adjusted), f.text(29, Adjusted)}; };
        f.clickCell(8, 2);
        answerDialog(QStringLiteral("upgrade to metal roof"), QStringLiteral("2000"), QStringLiteral("C"));
        r.click("cmdNewChangeOrder");
        r.selectOrder(0);
        r.click("cmdApproveChangeOrder");
        QCOMPARE(adjusted(), (QStringList{"$12,000.00", "$3,000.00"}));
        QVERIFY(!r.view->findChild<QPushButton *>(QStringLiteral("cmdDeleteChangeOrder"))->isEnabled());

        const QString today = QDate::currentDate().toString(Qt::ISODate);
        answerNext(QStringLiteral("roofer cancelled"));
        r.click("cmdVoidChangeOrder");
        QCOMPARE(r.status(0), u"Void on "_s + today + u": roofer cancelled"_s);
        QCOMPARE(adjusted(), (QStringList{"$10,000.00", "$5,000.00"}));
        QVERIFY2(totals().contains(u"change orders $0.00; "_s), qPrintable(totals()));
        for (const char *button : {"cmdEditChangeOrder", "cmdApproveChangeOrder", "cmdRejectChangeOrder",
                                   "cmdVoidChangeOrder", "cmdDeleteChangeOrder"})
            QVERIFY2(!r.view->findChild<QPushButton *>(QLatin1String(button))->isEnabled(), button);
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.clickCell(3, 2);
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.status(0), u"Approved"_s);
        QCOMPARE(adjusted(), (QStringList{"$12,000.00", "$3,000.00"}));
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(adjusted(), (QStringList{"$10,000.00", "$5,000.00"}));

        answerDialog(QStringLiteral("skylight"), QStringLiteral("750"), QStringLiteral("L"));
        r.click("cmdNewChangeOrder");
        r.selectOrder(1);
        f.messages->answers = {MessageBoxes::Yes};
        r.click("cmdDeleteChangeOrder");
        QCOMPARE(r.table()->rowCount(), 1);
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.clickCell(3, 2);
        const QList<QByteArray> records = savedRecords(f, f.path(QStringLiteral("void.vrn")));
        QCOMPARE(records.at(38).trimmed(), QByteArray("\"VARN history\",3,4"));
        QCOMPARE(records.at(41).trimmed(), QByteArray("\"deleted change order\",2"));
        QCOMPARE(records.at(42).trimmed(),
                 "\"change\",1,\"" + today.toLatin1()
                     + "\",8,\"upgrade to metal roof\",200000,\"approved\",\"contingency\",\"" + today.toLatin1()
                     + "\",\"roofer cancelled\"");

        f.dialogs->openPaths = {f.path(QStringLiteral("void.vrn"))};
        f.press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(r.status(0), u"Void on "_s + today + u": roofer cancelled"_s);
        QString title;
        QTimer::singleShot(0, [&title] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            title = dialog->windowTitle();
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
        });
        r.click("cmdNewChangeOrder");
        QCOMPARE(title, u"Change Order 3"_s);
    }

    // Approving an order that takes more from the contingency than it has left asks first,
    // naming what is left; No, which the question answers when closed, approves nothing.
    void overdrawAsked_data()
    {
        Rows::columns<bool, QString>("yes", "status");
        QTest::newRow("no") << false << u"Pending"_s;
        QTest::newRow("yes") << true << u"Approved"_s;
    }

    void overdrawAsked()
    {
        auto [yes, status] = Rows::fetch<bool, QString>("yes", "status");
        RegisterFixture r;
        WindowFixture &f = r.f;
        f.enter(29, 3, QStringLiteral("5000"));
        f.enter(29, 5, QStringLiteral("4000"));
        f.enter(8, 3, QStringLiteral("10000"));
        f.clickCell(8, 2);
        answerDialog(QStringLiteral("upgrade to metal roof"), QStringLiteral("2000"), QStringLiteral("C"));
        r.click("cmdNewChangeOrder");
        r.selectOrder(0);
        f.messages->answers = {yes ? MessageBoxes::Yes : MessageBoxes::No};
        r.click("cmdApproveChangeOrder");
        QCOMPARE(f.messages->shown.size(), 1);
        QCOMPARE(f.messages->shown.first().kind, u"yes/no question, no by default"_s);
        QCOMPARE(f.messages->shown.first().text,
                 u"Change order 1 takes $2,000.00 from the contingency, which has $1,000.00 left. Approve it all "
                 "the same?"_s);
        QCOMPARE(r.status(0), status);
    }

    // An adjusted estimate typed over by hand is named under the register.
    void handEditShown()
    {
        RegisterFixture r;
        r.f.enter(8, 3, QStringLiteral("10000"));
        r.f.enter(8, Adjusted, QStringLiteral("10500"));
        auto *handEdits = r.view->findChild<QLabel *>(QStringLiteral("lblHandEdits"));
        QTRY_VERIFY(handEdits->isVisible());
        QVERIFY2(handEdits->text().startsWith(u"8 Roofing: the adjusted estimate, $10,500.00, is not the original"),
                 qPrintable(handEdits->text()));
    }

    // The view follows what is typed into the window: the totals, a bar for each row, the
    // overrun in its colour and named in its label, and "Only over budget"; a bar leads to its row.
    void followsTyping_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light theme") << false;
        QTest::newRow("dark theme") << true;
    }

    void followsTyping()
    {
        QFETCH(bool, dark);
        WindowFixture f;
        BudgetView view(f.window->document());
        if (dark)
            view.setPalette(darkPalette());
        showBeside(f, view);
        if (QTest::currentTestFailed())
            return;
        f.enter(5, 3, QStringLiteral("1000"));
        f.enter(5, 5, QStringLiteral("1200"));
        f.enter(8, 3, QStringLiteral("4000"));
        const QString over = QStringLiteral("5 Rough Lumber<br>over by $200.00");
        QTRY_COMPARE(barLabels(view), (QStringList{"8 Roofing", over}));
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("lblBudgetTotals"))->text(),
                 QStringLiteral("Estimate $5,000.00; change orders $0.00; paid to date $1,200.00 (24.0 %); "
                                "contingency left $0.00"));
        // The chart's ground and the overrun's warning colour follow the theme.
        QChartView *shown = chartView(view);
        const QImage chart = shown->grab().toImage();
        const QPointF plotCorner = shown->chart()->mapToScene(shown->chart()->plotArea().topLeft() + QPointF(3, 3));
        QCOMPARE(chart.pixelColor(shown->mapFromScene(plotCorner)), view.palette().color(QPalette::Base));
        const QRgb overrun = BudgetChart::overrunColour(view.palette()).rgb();
        QVERIFY(Pixels::count(chart, chart.rect(), [overrun](QRgb pixel) { return pixel == overrun; }) > 20);

        // A click on a bar makes its row the sheet's current row.
        clickBar(view, over);
        QCOMPARE(f.model().currentRow(), 5);
        clickBar(view, QStringLiteral("8 Roofing"));
        QCOMPARE(f.model().currentRow(), 8);

        auto *onlyOver = view.findChild<QCheckBox *>();
        QTest::mouseClick(onlyOver, Qt::LeftButton, {}, QPoint(5, onlyOver->height() / 2));
        QCOMPARE(barLabels(view), QStringList{over});
    }

    // "Only over budget" with no row over says so, where a chart of no bars would show only a
    // scale of nothing; an overrun of $200 beside a row of $100,000 is drawn wide enough to
    // be seen, and the axis reads in currency form.
    void smallOverrunAndNone()
    {
        WindowFixture f;
        BudgetView view(f.window->document());
        showBeside(f, view);
        if (QTest::currentTestFailed())
            return;
        f.enter(8, 3, QStringLiteral("100000"));
        f.enter(5, 3, QStringLiteral("1850"));
        auto *onlyOver = view.findChild<QCheckBox *>();
        QTest::mouseClick(onlyOver, Qt::LeftButton, {}, QPoint(5, onlyOver->height() / 2));
        auto *noBars = view.findChild<QLabel *>(QStringLiteral("lblNoBars"));
        QVERIFY(noBars && noBars->isVisible());
        QCOMPARE(noBars->text(), u"No row is over budget"_s);
        QVERIFY(!chartView(view)->isVisible());

        f.enter(5, 5, QStringLiteral("2050"));
        QTRY_VERIFY(chartView(view)->isVisible());
        QVERIFY(!noBars->isVisible());
        QTest::mouseClick(onlyOver, Qt::LeftButton, {}, QPoint(5, onlyOver->height() / 2));
        QTRY_COMPARE(barLabels(view).size(), 2);
        // The axis's labels follow at the chart's next layout.
        for (const QString &amount : {u"$0"_s, u"$20,000"_s, u"$100,000"_s})
            QTRY_VERIFY2(chartTexts(view).contains(amount), qPrintable(chartTexts(view).join(u'|')));
        const QImage chart = chartView(view)->grab().toImage();
        const QRgb overrun = BudgetChart::overrunColour(view.palette()).rgb();
        const QRect marker = Pixels::box(chart, chart.rect(), [overrun](QRgb pixel) { return pixel == overrun; });
        QVERIFY2(marker.width() >= 10, qPrintable(QString::number(marker.width())));
    }

    // In the Budget view beside the sheet of a 1024x768 window, as opened and dragged narrow,
    // each row's label fits the room left of the bars, a long one cut short and whole in its
    // bar's tool tip, the overrun's amount whole; the amounts under the bars stand apart.
    void labelsFitBesideTheSheet_data()
    {
        QTest::addColumn<int>("dockWidth");
        QTest::newRow("as opened") << 0;
        QTest::newRow("dragged narrow") << 260;
    }

    void labelsFitBesideTheSheet()
    {
        QFETCH(int, dockWidth);
        WindowFixture f;
        f.window->resize(1024, 768);
        auto *dock = f.child<QDockWidget>("dckBudget");
        dock->toggleViewAction()->trigger();
        if (dockWidth > 0)
            f.window->resizeDocks({dock}, {dockWidth}, Qt::Horizontal);
        const QString longName = u"Excavation, backfill and final grading"_s;
        f.enter(3, 2, longName);
        for (const auto &[row, column, amount] : {std::tuple(1, 3, "3000"),
                                                  {3, 3, "1250000"},
                                                  {5, 3, "1850"},
                                                  {5, 5, "2050"},
                                                  {8, 3, "100000"},
                                                  {29, 3, "5000"}})
            f.enter(row, column, QLatin1String(amount));
        QChartView *view = f.window->findChild<QChartView *>();
        // The overrun's line may go on two.
        const auto overrunShown = [view] {
            return shownTexts(view).keys().join(u'|').replace(u'\n', u' ').contains(u"over by $200.00"_s);
        };
        QTRY_VERIFY(overrunShown());
        const QRect plot = view->mapFromScene(view->chart()->mapToScene(view->chart()->plotArea())).boundingRect();
        const QMap<QString, QRect> texts = shownTexts(view);
        const QFontMetrics metrics(view->chart()->axes(Qt::Vertical).first()->labelsFont());
        QList<QRect> amounts;
        for (auto text = texts.cbegin(); text != texts.cend(); ++text) {
            QVERIFY2(view->viewport()->rect().contains(text.value()) && !text.key().contains(u"<br>"_s),
                     qPrintable(text.key()));
            if (plot.top() <= text->center().y() && text->center().y() <= plot.bottom()) {
                for (const QString &line : text.key().split(u'\n'))
                    QVERIFY2(metrics.horizontalAdvance(line) <= plot.left(), qPrintable(line));
            } else if (text->top() > plot.bottom() && text.key().startsWith(u'$')) {
                // The axis cuts short an amount that has not the room.
                QVERIFY2(!text.key().contains(u"..."_s), qPrintable(text.key()));
                amounts << text.value();
            }
        }
        QVERIFY2(amounts.size() >= 2, qPrintable(texts.keys().join(u'|')));
        std::sort(amounts.begin(), amounts.end(), [](QRect a, QRect b) { return a.left() < b.left(); });
        for (qsizetype i = 1; i < amounts.size(); ++i)
            QVERIFY2(amounts.at(i - 1).right() < amounts.at(i).left(), qPrintable(texts.keys().join(u'|')));

        const QStringList labels = barLabels(*f.window->findChild<BudgetView *>());
        const auto cut =
            std::find_if(labels.cbegin(), labels.cend(), [](const QString &label) { return label.startsWith(u"3 "); });
        QVERIFY(cut != labels.cend() && cut->endsWith(u'\u2026'));
        // Off the bars first: a pointer already resting where the bar now is makes no move.
        QTest::mouseMove(view->viewport(), QPoint(1, 1));
        QTest::mouseMove(view->viewport(), onBar(view, *cut).value());
        QTRY_COMPARE(view->chart()->toolTip(), u"3 "_s + longName);
    }

    void axisEndsPastTheWidestBar_data()
    {
        Rows::columns<QString, double, int>("amount", "axisEnd", "ticks");
        QTest::newRow("thousands") << "1234" << 1500.0 << 4;
        QTest::newRow("just short of a round end") << "98000" << 100000.0 << 6;
        QTest::newRow("dollars") << "5" << 5.0 << 6;
    }

    // The amount axis ends on a round amount past the widest bar, with ticks on round steps;
    // the commit that widens the bar moves the axis once.
    void axisEndsPastTheWidestBar()
    {
        auto [amount, axisEnd, ticks] = Rows::fetch<QString, double, int>("amount", "axisEnd", "ticks");
        WindowFixture f;
        BudgetView view(f.window->document());
        showBeside(f, view);
        if (QTest::currentTestFailed())
            return;
        auto *axis = qobject_cast<QValueAxis *>(chartView(view)->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(axis);
        const QSignalSpy moves(axis, &QValueAxis::rangeChanged);
        f.enter(5, 3, amount);
        QTRY_COMPARE(axis->max(), axisEnd);
        QCOMPARE(axis->min(), 0.0);
        QCOMPARE(axis->tickCount(), ticks);
        QCOMPARE(moves.count(), 1);
    }

    // File > Export Budget Summary writes the summary, and refuses a name that ends in no form
    // of the budget, saying why, rather than writing another form into it.
    void exportSummary_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("pdf") << "budget.pdf" << QByteArray("%PDF") << QString();
        QTest::newRow("another form") << "budget.txt" << QByteArray()
                                      << "budget.txt: Its name ends in neither .pdf, for the budget summary, nor "
                                         ".csv, for the change-order register";
    }

    void exportSummary()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        QFETCH(QString, message);
        WindowFixture f;
        f.dialogs->exportPaths = {f.path(name)};
        f.trigger("mnuExportBudget");
        QFile file(f.path(name));
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray(), written);
        const QString shown = f.messages->texts().join(u'\n');
        QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.endsWith(message), qPrintable(shown));
    }
};

QTEST_MAIN(TestBudget)
#include "tst_budget_widgets.moc"
