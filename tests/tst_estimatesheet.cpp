#include "sheet/estimatesheet.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

using Sheet = EstimateSheet;

class TestEstimateSheet : public QObject
{
    Q_OBJECT

private slots:
    void setUpShape();
    void setUpTexts();
    void setUpFormatting();
    void columnWidths_data();
    void columnWidths();
    void formatMoneyCell_data();
    void formatMoneyCell();
    void originalCopiedIntoAdjusted();
    void paymentsOnlyGiveRedRemainder();
    void emptiedRowKeepsColour();
    void onlyCurrentRowRecomputed();
    void totalsAddShownAmounts();
    void totalRowAsCurrentRow();
    void recalculationMovesAndReturns();
    void clearItems();
};

namespace {
void enter(Sheet &sheet, int row, int column, const QString &text)
{
    Grid &grid = sheet.grid();
    grid.setCurrentCell(row, column);
    grid.setText(row, column, text);
    sheet.FormatMoneyCell(row, column);
    sheet.RecalculateTotals();
}
}

void TestEstimateSheet::setUpShape()
{
    const Sheet sheet;
    const Grid &grid = sheet.grid();
    QCOMPARE(grid.rowCount(), 38);
    QCOMPARE(grid.columnCount(), 8);
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.fixedColumns(), 1);
    QCOMPARE(Sheet::TotalRow, 37);
    // The set-up leaves the current cell on the last total and selects up to the first item.
    QCOMPARE(grid.currentRow(), 37);
    QCOMPARE(grid.currentColumn(), 7);
    QCOMPARE(grid.selectionRow(), 1);
    QCOMPARE(grid.selectionColumn(), 1);
}

void TestEstimateSheet::setUpTexts()
{
    const Sheet sheet;
    const Grid &grid = sheet.grid();
    QCOMPARE(grid.text(0, 1), QStringLiteral("Subcontractor, Supplier"));
    QCOMPARE(grid.text(0, 7), QStringLiteral("Estimated Cost to Complete"));
    QCOMPARE(grid.text(0, 0), QString());
    QCOMPARE(grid.text(7, 0), QStringLiteral(" 7"));
    QCOMPARE(grid.text(36, 0), QStringLiteral(" 36"));
    QCOMPARE(grid.text(37, 0), QString());
    QCOMPARE(grid.text(1, 2), QStringLiteral("Permits, Fees, Surveys"));
    QCOMPARE(grid.text(30, 2), QStringLiteral("Other"));
    QCOMPARE(grid.text(31, 2), QString());
    QCOMPARE(grid.text(37, 2), QStringLiteral("Total"));
    for (int column = 3; column <= 7; ++column)
        QCOMPARE(grid.text(37, column), QStringLiteral("0"));
    QCOMPARE(sheet.CategoryNames.size(), 30);
    QCOMPARE(sheet.CategoryHelpTexts.size(), 30);
    QVERIFY(sheet.CategoryHelpTexts.at(26).endsWith(QString::fromUtf16(u"company  \u2014installed.")));
}

