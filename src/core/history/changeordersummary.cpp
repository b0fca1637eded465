#include "changeordersummary.h"

namespace {
// Recorded after drawNumber was: a stamp of that draw or a later one.
bool cameAfter(const std::optional<int> &afterDraw, int drawNumber)
{
    return afterDraw && *afterDraw >= drawNumber;
}

bool inForceFor(const ChangeOrder &order, int drawNumber, const QDate &date)
{
    if (order.status != ChangeOrder::Status::Approved || order.date > date
        || cameAfter(order.approvedAfterDraw, drawNumber))
        return false;
    return !order.voided || order.voided->date > date || cameAfter(order.voided->afterDraw, drawNumber);
}
}

ChangeOrderSummary ChangeOrderSummary::of(const QList<ChangeOrder> &orders, int drawNumber, const QDate &periodFrom,
                                          const QDate &periodTo)
{
    ChangeOrderSummary summary;
    for (const ChangeOrder &order : orders) {
        if (!inForceFor(order, drawNumber, periodTo))
            continue;
        const bool thisPeriod = !periodFrom.isValid() || order.date >= periodFrom;
        if (order.source == ChangeOrder::Source::Contingency) {
            if (thisPeriod)
                summary.fromContingencyThisPeriod += order.amount;
            continue;
        }
        Cents &additions = thisPeriod ? summary.additionsThisPeriod : summary.previousAdditions;
        Cents &deductions = thisPeriod ? summary.deductionsThisPeriod : summary.previousDeductions;
        if (order.amount >= 0)
            additions += order.amount;
        else
            deductions -= order.amount;
    }
    return summary;
}
