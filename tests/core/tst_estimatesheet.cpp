#include "core/sheet/estimatesheet.h"
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
};

QTEST_GUILESS_MAIN(TestEstimateSheet)
#include "tst_estimatesheet.moc"