void TestEstimateSheet::setUpFormatting()
{
    const Sheet sheet(250);
    const Grid &grid = sheet.grid();
    for (int column = 1; column <= 7; ++column) {
        QVERIFY(grid.isBold(0, column));
        QCOMPARE(grid.alignment(0, column), Qt::AlignHCenter | Qt::AlignTop);
        QVERIFY(grid.isBold(37, column));
        QCOMPARE(grid.alignment(37, column), Qt::AlignRight | Qt::AlignTop);
    }
    QVERIFY(!grid.isBold(5, 3));
    QCOMPARE(grid.alignment(5, 2), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(grid.alignment(5, 3), Qt::AlignRight | Qt::AlignTop);
    QCOMPARE(grid.rowHeight(0), 500);
    QCOMPARE(grid.rowHeight(1), 280);
    QCOMPARE(grid.rowHeight(36), 280);
    QCOMPARE(grid.rowHeight(37), 250);
}

void TestEstimateSheet::columnWidths_data()
{
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<int>("supplierWidth");
    QTest::newRow("design width") << Sheet::DesignWidth << 1500;
    QTest::newRow("print width") << 14000 << 3900;
    QTest::newRow("just at the minimum") << 11600 << 1500;
    QTest::newRow("one twip wider") << 11601 << 1501;
    QTest::newRow("zero") << 0 << 1500;
    QTest::newRow("widest possible") << std::numeric_limits<int>::max() << std::numeric_limits<int>::max() - 10100;
}

void TestEstimateSheet::columnWidths()
{
    QFETCH(int, gridWidth);
    QFETCH(int, supplierWidth);
    Sheet sheet;
    sheet.grid().setWidth(gridWidth);
    sheet.SetColumnWidths();
    const Grid &grid = sheet.grid();
    QCOMPARE(grid.columnWidth(1), supplierWidth);
    const QList<int> fixed = {400, -1, 2000, 1400, 1400, 1600, 1500, 1500};
    for (int column = 0; column < 8; ++column) {
        if (column != 1)
            QCOMPARE(grid.columnWidth(column), fixed.at(column));
    }
}

void TestEstimateSheet::formatMoneyCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain number") << 3 << "1500" << "$1,500.00";
    QTest::newRow("minus") << 4 << "-50" << "($50.00)";
    QTest::newRow("thousands separator") << 5 << "1,500" << "$1,500.00";
    QTest::newRow("parentheses") << 6 << "(50)" << "($50.00)";
    QTest::newRow("letters") << 3 << "abc" << "$0.00";
    QTest::newRow("dollar text left as typed") << 3 << "$1500" << "$1500";
    QTest::newRow("empty stays empty") << 3 << "" << "";
    QTest::newRow("text column untouched") << 2 << "1500" << "1500";
    QTest::newRow("half cent") << 7 << "1.005" << "$1.01";
}

void TestEstimateSheet::formatMoneyCell()
{
    QFETCH(int, column);
    QFETCH(QString, entry);
    QFETCH(QString, shown);
    Sheet sheet;
    sheet.grid().setText(5, column, entry);
    sheet.FormatMoneyCell(5, column);
    QCOMPARE(sheet.grid().text(5, column), shown);
}

void TestEstimateSheet::originalCopiedIntoAdjusted()
{
    Sheet sheet;
    const Grid &grid = sheet.grid();
    enter(sheet, 5, 3, "1000");
    QCOMPARE(grid.text(5, 4), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.text(5, 7), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.textColour(5, 7), TextColour::Default);
    QCOMPARE(grid.text(37, 3), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.text(37, 7), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.text(37, 5), QStringLiteral("$0.00"));

    // Once the adjusted estimate holds text, a new original estimate no longer reaches it.
    enter(sheet, 5, 3, "2000");
    QCOMPARE(grid.text(5, 4), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.text(5, 7), QStringLiteral("$1,000.00"));
    QCOMPARE(grid.text(37, 3), QStringLiteral("$2,000.00"));

    enter(sheet, 5, 5, "250.5");
    enter(sheet, 5, 6, "100");
    QCOMPARE(grid.text(5, 7), QStringLiteral("$649.50"));
}

void TestEstimateSheet::paymentsOnlyGiveRedRemainder()
{
    Sheet sheet;
    enter(sheet, 8, 5, "250");
    const Grid &grid = sheet.grid();
    QCOMPARE(grid.text(8, 4), QString());
    QCOMPARE(grid.text(8, 7), QStringLiteral("($250.00)"));
    QCOMPARE(grid.textColour(8, 7), TextColour::Red);
    QCOMPARE(grid.text(37, 7), QStringLiteral("($250.00)"));

    enter(sheet, 8, 3, "300");
    QCOMPARE(grid.text(8, 7), QStringLiteral("$50.00"));
    QCOMPARE(grid.textColour(8, 7), TextColour::Default);
}

