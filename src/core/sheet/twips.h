#pragma once

#include <QRect>
#include <QtGlobal>

#include <cmath>

// Positions and sizes are designed in twips, 1/1440 inch, and the grid stores its sizes in
// them; a device's logical resolution turns them into pixels.
namespace Twips {
inline constexpr int PerInch = 1440;
// The points of a font size.
inline constexpr int PerPoint = 20;

inline int toPixels(qint64 twips, qreal dotsPerInch)
{
    return int(std::lround(double(twips) * dotsPerInch / PerInch));
}

inline int fromPixels(qint64 pixels, qreal dotsPerInch)
{
    return int(std::lround(double(pixels) * PerInch / dotsPerInch));
}

// The conversions of one device, whose resolution across may differ from the one down.
class Scale
{
public:
    Scale(qreal dotsPerInchX, qreal dotsPerInchY)
        : m_dotsPerInchX(dotsPerInchX)
        , m_dotsPerInchY(dotsPerInchY)
    {
    }

    // A widget, a window or any other paint device.
    template <typename Device> static Scale of(const Device &device)
    {
        return Scale(device.logicalDpiX(), device.logicalDpiY());
    }

    // The same device with everything drawn larger by factor, as a zoom draws it.
    Scale zoomed(qreal factor) const { return Scale(m_dotsPerInchX * factor, m_dotsPerInchY * factor); }

    int x(int twips) const { return toPixels(twips, m_dotsPerInchX); }
    int y(int twips) const { return toPixels(twips, m_dotsPerInchY); }
    QSize size(int width, int height) const { return {x(width), y(height)}; }
    QRect rect(int left, int top, int width, int height) const { return {x(left), y(top), x(width), y(height)}; }
    QRect rect(const QRect &twips) const { return rect(twips.left(), twips.top(), twips.width(), twips.height()); }

    int twipsX(int pixels) const { return fromPixels(pixels, m_dotsPerInchX); }
    int twipsY(int pixels) const { return fromPixels(pixels, m_dotsPerInchY); }

private:
    qreal m_dotsPerInchX;
    qreal m_dotsPerInchY;
};
}
