#pragma once

#include "estimatehistory.h"

#include <QDate>
#include <QList>

// The change orders a request accounts for, as the standard form sums them up: additions and
// deductions to the sum, approved in the periods before and in this one. An order counts from
// its date until it is voided; one funded from the contingency moves money between rows and
// leaves the sum as it is, so it is counted apart.
struct ChangeOrderSummary
{
    Cents previousAdditions = 0;
    Cents previousDeductions = 0;
    Cents additionsThisPeriod = 0;
    Cents deductionsThisPeriod = 0;
    // Moved from the contingency row into the rows that used it, in this period.
    Cents fromContingencyThisPeriod = 0;

    friend bool operator==(const ChangeOrderSummary &, const ChangeOrderSummary &) = default;

    // The orders in force on periodTo for the request of draw number drawNumber; those dated
    // before periodFrom (invalid for the first request) were approved in previous periods. An
    // order approved, or voided, once that draw was recorded is not yet, or still, in force
    // for it, whatever its date says.
    static ChangeOrderSummary of(const QList<ChangeOrder> &orders, int drawNumber, const QDate &periodFrom,
                                 const QDate &periodTo);

    Cents additions() const { return previousAdditions + additionsThisPeriod; }
    Cents deductions() const { return previousDeductions + deductionsThisPeriod; }
    // Line 2 of the request: what the change orders changed the sum by.
    Cents netChange() const { return additions() - deductions(); }
};
