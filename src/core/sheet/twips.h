#pragma once

#include <QtGlobal>

#include <cmath>

// Positions and sizes are designed in twips, 1/1440 inch; the screen's logical
// resolution turns them into pixels.
namespace Twips {
inline constexpr int PerInch = 1440;

inline int toPixels(qint64 twips, qreal dotsPerInch)
{
    return int(std::lround(double(twips) * dotsPerInch / PerInch));
}

inline int fromPixels(qint64 pixels, qreal dotsPerInch)
{
    return int(std::lround(double(pixels) * PerInch / dotsPerInch));
}
}
