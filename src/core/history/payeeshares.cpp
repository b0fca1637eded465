#include "payeeshares.h"

#include "core/reasons.h"
#include "core/sheet/moneycents.h"

#include <algorithm>
#include <numeric>

namespace PayeeShares {

QList<int> payeesOf(const QList<Payee> &payees, int row)
{
    QList<int> numbers;
    for (const Payee &payee : payees) {
        if (payee.worksOn(row))
            numbers << payee.number;
    }
    return numbers;
}

QList<PayeeShare> of(const DrawLine &line, const QList<Payee> &payees)
{
    if (!line.shares.isEmpty())
        return line.shares;
    const QList<int> numbers = payeesOf(payees, line.row);
    if (numbers.isEmpty() || line.paid == 0)
        return {};
    return {{numbers.first(), line.paid, {}}};
}

bool check(const DrawLine &line, const QList<PayeeShare> &shares, const QList<Payee> &payees, QString *errorString)
{
    const QList<int> ofRow = payeesOf(payees, line.row);
    for (qsizetype index = 0; index < shares.size(); ++index) {
        const PayeeShare &share = shares.at(index);
        const auto payee = std::find_if(payees.begin(), payees.end(),
                                        [&share](const Payee &payee) { return payee.number == share.payee; });
        if (payee == payees.end())
            return Reasons::fail(errorString,
                                 QStringLiteral("Payee %1 is not among the estimate's payees").arg(share.payee));
        if (!ofRow.contains(share.payee))
            return Reasons::fail(errorString,
                                 QStringLiteral("%1 does not work on row %2").arg(payee->name).arg(line.row));
        const auto named = [&share](const PayeeShare &other) { return other.payee == share.payee; };
        if (std::any_of(shares.begin(), shares.begin() + index, named))
            return Reasons::fail(errorString,
                                 QStringLiteral("%1 has two shares of row %2").arg(payee->name).arg(line.row));
        if (share.amount < 0)
            return Reasons::fail(errorString, QStringLiteral("%1's share is less than nothing").arg(payee->name));
    }
    const Cents sum = std::accumulate(shares.begin(), shares.end(), Cents(0),
                                      [](Cents total, const PayeeShare &share) { return total + share.amount; });
    if (!shares.isEmpty() && sum != line.paid)
        return Reasons::fail(errorString,
                             QStringLiteral("The shares add up to %1, not to the %2 the line pays")
                                 .arg(MoneyCents::text(sum), MoneyCents::text(line.paid)));
    return true;
}
}
