// Writes the example estimate that Help > Open Example Estimate shows: a house three draws
// into its construction loan, with the owner's payments before the loan, change orders and
// the lender's retainage. It is made as the program makes an estimate, through the sheet's
// own arithmetic and the commands' core, so that the file is one the program itself wrote.
// Usage: exampleestimate OUT.vrn
#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/history/changeorders.h"
#include "core/history/drawrecording.h"
#include "core/history/drawrequest.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"

#include <cstdio>

namespace {

struct Item
{
    int row;
    const char *supplier;
    const char *description;
    const char *estimate;
};

// The house's items as its owners priced them before the loan closed; the categories keep
// their names where no description is given.
constexpr Item Items[] = {
    {1, "Lane County Building Dept.", nullptr, "6,450"},
    {2, "Pacific Power & Light", nullptr, "4,200"},
    {3, "Hansen Excavating, Inc.", nullptr, "9,800"},
    {4, "Rock Solid Foundations", nullptr, "18,500"},
    {5, "Emerald Valley Lumber", nullptr, "32,000"},
    {6, "Bergstrom Framing Crew", nullptr, "24,000"},
    {7, "Jones Supply (Milgard)", nullptr, "14,500"},
    {8, "Summit Roofing Co.", nullptr, "9,200"},
    {9, "Delgado Concrete", nullptr, "7,600"},
    {10, "Cascade Siding & Trim", nullptr, "12,800"},
    {11, "Nunez Plumbing", nullptr, "14,200"},
    {12, "Comfort Air Heating", nullptr, "9,600"},
    {13, "Bright Spark Electric", nullptr, "11,500"},
    {14, "Northwest Insulation", nullptr, "4,800"},
    {15, "Deep Rock Well Drilling", nullptr, "8,900"},
    {16, "Valley Septic Service", nullptr, "7,800"},
    {18, "Smooth Wall Drywall", nullptr, "9,800"},
    {19, "Oak Creek Cabinetry", nullptr, "13,500"},
    {20, "Emerald Valley Lumber", nullptr, "5,400"},
    {21, "J. Whitaker, finish carpentry", nullptr, "6,200"},
    {22, "Owner", nullptr, "2,100"},
    {23, "Appliance Outlet", nullptr, "6,800"},
    {24, "Lighting allowance", nullptr, "2,900"},
    {25, "Carpet One Springfield", nullptr, "9,400"},
    {26, "Hansen Excavating, Inc.", nullptr, "5,600"},
    {27, "Overhead Door Co.", nullptr, "1,850"},
    {28, "Willamette Title & Escrow", nullptr, "65,000"},
    {29, "Contingency", nullptr, "12,000"},
    {31, "Green Thumb Landscaping", "Landscaping", "6,000"},
    {32, "Deckmasters", "Deck and railings", "4,500"},
};

struct Payment
{
    int row;
    const char *amount;
};

// What the owners paid themselves before the loan's first draw: the land at closing, the
// permits and the survey. The lender holds no retainage on them.
constexpr Payment OpeningBalance[] = {{28, "65,000"}, {1, "4,980"}};

struct DrawPlan
{
    int year, month, day;
    const char *note;
    QList<Payment> payments;
};

void enter(EstimateSheet &sheet, int row, int column, const QString &text)
{
    Grid &grid = sheet.grid();
    grid.setText(row, column, text);
    sheet.FormatMoneyCell(row, column);
    grid.setCurrentRow(row);
    sheet.RecalculateTotals();
}

void enterItems(EstimateSheet &sheet)
{
    for (const Item &item : Items) {
        enter(sheet, item.row, EstimateSheet::SupplierColumn, QString::fromUtf8(item.supplier));
        if (item.description)
            enter(sheet, item.row, EstimateSheet::DescriptionColumn, QString::fromUtf8(item.description));
        enter(sheet, item.row, EstimateSheet::OriginalEstimateColumn, QString::fromUtf8(item.estimate));
    }
    for (const Payment &payment : OpeningBalance)
        enter(sheet, payment.row, EstimateSheet::PreviousPaymentColumn, QString::fromUtf8(payment.amount));
}

void recordDraw(EstimateSheet &sheet, const HeaderFields &header, EstimateHistory &history, const DrawPlan &plan)
{
    for (const Payment &payment : plan.payments)
        enter(sheet, payment.row, EstimateSheet::CurrentPaymentColumn, QString::fromUtf8(payment.amount));
    CurrentPayments::recordDraw(sheet, history, CurrentPayments::recordableRows(sheet.grid()),
                                QDate(plan.year, plan.month, plan.day), QString::fromUtf8(plan.note),
                                DrawRequest::partiesOf(header));
}

bool addChangeOrder(EstimateSheet &sheet, EstimateHistory &history, ChangeOrder order, bool approved,
                    QString *errorString)
{
    order.number = ChangeOrders::nextNumber(history);
    if (!ChangeOrders::put(sheet, history, order, errorString))
        return false;
    return !approved
        || ChangeOrders::setStatus(sheet, history, order.number, ChangeOrder::Status::Approved, errorString);
}

ChangeOrder changeOrder(const QDate &date, int row, const char *description, Cents amount, ChangeOrder::Source source)
{
    ChangeOrder order;
    order.date = date;
    order.row = row;
    order.description = QString::fromUtf8(description);
    order.amount = amount;
    order.source = source;
    return order;
}

bool buildExample(EstimateSheet &sheet, HeaderFields &header, EstimateHistory &history, QString *errorString)
{
    header.setText(HeaderFields::Name, QStringLiteral("Daniel & Maria Lindqvist"));
    header.setText(HeaderFields::Address, QStringLiteral("4821 Cedar Ridge Road\nSpringfield, OR 97477"));
    header.setText(HeaderFields::Builder, QStringLiteral("Daniel Lindqvist (owner)"));
    enterItems(sheet);
    // The lender holds back a tenth of what each draw pays for the work.
    history.retainageBasisPoints = 1000;
    using Source = ChangeOrder::Source;
    recordDraw(
        sheet, header, history,
        {2026, 3, 2, "Footings and foundation inspected", {{1, "1,470"}, {2, "1,800"}, {3, "8,250"}, {4, "17,900"}}});
    if (!addChangeOrder(sheet, history,
                        changeOrder({2026, 3, 18}, 7, "Larger window over the stairs", 185000, Source::Loan), true,
                        errorString))
        return false;
    recordDraw(sheet, header, history,
               {2026, 4, 1, "Framing inspection passed", {{5, "26,400"}, {6, "14,400"}, {7, "8,200"}, {3, "1,550"}}});
    if (!addChangeOrder(sheet, history,
                        changeOrder({2026, 4, 12}, 8, "Metal roof in place of shingles", 240000, Source::Contingency),
                        true, errorString))
        return false;
    recordDraw(sheet, header, history,
               {2026, 5, 4, "Dry-in: roof on, windows in", {{5, "5,600"}, {6, "7,200"}, {7, "6,300"}, {8, "9,800"}}});
    // Still to be decided: the owners would pay for it themselves.
    if (!addChangeOrder(sheet, history,
                        changeOrder({2026, 5, 20}, 19, "Quartz counters in the kitchen", 320000, Source::OwnerCash),
                        false, errorString))
        return false;
    // This month's draw, entered and not yet paid.
    for (const Payment &payment : {Payment{11, "5,700"}, Payment{13, "4,600"}, Payment{12, "3,850"}})
        enter(sheet, payment.row, EstimateSheet::CurrentPaymentColumn, QString::fromUtf8(payment.amount));
    return true;
}

}

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: exampleestimate OUT.vrn\n");
        return 2;
    }
    EstimateSheet sheet;
    HeaderFields header;
    EstimateHistory history;
    QString errorString;
    if (!buildExample(sheet, header, history, &errorString)) {
        std::fprintf(stderr, "exampleestimate: %s\n", qPrintable(errorString));
        return 1;
    }
    EstimateContent content = Document::contentOf(sheet, header);
    content.history = history;
    if (!EstimateFile::save(QString::fromLocal8Bit(argv[1]), content, &errorString)) {
        std::fprintf(stderr, "exampleestimate: %s\n", qPrintable(errorString));
        return 1;
    }
    return 0;
}
