#include "budgetscale.h"

#include "core/sheet/moneycents.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int FirstTicks = 5;

// The number of the form 1, 2 or 5 times a power of ten nearest x: the next above it when
// rounding up, otherwise the closest.
double niceNumber(double x, bool roundUp)
{
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double mantissa = x / power;
    if (roundUp)
        return power * (mantissa <= 1 ? 1 : mantissa <= 2 ? 2 : mantissa <= 5 ? 5 : 10);
    return power * (mantissa < 1.5 ? 1 : mantissa < 3 ? 2 : mantissa < 7 ? 5 : 10);
}
}

BudgetScale::BudgetScale(const QList<BudgetLine> &lines)
{
    Cents longest = 0;
    for (const BudgetLine &line : lines)
        longest = std::max(longest, line.barParts().length());
    reach(longest);
    // The axis may then have to reach a little further for the overruns as drawn; their
    // width stays what the first scale gave them.
    m_minimumOverrun = Cents(std::llround(m_end * 100 * MinimumOverrunShare));
    Cents longestDrawn = 0;
    for (const BudgetLine &line : lines)
        longestDrawn = std::max(longestDrawn, drawnParts(line).length());
    reach(longestDrawn);
}

void BudgetScale::reach(Cents longest)
{
    const double widest = std::max(double(longest) / 100, 1.0);
    m_step = niceNumber(niceNumber(widest, true) / (FirstTicks - 1), false);
    const double steps = std::ceil(widest / m_step);
    m_end = steps * m_step;
    m_tickCount = int(steps) + 1;
}

QString BudgetScale::tickText(double dollars) const
{
    QString text = MoneyCents::text(Cents(std::llround(dollars * 100)));
    if (decimals() == 0)
        text.chop(3);
    return text;
}

int BudgetScale::tickCountFor(double length, double labelWidth, double gap) const
{
    const int steps = m_tickCount - 1;
    for (int stepsPerLabel = 1; stepsPerLabel < steps; ++stepsPerLabel) {
        const int labelled = steps / stepsPerLabel;
        if (steps % stepsPerLabel == 0 && length / labelled >= labelWidth + gap)
            return labelled + 1;
    }
    return 2;
}

BudgetLine::BarParts BudgetScale::drawnParts(const BudgetLine &line) const
{
    BudgetLine::BarParts parts = line.barParts();
    if (parts.overrun > 0)
        parts.overrun = std::max(parts.overrun, m_minimumOverrun);
    return parts;
}
