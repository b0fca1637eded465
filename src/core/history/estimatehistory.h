#pragma once

#include "core/sheet/moneycents.h"

#include <QDate>
#include <QList>
#include <QString>

// What an estimate keeps of its past beside the sheet, which shows only where the money
// stands today: the construction loan's draws, each with what every row stood at when it
// was paid, and the change orders that moved the adjusted estimates. It is stored after the
// 38 records of the estimate file, where older readers do not look.

// One item row as a draw found it.
struct DrawLine
{
    int row = 0;
    // The row's "Original Cost Estimate", for the request's original sum and net change.
    Cents originalValue = 0;
    // The adjusted estimate, or the original one where the adjusted one was empty.
    Cents scheduledValue = 0;
    // The row's "Total of Previous Payment" before the draw.
    Cents previousPayments = 0;
    // The row's "Current Amounts to be Paid", paid in this draw.
    Cents paid = 0;

    friend bool operator==(const DrawLine &, const DrawLine &) = default;
};

// One payment of the construction loan: Edit > Record Current Payments.
struct Draw
{
    int number = 0;
    QDate date;
    QString note;
    // The retainage rate when the draw was recorded, in hundredths of a percent.
    int retainageBasisPoints = 0;
    QList<DrawLine> lines;

    friend bool operator==(const Draw &, const Draw &) = default;
};

struct ChangeOrder
{
    enum class Status { Pending, Approved, Rejected };
    // Where the money comes from.
    enum class Source { Loan, Contingency, OwnerCash };

    int number = 0;
    QDate date;
    int row = 0;
    QString description;
    Cents amount = 0;
    Status status = Status::Pending;
    Source source = Source::Loan;

    friend bool operator==(const ChangeOrder &, const ChangeOrder &) = default;
};

struct EstimateHistory
{
    // "Misc.", whose advice is to allow 5 % of the total.
    static constexpr int DefaultContingencyRow = 29;

    int retainageBasisPoints = 0;
    int contingencyRow = DefaultContingencyRow;
    QList<Draw> draws;
    QList<ChangeOrder> changeOrders;

    // Nothing to keep: the file is the 38 records alone, as it was before there was a history.
    bool isEmpty() const
    {
        return retainageBasisPoints == 0 && contingencyRow == DefaultContingencyRow && draws.isEmpty()
            && changeOrders.isEmpty();
    }

    friend bool operator==(const EstimateHistory &, const EstimateHistory &) = default;
};
