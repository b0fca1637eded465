#include "cents.h"

#include "core/sheet/money.h"

#include <cmath>

namespace CentsText {

std::optional<Cents> read(const QString &text)
{
    if (text.isEmpty())
        return 0;
    if (!Money::holdsAmount(text))
        return std::nullopt;
    return Cents(std::llround(Money::ReadMoneyValue(text) * 100));
}

QString moneyText(Cents cents)
{
    return Money::moneyText(double(cents) / 100);
}

}
