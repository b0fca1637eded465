#include "estimatesheet.h"

#include "categorytable.h"
#include "money.h"
#include "moneycents.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

namespace {
constexpr int RowLabelColumn = 0;
constexpr int HeaderRow = 0;
constexpr int GridMargin = 300;
constexpr int SpareRowCount = EstimateSheet::ItemRowCount - EstimateSheet::CategoryCount;
constexpr std::array<int, EstimateSheet::DataColumnCount + 1> FixedWidths = {400,  0,    2000, 1400,
                                                                             1400, 1600, 1500, 1500};

QString rowLabel(int row)
{
    return u' ' + QString::number(row);
}
}

EstimateSheet::EstimateSheet(int defaultRowHeight)
    : CategoryNames(CategoryTable::names())
    , CategoryHelpTexts(CategoryTable::helpTexts())
{
    m_grid.setDefaultRowHeight(defaultRowHeight);
    m_grid.setWidth(DesignWidth);
    m_grid.setHeight(DesignHeight);
    setUp();
}

QStringList EstimateSheet::columnHeaders()
{
    return {
        QStringLiteral("Subcontractor, Supplier"),    QStringLiteral("Description"),
        QStringLiteral("Original Cost Estimate"),     QStringLiteral("Adjusted Cost Estimate"),
        QStringLiteral("Total of Previous Payment"),  QStringLiteral("Current Amounts to be Paid"),
        QStringLiteral("Estimated Cost to Complete"),
    };
}

bool EstimateSheet::isMoneyColumn(int column)
{
    return column >= OriginalEstimateColumn && column <= DataColumnCount;
}

QString EstimateSheet::rowName(const Grid &grid, int row)
{
    const QString description = grid.text(row, DescriptionColumn).simplified();
    return description.isEmpty() ? QStringLiteral("Row %1").arg(row)
                                 : QStringLiteral("%1 %2").arg(row).arg(description);
}

const QString &EstimateSheet::scheduledValueText(const Grid &grid, int row)
{
    const QString &adjusted = grid.text(row, AdjustedEstimateColumn);
    return adjusted.isEmpty() ? grid.text(row, OriginalEstimateColumn) : adjusted;
}

std::optional<double> EstimateSheet::scheduledValue(const Grid &grid, int row)
{
    return Money::readAmount(scheduledValueText(grid, row));
}

void EstimateSheet::setUp()
{
    m_grid.setColumnCount(DataColumnCount + 1);
    const QStringList headers = columnHeaders();
    for (int column = 1; column <= DataColumnCount; ++column)
        m_grid.setText(HeaderRow, column, headers.at(column - 1));

    for (int row = 1; row <= CategoryCount; ++row) {
        m_grid.setRowCount(row + 1);
        m_grid.setText(row, RowLabelColumn, rowLabel(row));
        m_grid.setText(row, DescriptionColumn, CategoryNames.at(row - 1));
    }
    for (int spare = 1; spare <= SpareRowCount; ++spare) {
        const int row = CategoryCount + spare;
        m_grid.setRowCount(row + 1);
        m_grid.setText(row, RowLabelColumn, rowLabel(row));
    }
    m_grid.setRowCount(TotalRow + 1);
    m_grid.setText(TotalRow, DescriptionColumn, QStringLiteral("Total"));
    setTotalsToZero();

    SetColumnWidths();
    formatFixedCells();

    m_grid.setRowHeight(HeaderRow, 2 * m_grid.defaultRowHeight());
    for (int column = 1; column <= DataColumnCount; ++column) {
        const Qt::Alignment horizontal = isMoneyColumn(column) ? Qt::AlignRight : Qt::AlignLeft;
        m_grid.setColumnAlignment(column, horizontal | Qt::AlignTop);
    }
    for (int row = 1; row <= ItemRowCount; ++row)
        m_grid.setRowHeight(row, ItemRowHeight);

    m_grid.setFixedColumns(1);
    m_grid.setFixedRows(1);
    // The Total row's last cell starts current, as on the control the sheet was designed for.
    m_grid.setCurrentCell(TotalRow, DataColumnCount);
    m_grid.setSelectionEnd(1, 1);
}

void EstimateSheet::formatFixedCells()
{
    for (int column = 1; column <= DataColumnCount; ++column) {
        m_grid.setCellBold(HeaderRow, column, true);
        m_grid.setCellAlignment(HeaderRow, column, Qt::AlignHCenter | Qt::AlignTop);
        m_grid.setCellBold(TotalRow, column, true);
        m_grid.setCellAlignment(TotalRow, column, Qt::AlignRight | Qt::AlignTop);
    }
}