void TestEstimateSheet::emptiedRowKeepsColour()
{
    Sheet sheet;
    enter(sheet, 9, 6, "10");
    QCOMPARE(sheet.grid().textColour(9, 7), TextColour::Red);
    enter(sheet, 9, 6, "");
    QCOMPARE(sheet.grid().text(9, 7), QString());
    QCOMPARE(sheet.grid().textColour(9, 7), TextColour::Red);
    QCOMPARE(sheet.grid().text(37, 7), QStringLiteral("$0.00"));
}

void TestEstimateSheet::onlyCurrentRowRecomputed()
{
    Sheet sheet;
    Grid &grid = sheet.grid();
    grid.setText(3, 3, "$500.00");
    grid.setText(3, 7, "$123.00");
    enter(sheet, 4, 3, "100");
    QCOMPARE(grid.text(3, 7), QStringLiteral("$123.00"));
    QCOMPARE(grid.text(3, 4), QString());
    QCOMPARE(grid.text(37, 3), QStringLiteral("$600.00"));
    QCOMPARE(grid.text(37, 7), QStringLiteral("$223.00"));
}

void TestEstimateSheet::totalsAddShownAmounts()
{
    Sheet sheet;
    for (const int row : {1, 2, 3})
        enter(sheet, row, 3, "0.333");
    QCOMPARE(sheet.grid().text(1, 3), QStringLiteral("$0.33"));
    QCOMPARE(sheet.grid().text(37, 3), QStringLiteral("$0.99"));
    // Pasted text is counted by its digits and points.
    sheet.grid().setText(4, 3, "abc12.5xyz");
    sheet.grid().setCurrentCell(4, 3);
    sheet.RecalculateTotals();
    QCOMPARE(sheet.grid().text(37, 3), QStringLiteral("$13.49"));
}

void TestEstimateSheet::totalRowAsCurrentRow()
{
    Sheet sheet;
    // Right after set-up the current cell is on the Total row: recalculating there works
    // on the row's own texts and then overwrites them with the column sums.
    sheet.grid().setText(37, 5, "$10.00");
    sheet.RecalculateTotals();
    const Grid &grid = sheet.grid();
    for (int column = 3; column <= 7; ++column)
        QCOMPARE(grid.text(37, column), QStringLiteral("$0.00"));
    QCOMPARE(grid.textColour(37, 7), TextColour::Red);
}

void TestEstimateSheet::recalculationMovesAndReturns()
{
    Sheet sheet;
    Grid &grid = sheet.grid();
    grid.setCurrentCell(6, 3);
    QSignalSpy leaves(&grid, &Grid::leavingCell);
    sheet.RecalculateTotals();
    QCOMPARE(leaves.count(), 2);
    QCOMPARE(grid.currentRow(), 6);
    QCOMPARE(grid.currentColumn(), 3);

    // On the computed column itself there is nowhere to move.
    grid.setCurrentCell(6, 7);
    leaves.clear();
    sheet.RecalculateTotals();
    QCOMPARE(leaves.count(), 0);
}

void TestEstimateSheet::clearItems()
{
    Sheet sheet;
    Grid &grid = sheet.grid();
    enter(sheet, 2, 3, "75");
    grid.setText(2, 2, "Changed");
    grid.setText(33, 2, "Shed");
    grid.setText(33, 1, "Bob");
    sheet.clearItems();
    QCOMPARE(grid.text(2, 2), QStringLiteral("Utilities"));
    QCOMPARE(grid.text(33, 2), QString());
    QCOMPARE(grid.text(33, 1), QString());
    QCOMPARE(grid.text(2, 3), QString());
    QCOMPARE(grid.text(2, 7), QString());
    QCOMPARE(grid.text(37, 3), QStringLiteral("0"));
    QCOMPARE(grid.text(37, 2), QStringLiteral("Total"));
}

QTEST_GUILESS_MAIN(TestEstimateSheet)
#include "tst_estimatesheet.moc"
