#include "fullestimate.h"

#include "core/document/document.h"
#include "core/history/drawsnapshot.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/money.h"

#include <array>

namespace {

// Some with the accented letters and dashes that the file's code page holds, so that the
// file's decoder meets them as it does in real estimates.
QStringList suppliers()
{
    return {
        QStringLiteral("Lane County Building Dept."),
        QStringLiteral("Pacific Power & Light"),
        QStringLiteral("Hansen Excavating, Inc."),
        QStringLiteral("Rock Solid Foundations"),
        QStringLiteral("Emerald Valley Lumber"),
        QStringLiteral("Bergström Framing Crew"),
        QStringLiteral("Jones Supply (Milgard)"),
        QStringLiteral("Summit Roofing Co."),
        QStringLiteral("Delgado Concrete"),
        QStringLiteral("Cascade Siding & Trim"),
        QStringLiteral("Núñez Plumbing"),
        QStringLiteral("Comfort Air Heating"),
        QStringLiteral("Bright Spark Electric"),
        QStringLiteral("Northwest Insulation"),
        QStringLiteral("Deep Rock Well Drilling"),
        QStringLiteral("Valley Septic Service"),
        QStringLiteral("Hearth & Home Stoves"),
        QStringLiteral("Smooth Wall Drywall"),
        QStringLiteral("Oak Creek Cabinetry"),
        QStringLiteral("Emerald Valley Lumber"),
        QStringLiteral("J. Whitaker – Finish Carpentry"),
        QStringLiteral("Color Craft Painters"),
        QStringLiteral("Appliance Outlet"),
        QStringLiteral("Lumière Lighting"),
        QStringLiteral("Carpet One Springfield"),
        QStringLiteral("Hansen Excavating, Inc."),
        QStringLiteral("Overhead Door Co."),
        QStringLiteral("Willamette Title & Escrow"),
        QStringLiteral("Home Depot, various"),
        QStringLiteral("Rental equipment"),
        QStringLiteral("Green Thumb Landscaping"),
        QStringLiteral("Deckmasters"),
        QStringLiteral("Blinds To Go"),
        QStringLiteral("Gutter Pros"),
        QStringLiteral("SafeHome Security"),
        QStringLiteral("Owner"),
    };
}

// What the six spare rows below the categories are used for.
QStringList spareDescriptions()
{
    return {
        QStringLiteral("Landscaping"), QStringLiteral("Deck and railings"), QStringLiteral("Window coverings"),
        QStringLiteral("Gutters"),     QStringLiteral("Alarm system"),      QStringLiteral("Contingency, 5%"),
    };
}

// The original estimate of each row in dollars, about a modest house's.
constexpr std::array<int, EstimateSheet::ItemRowCount> EstimateDollars = {
    6500,  4200, 9800, 18500, 32000, 24000, 14500, 9200, 7600, 12800, 14200, 9600, 11500, 4800, 8900, 7800, 4200, 9800,
    13500, 5400, 6200, 7100,  6800,  2900,  9400,  5600, 1850, 65000, 3500,  2500, 6000,  4500, 1800, 1600, 2200, 12000,
};

// The land was paid at closing, with the title fees on top: a row paid beyond its estimate.
constexpr int OverpaidRow = 28;
constexpr qint64 OverpaidCents = 125000;

QString money(qint64 cents)
{
    return Money::moneyText(double(cents) / 100.0);
}

// What the lender did with draw's request, by turns, for a request of about requested.
DrawFunding fundingOf(const Draw &draw, Cents requested)
{
    DrawFunding funding;
    funding.submitted = draw.date.addDays(1);
    switch (draw.number % 5) {
    case 0:
        funding.state = DrawFunding::State::Funded;
        funding.fundedAmount = requested;
        funding.feesWithheld = 2500;
        break;
    case 1:
    case 2:
        funding.state = DrawFunding::State::Funded;
        funding.fundedAmount = requested - requested / 10;
        funding.shortfall =
            draw.number % 5 == 1 ? DrawFunding::Shortfall::Carried : DrawFunding::Shortfall::PaidByOwner;
        break;
    case 3:
        funding.state = DrawFunding::State::Submitted;
        break;
    default:
        funding.state = DrawFunding::State::Returned;
        funding.returned = draw.date.addDays(9);
        funding.returnReason = QStringLiteral("no lien waiver from the framing crew");
        break;
    }
    if (funding.state == DrawFunding::State::Funded)
        funding.funded = draw.date.addDays(7);
    return funding;
}

// The loan the draws are paid from; the last draw is still only requested.
void addLoan(EstimateHistory &history)
{
    Loan loan;
    loan.amount = 30000000;
    loan.lender = QStringLiteral("Willamette Valley Bank");
    loan.loanNumber = QStringLiteral("CL-2026-0417");
    loan.closing = QDate(2025, 12, 15);
    loan.maturity = loan.closing.addYears(1);
    loan.interestRateThousandths = 7125;
    loan.interestReserve = 1200000;
    loan.ownerFunds = 2500000;
    history.loan = loan;
    for (qsizetype index = 0; index + 1 < history.draws.size(); ++index) {
        Draw &draw = history.draws[index];
        draw.funding = fundingOf(draw, DrawSnapshot::paidIn(draw.lines) * 9 / 10);
    }
}

} // namespace