void EstimateSheet::setTotalsToZero()
{
    for (int column = OriginalEstimateColumn; column <= DataColumnCount; ++column)
        m_grid.setText(TotalRow, column, QStringLiteral("0"));
}

EstimateSheet::ColumnWidths EstimateSheet::columnWidthsFor(int gridWidth)
{
    ColumnWidths widths = FixedWidths;
    qint64 others = 0;
    for (const int width : widths)
        others += width;
    // Wide enough that no window, however wide, overflows; no column is wider than an int.
    const qint64 remaining = qint64(gridWidth) - others - GridMargin;
    widths[SupplierColumn] = int(std::clamp<qint64>(remaining, MinimumSupplierWidth, std::numeric_limits<int>::max()));
    return widths;
}

int EstimateSheet::minimumGridWidth()
{
    const ColumnWidths widths = columnWidthsFor(0);
    return std::accumulate(widths.begin(), widths.end(), GridMargin);
}

void EstimateSheet::SetColumnWidths()
{
    const ColumnWidths widths = columnWidthsFor(m_grid.width());
    for (int column = 0; column <= DataColumnCount; ++column)
        m_grid.setColumnWidth(column, widths[static_cast<size_t>(column)]);
}

void EstimateSheet::FormatMoneyCell(int row, int column)
{
    if (!isMoneyColumn(column))
        return;
    // Whatever way an amount came, typed, pasted or in money text already, it is written
    // as money; a note stays as it was written, and blanks alone hold nothing.
    const QString &text = m_grid.text(row, column);
    if (const std::optional<double> amount = Money::readAmount(text))
        m_grid.setText(row, column, Money::moneyText(*amount));
    else if (!text.isEmpty() && !Money::holdsNote(text))
        m_grid.setText(row, column, QString());
}

void EstimateSheet::RecalculateTotals()
{
    recalculateRow(m_grid.currentRow());
    recalculateColumnTotals();
}

void EstimateSheet::recalculateRow(int row)
{
    const auto cellText = [this, row](int column) -> const QString & { return m_grid.text(row, column); };

    // A note ("TBD") counts as nothing: it is not copied as an estimate, and a row of notes
    // has no cost to complete.
    const std::optional<double> scheduled = scheduledValue(m_grid, row);
    if (scheduled && cellText(AdjustedEstimateColumn).isEmpty())
        m_grid.setText(row, AdjustedEstimateColumn, Money::moneyText(*scheduled));
    double base = scheduled.value_or(0.0);
    for (const int payment : {PreviousPaymentColumn, CurrentPaymentColumn})
        base -= Money::ReadMoneyValue(cellText(payment));

    bool hasAmounts = false;
    for (int column = OriginalEstimateColumn; column <= CurrentPaymentColumn; ++column)
        hasAmounts = hasAmounts || Money::holdsAmount(cellText(column));
    if (hasAmounts) {
        m_grid.setText(row, CostToCompleteColumn, Money::moneyText(base));
        const bool negative = cellText(CostToCompleteColumn).startsWith(u'(');
        m_grid.setCellTextColour(row, CostToCompleteColumn, negative ? TextColour::Red : TextColour::Default);
    } else {
        m_grid.setText(row, CostToCompleteColumn, QString());
    }
}

void EstimateSheet::recalculateColumnTotals()
{
    for (int column = OriginalEstimateColumn; column <= DataColumnCount; ++column)
        m_grid.setText(TotalRow, column, columnTotalText(column));
}

// The amounts as the cells show them, added in whole cents: doubles of trillions of dollars
// add up to a total a cent off its cells. Amounts beyond what the cents hold are added as read.
QString EstimateSheet::columnTotalText(int column) const
{
    Cents cents = 0;
    double beyondCents = 0.0;
    bool withinCents = true;
    for (int item = 1; item <= ItemRowCount; ++item) {
        const double value = Money::ReadMoneyValue(m_grid.text(item, column));
        withinCents = withinCents && std::fabs(value) < double(MoneyCents::Limit / 100);
        cents += MoneyCents::fromValue(value);
        beyondCents += value;
    }
    return withinCents ? MoneyCents::text(cents) : Money::moneyText(beyondCents);
}

void EstimateSheet::ResetDescriptions()
{
    for (int row = 1; row <= ItemRowCount; ++row) {
        const QString name = row <= CategoryCount ? CategoryNames.at(row - 1) : QString();
        m_grid.setText(row, DescriptionColumn, name);
    }
}

void EstimateSheet::clearItems()
{
    for (int column = 1; column <= DataColumnCount; ++column) {
        for (int row = 1; row <= ItemRowCount; ++row)
            m_grid.setText(row, column, QString());
    }
    ResetDescriptions();
    setTotalsToZero();
}
