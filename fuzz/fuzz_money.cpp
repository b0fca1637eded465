// Any text read as money, and any double written as money: no fault, and the texts the
// program writes read back as the amounts they show.

#include "core/sheet/money.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkMoneyText(double value)
{
    const QString text = Money::moneyText(value);
    check(text.startsWith(u'$') || text.startsWith(QStringLiteral("($")));
    if (std::isfinite(value) && std::fabs(value) < 1e12) {
        // Within a cent: the text shows the amount rounded to cents.
        check(std::fabs(Money::ReadMoneyValue(text) - value) <= 0.005 + 1e-9 * std::fabs(value));
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = Money::ReadMoneyValue(text);
    check(std::isfinite(value));
    check(Money::holdsAmount(text) != Money::holdsNote(text) || text.trimmed().isEmpty());
    checkMoneyText(value);
    Money::plainNumberText(value);
    if (size >= sizeof(double)) {
        double bits;
        std::memcpy(&bits, data, sizeof bits);
        checkMoneyText(bits);
        Money::plainNumberText(bits);
    }
    return 0;
}