EstimateContent fullEstimate(int month)
{
    EstimateSheet sheet;
    HeaderFields header;
    header.setText(HeaderFields::Name, QStringLiteral("Daniel & Maria Lindqvist"));
    header.setText(HeaderFields::Address, QStringLiteral("4821 Cedar Ridge Road\nSpringfield, OR 97477"));
    header.setText(HeaderFields::Builder, QStringLiteral("Lindqvist Homes – owner-builder"));

    Grid &grid = sheet.grid();
    const QStringList supplierNames = suppliers();
    const QStringList spares = spareDescriptions();
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        const qint64 estimate = qint64(EstimateDollars[row - 1]) * 100 + (row * 37) % 100;
        const qint64 adjusted = row % 3 == 0 ? estimate * 108 / 100 : row % 4 == 0 ? estimate * 97 / 100 : estimate;
        // The work goes down the sheet six rows a month: the rows behind it are paid in
        // full, the six at it partly and get a quarter more now, the rows ahead nothing.
        const int front = 6 * month;
        const bool atWork = row > front && row <= front + 6;
        qint64 previous = row <= front ? adjusted : atWork ? adjusted * (front + 7 - row) / 10 : 0;
        const qint64 current = atWork ? adjusted / 4 : 0;
        if (row == OverpaidRow)
            previous = adjusted + OverpaidCents;

        grid.setText(row, EstimateSheet::SupplierColumn, supplierNames.at(row - 1));
        if (row > EstimateSheet::CategoryCount)
            grid.setText(row, EstimateSheet::DescriptionColumn, spares.at(row - EstimateSheet::CategoryCount - 1));
        grid.setText(row, EstimateSheet::OriginalEstimateColumn, money(estimate));
        grid.setText(row, EstimateSheet::AdjustedEstimateColumn, money(adjusted));
        grid.setText(row, EstimateSheet::PreviousPaymentColumn, money(previous));
        grid.setText(row, EstimateSheet::CurrentPaymentColumn, money(current));
        grid.setCurrentRow(row);
        sheet.RecalculateTotals();
    }
    return Document::contentOf(sheet, header);
}

EstimateContent fullEstimateWithDraws(int draws)
{
    EstimateContent content = fullEstimate();
    content.history.retainageBasisPoints = 1000;
    QList<Cents> paid(EstimateSheet::ItemRowCount);
    for (int number = 1; number <= draws; ++number) {
        Draw draw{number,
                  QDate(2026, 1, 1).addMonths(number - 1),
                  QStringLiteral("Draw %1: inspection passed").arg(number),
                  1000,
                  {},
                  DrawParties{content.name, content.address, content.builder},
                  {},
                  std::nullopt};
        for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
            const Cents estimate = Cents(EstimateDollars[row - 1]) * 100;
            const Cents payment = estimate / (draws + 1);
            const RowTexts texts{content.cells[row - 1][EstimateSheet::DescriptionColumn - 1],
                                 content.cells[row - 1][EstimateSheet::SupplierColumn - 1]};
            draw.lines.append({row, estimate, estimate, paid[row - 1], payment, texts, {}, {}});
            paid[row - 1] += payment;
        }
        content.history.draws.append(draw);
    }
    addLoan(content.history);
    return content;
}
