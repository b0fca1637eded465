#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "support/rows.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

namespace {
void enter(EstimateSheet &sheet, int row, int column, const QString &text)
{
    Grid &grid = sheet.grid();
    grid.setCurrentCell(row, column);
    grid.setText(row, column, text);
    sheet.FormatMoneyCell(row, column);
    sheet.RecalculateTotals();
}

// The texts of a row's cells from one column to another.
QStringList texts(const Grid &grid, int row, int first, int last)
{
    QStringList result;
    for (int column = first; column <= last; ++column)
        result << grid.text(row, column);
    return result;
}

// A row's five money columns.
QStringList money(const Grid &grid, int row)
{
    return texts(grid, row, 3, 7);
}
}

// The sheet of an estimate: its set-up, its widths, the recalculation of its rows and totals,
// and how its money is read and written.
class TestEstimateSheet : public QObject
{
    Q_OBJECT

private slots:
    // The sheet as set up, and as clearItems gives it back for a new estimate: the current cell
    // on the Total row selecting up to the first item, headers centred and the Total bold,
    // amounts to the right; and every text as it was.
    void setUp()
    {
        EstimateSheet sheet;
        Grid &grid = sheet.grid();
        QCOMPARE((QList<int>{grid.currentRow(), grid.currentColumn(), grid.selectionRow(), grid.selectionColumn()}),
                 (QList<int>{37, 7, 1, 1}));
        for (int column = 1; column <= 7; ++column) {
            QVERIFY(grid.isBold(0, column) && grid.isBold(37, column) && !grid.isBold(5, column));
            QCOMPARE(grid.alignment(0, column), Qt::AlignHCenter | Qt::AlignTop);
            QCOMPARE(grid.alignment(37, column), Qt::AlignRight | Qt::AlignTop);
            QCOMPARE(grid.alignment(5, column), (column >= 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        }
        const auto everyText = [&grid] {
            QStringList all;
            for (int row = 0; row < grid.rowCount(); ++row)
                all << texts(grid, row, 0, grid.columnCount() - 1);
            return all;
        };
        const QStringList fresh = everyText();
        enter(sheet, 2, 3, "75");
        grid.setText(30, 2, "Changed");
        grid.setText(31, 2, "Shed");
        grid.setText(36, 1, "Bob");
        sheet.clearItems();
        QCOMPARE(everyText(), fresh);
    }

    // The first column takes what the others leave, never less than 1500 twips, and never
    // overflows however wide the grid.
    void columnWidths()
    {
        const int widest = std::numeric_limits<int>::max();
        const std::pair<int, int> cases[] = {
            {EstimateSheet::DesignWidth, 1500}, {14000, 3900}, {11601, 1501}, {widest, widest - 10100}};
        EstimateSheet sheet;
        for (const auto &[gridWidth, supplierWidth] : cases) {
            sheet.grid().setWidth(gridWidth);
            sheet.SetColumnWidths();
            QList<int> widths;
            for (int column = 0; column < 8; ++column)
                widths << sheet.grid().columnWidth(column);
            QCOMPARE(widths, (QList<int>{400, supplierWidth, 2000, 1400, 1400, 1600, 1500, 1500}));
        }
    }

    // Entries ("column=text") typed into row 5 one after another, and the row's money
    // columns and remainder colour they leave: each entry is written as currency, the
    // original estimate goes into an empty adjusted estimate, and the remainder follows.
    void rowRecalculation_data()
    {
        Rows::columns<QStringList, QStringList, bool>("entries", "shown", "red");
        QTest::newRow("thousands separator, original copied into adjusted")
            << QStringList{"3=1,500"} << QStringList{"$1,500.00", "$1,500.00", "", "", "$1,500.00"} << false;
        QTest::newRow("minus") << QStringList{"4=-50"} << QStringList{"", "($50.00)", "", "", "($50.00)"} << true;
        QTest::newRow("parentheses") << QStringList{"3=(50)"} << QStringList{"($50.00)", "($50.00)", "", "", "($50.00)"}
                                     << true;
        QTest::newRow("a note is not copied and counts as nothing")
            << QStringList{"3=TBD", "6=50"} << QStringList{"TBD", "", "", "$50.00", "($50.00)"} << true;
        QTest::newRow("a row of notes has no remainder")
            << QStringList{"6=abc"} << QStringList{"", "", "", "abc", ""} << false;
        QTest::newRow("dollar text written as money")
            << QStringList{"3=$1500"} << QStringList{"$1,500.00", "$1,500.00", "", "", "$1,500.00"} << false;
        QTest::newRow("a later original does not reach the adjusted")
            << QStringList{"3=1000", "3=2000", "5=250.5", "6=100"}
            << QStringList{"$2,000.00", "$1,000.00", "$250.50", "$100.00", "$649.50"} << false;
        QTest::newRow("payments only give a red remainder")
            << QStringList{"5=250"} << QStringList{"", "", "$250.00", "", "($250.00)"} << true;
        QTest::newRow("emptied row keeps its colour") << QStringList{"6=10", "6="} << QStringList(5, "") << true;
        QTest::newRow("remainder no longer negative")
            << QStringList{"5=250", "3=300"} << QStringList{"$300.00", "$300.00", "$250.00", "", "$50.00"} << false;
    }

    void rowRecalculation()
    {
        auto [entries, shown, red] = Rows::fetch<QStringList, QStringList, bool>("entries", "shown", "red");
        EstimateSheet sheet;
        for (const QString &entry : entries)
            enter(sheet, 5, entry.section(u'=', 0, 0).toInt(), entry.section(u'=', 1));
        QCOMPARE(money(sheet.grid(), 5), shown);
        QCOMPARE(sheet.grid().textColour(5, 7), red ? TextColour::Red : TextColour::Default);
    }

    void recalculationWorksOnTheCurrentRow()
    {
        EstimateSheet sheet;
        Grid &grid = sheet.grid();
        // Right after set-up the current cell is on the Total row: recalculating there works
        // on the row's own texts and then overwrites them with the column sums.
        grid.setText(37, 5, "$10.00");
        sheet.RecalculateTotals();
        QCOMPARE(money(grid, 37), QStringList(5, "$0.00"));
        QCOMPARE(grid.textColour(37, 7), TextColour::Red);

        // Other rows keep their texts; the totals add the amounts as shown, in cents, and
        // nothing for a note.
        grid.setText(3, 3, "$500.00");
        grid.setText(3, 7, "$123.00");
        grid.setText(36, 3, "abc12.5xyz");
        for (const int row : {1, 2})
            enter(sheet, row, 3, "0.333");
        QCOMPARE(money(grid, 3), (QStringList{"$500.00", "", "", "", "$123.00"}));
        QCOMPARE(money(grid, 37), (QStringList{"$500.66", "$0.66", "$0.00", "$0.00", "$123.66"}));

        // Recalculating is arithmetic: it never moves the current cell, so no cell is left.
        QSignalSpy leaves(&grid, &Grid::leavingCell);
        sheet.RecalculateTotals();
        enter(sheet, 4, 5, "7");
        QCOMPARE(leaves.count(), 1);
        QCOMPARE(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(4, 5));
        leaves.clear();
        sheet.RecalculateTotals();
        QCOMPARE(leaves.count(), 0);
    }

    // Amounts of trillions, where adding doubles would make the total a cent more than its cells.
    void totalsInWholeCents()
    {
        EstimateSheet sheet;
        enter(sheet, 1, 3, "9470856617031.72");
        enter(sheet, 2, 3, "8265772172763.66");
        enter(sheet, 3, 3, "561816629121.26");
        QCOMPARE(sheet.grid().text(37, 3), "$18,298,445,418,916.64");
    }

    // What a text means as an amount, whichever way it came; NaN stands for a note.
    void reading_data()
    {
        const double note = std::numeric_limits<double>::quiet_NaN();
        Rows::columns<QString, double>("text", "value");
        QTest::newRow("money text") << "$1,234.50" << 1234.5;
        QTest::newRow("parentheses") << "($75.00)" << -75.0;
        QTest::newRow("open parenthesis, as typed") << "(12.5" << -12.5;
        QTest::newRow("minus after blanks") << "  -50" << -50.0;
        QTest::newRow("minus after the currency sign") << "$-5" << -5.0;
        QTest::newRow("accounting credit") << " $(250.00)" << -250.0;
        QTest::newRow("accounting credit, sign apart") << QString::fromUtf16(u" $\u00A0(1,250.00) ") << -1250.0;
        QTest::newRow("accounting debit") << " $ 250.00 " << 250.0;
        QTest::newRow("trailing minus") << "1,500-" << -1500.0;
        QTest::newRow("trailing minus after blanks") << "$1,500.00 -" << -1500.0;
        QTest::newRow("point first") << "$.50" << 0.5;
        QTest::newRow("point last") << "5." << 5.0;
        QTest::newRow("sixteen digits") << "$12,345,678,901,234.56" << 12345678901234.56;
        QTest::newRow("decimal comma after groups") << "1,234,56" << 1234.56;
        QTest::newRow("no-break space groups") << QString::fromUtf16(u"1\u202F234,5") << 1234.5;
        QTest::newRow("groups of points") << "1.234.567" << 1234567.0;
        QTest::newRow("three decimals after groups") << "1,234.567" << 1234.567;
        QTest::newRow("a point alone is decimal") << "1.500" << 1.5;
        QTest::newRow("blanks only") << " \t" << note;
        QTest::newRow("sign and parentheses") << "(-5)" << note;
        QTest::newRow("minus sign on both sides") << "-5-" << note;
        QTest::newRow("trailing minus in parentheses") << "(5-)" << note;
        QTest::newRow("two currency signs") << "$($5)" << note;
        QTest::newRow("a range") << "300-450" << note;
        QTest::newRow("closing parenthesis alone") << "50)" << note;
        QTest::newRow("two points") << "1.2.3" << note;
        QTest::newRow("mixed groups") << "1,234 567.8" << note;
        QTest::newRow("group of two") << "1,23,456" << note;
        QTest::newRow("four digits after a comma") << "1,5000" << note;
        QTest::newRow("comma last") << "5," << note;
        QTest::newRow("group after 0") << "0,500" << note;
        QTest::newRow("two separators together") << "1,,500" << note;
        QTest::newRow("currency sign alone") << "$" << note;
        QTest::newRow("exponent") << "25E-1" << note;
        QTest::newRow("too many digits to hold") << QString(400, u'9') << note;
    }

    void reading()
    {
        auto [text, value] = Rows::fetch<QString, double>("text", "value");
        const std::optional<double> amount = Money::readAmount(text);
        QCOMPARE(amount.value_or(std::numeric_limits<double>::quiet_NaN()), value);
        QCOMPARE(Money::ReadMoneyValue(text), amount.value_or(0.0));
        QCOMPARE(Money::holdsNote(text), !amount && !text.trimmed().isEmpty());
    }

    // M is moneyText, P plainNumberText (the cell editor's number).
    void writing_data()
    {
        Rows::columns<char, double, QString>("writer", "value", "text");
        QTest::newRow("M grouping") << 'M' << 1234.5 << "$1,234.50";
        QTest::newRow("M negative") << 'M' << -75.0 << "($75.00)";
        QTest::newRow("M 1.005 rounds up as typed") << 'M' << 1.005 << "$1.01";
        QTest::newRow("M 2.675 rounds up as typed") << 'M' << 2.675 << "$2.68";
        QTest::newRow("M 0.125 rounds up") << 'M' << 0.125 << "$0.13";
        QTest::newRow("M negative half rounds away from zero") << 'M' << -0.125 << "($0.13)";
        QTest::newRow("M just below half") << 'M' << 0.12499 << "$0.12";
        QTest::newRow("M tiny negative is zero") << 'M' << -0.001 << "$0.00";
        QTest::newRow("M carry into thousands") << 'M' << 999.995 << "$1,000.00";
        QTest::newRow("M large") << 'M' << 1e15 << "$1,000,000,000,000,000.00";
        QTest::newRow("M not a number") << 'M' << std::numeric_limits<double>::quiet_NaN() << "$0.00";
        QTest::newRow("P decimals without trailing zeros") << 'P' << 950.5 << "950.5";
        QTest::newRow("P negative") << 'P' << -250.0 << "-250";
        QTest::newRow("P negative zero") << 'P' << -0.0 << "0";
        QTest::newRow("P no separators") << 'P' << 1234567.25 << "1234567.25";
        QTest::newRow("P fifteen digits") << 'P' << 0.1 + 0.2 << "0.3";
        QTest::newRow("P exponent form") << 'P' << 1e15 << "1E+15";
    }

    void writing()
    {
        auto [writer, value, text] = Rows::fetch<char, double, QString>("writer", "value", "text");
        QCOMPARE(writer == 'M' ? Money::moneyText(value) : Money::plainNumberText(value), text);
    }
};

QTEST_GUILESS_MAIN(TestEstimateSheet)
#include "tst_estimatesheet.moc"
