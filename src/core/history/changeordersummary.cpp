#include "changeordersummary.h"

namespace {
bool inForceOn(const ChangeOrder &order, const QDate &date)
{
    return order.status == ChangeOrder::Status::Approved && order.date <= date
        && (!order.voided || order.voided->date > date);
}
}

ChangeOrderSummary ChangeOrderSummary::of(const QList<ChangeOrder> &orders, const QDate &periodFrom,
                                          const QDate &periodTo)
{
    ChangeOrderSummary summary;
    for (const ChangeOrder &order : orders) {
        if (!inForceOn(order, periodTo))
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
