#pragma once

// Where the ink is in a picture of the window or of a printed page: the tests look at what
// the user sees, not at what the program meant to draw.

#include <QImage>
#include <QList>
#include <QRect>

namespace Pixels {
// A pixel counts as ink below this grey.
inline auto darkerThan(int grey)
{
    return [grey](QRgb pixel) { return qGray(pixel) < grey; };
}

template <typename Test> int count(const QImage &image, const QRect &area, Test test)
{
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            found += test(image.pixel(x, y)) ? 1 : 0;
    }
    return found;
}

// The smallest rectangle round every pixel of the area that passes; null when none does.
template <typename Test> QRect box(const QImage &image, const QRect &area, Test test)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(image.pixel(x, y)))
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

// Neighbouring rows (Qt::Horizontal) or columns (Qt::Vertical) that hold ink, each band as the
// box round its ink: the lines of a text, or the glyphs of one.
template <typename Test> QList<QRect> bands(const QImage &image, const QRect &area, Qt::Orientation lines, Test test)
{
    const bool rows = lines == Qt::Horizontal;
    QList<QRect> found;
    for (int i = rows ? area.top() : area.left(); i <= (rows ? area.bottom() : area.right()); ++i) {
        const QRect ink =
            box(image, rows ? QRect(area.left(), i, area.width(), 1) : QRect(i, area.top(), 1, area.height()), test);
        if (ink.isNull())
            continue;
        if (!found.isEmpty() && (rows ? found.last().bottom() : found.last().right()) == i - 1)
            found.last() |= ink;
        else
            found << ink;
    }
    return found;
}
}
