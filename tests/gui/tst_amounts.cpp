#include "support/files.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QClipboard>

namespace {
constexpr int Row = 5;
constexpr int Previous = 5;
constexpr int Current = 6;
constexpr int ToComplete = 7;
constexpr int TotalRow = 37;

const QStringList Routes = {"typed",   "pasted into the editor", "pasted onto the cell", "pasted in a block", "opened",
                            "recorded"};

// An estimate file whose row 5 holds text as its current amount, as another program or an
// older version may have written it.
bool writeEstimate(const QString &path, const QString &text)
{
    QByteArray bytes = "2,4,6\r\n\"\",\"\",\"\"\r\n";
    for (int row = 1; row <= 36; ++row)
        bytes += "\"\",\"\",\"\",\"\",\"\",\"" + (row == Row ? text.toLatin1() : QByteArray()) + "\",\"\"\r\n";
    return Files::write(path, bytes);
}

// Puts text into the current amount of row 5 the way the route names.
// An opened estimate is saved back into its own file.
void putByRoute(WindowFixture &f, const QString &route, const QString &text, const QString &path)
{
    QGuiApplication::clipboard()->setText(
        route == u"pasted in a block" ? text + QStringLiteral("\tbeyond the last column\n") : text);
    if (route == u"typed") {
        f.enter(Row, Current, text);
    } else if (route == u"pasted into the editor") {
        f.doubleClickCell(Row, Current);
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Return);
    } else if (route.startsWith(u"pasted")) {
        f.clickCell(Row, Current);
        f.press(Qt::Key_V, Qt::ControlModifier);
    } else {
        QVERIFY(writeEstimate(path, text));
        f.dialogs->openPaths = {path};
        f.press(Qt::Key_O, Qt::ControlModifier);
        if (route == u"recorded")
            f.recordCurrentPayments();
    }
}
}

// Every way an amount reaches the sheet reads it the same: typed, pasted, opened from a
// file or recorded as paid. A text that is not one amount is a note: it stays as written,
// counts as nothing and says so.
class TestAmounts : public QObject
{
    Q_OBJECT

private slots:
    void everyRouteReadsAlike_data()
    {
        // amount: as money text; empty for a note
        Rows::columns<QString, QString, QString, QString>("route", "entry", "amount", "remainder");
        const QList<QStringList> forms = {{"1234,56", "$1,234.56", "($1,234.56)"},
                                          {"0,5", "$0.50", "($0.50)"},
                                          {"1.234,56", "$1,234.56", "($1,234.56)"},
                                          {"1 234,56", "$1,234.56", "($1,234.56)"},
                                          {"1,500", "$1,500.00", "($1,500.00)"},
                                          {"12,345,678.90", "$12,345,678.90", "($12,345,678.90)"},
                                          {"1.5", "$1.50", "($1.50)"},
                                          {"(50)", "($50.00)", "$50.00"},
                                          {"-1,234.5", "($1,234.50)", "$1,234.50"},
                                          {"$1,234.50", "$1,234.50", "($1,234.50)"},
                                          {"TBD", "", ""},
                                          {"call 555-1234", "", ""},
                                          {"abc12", "", ""},
                                          {"100-25", "", ""},
                                          {"(-5)", "", ""}};
        for (const QString &route : Routes) {
            for (const QStringList &form : forms) {
                // The keys of a note never reach a money cell: the key filter keeps them out.
                if (route == u"typed" && form.at(1).isEmpty())
                    continue;
                QTest::addRow("%s %s", qPrintable(route), qPrintable(form.at(0)))
                    << route << form.at(0) << form.at(1) << form.at(2);
            }
        }
    }

    void everyRouteReadsAlike()
    {
        auto [route, entry, amount, remainder] =
            Rows::fetch<QString, QString, QString, QString>("route", "entry", "amount", "remainder");
        WindowFixture f;
        const QString path = f.path(QStringLiteral("estimate.vrn"));
        putByRoute(f, route, entry, path);
        const bool note = amount.isEmpty();
        const bool recorded = route == u"recorded" && !note;
        // An opened file keeps its texts as they are; what was typed or pasted is written as money.
        const QString shown = note || route == u"opened" ? entry : amount;
        const int counted = recorded ? Previous : Current;

        QCOMPARE(f.text(TotalRow, counted), note ? QStringLiteral("$0.00") : amount);
        QCOMPARE(f.toolTipOver(Row, Current), note ? QStringLiteral("Not an amount: not counted") : QString());
        const QStringList saved = f.savedRows(path).value(Row - 1);
        QCOMPARE(saved.mid(Previous - 1, 3),
                 (QStringList{recorded ? amount : QString(), recorded ? QString() : shown, remainder}));
    }
};

QTEST_MAIN(TestAmounts)
#include "tst_amounts.moc"
