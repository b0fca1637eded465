#pragma once

#include <QRect>

class QMainWindow;

// Where the main window comes back: where it was left and at its size, moved and shrunk
// onto the screen when the screen is smaller than it was.
namespace WindowGeometry {
// The rectangle moved and, where it must be, shrunk to lie whole on the available area.
QRect clampedTo(const QRect &geometry, const QRect &available);
// The free area of the screen the rectangle's centre lies on, or of the main screen when
// that one is gone; empty without a screen.
QRect availableAround(const QRect &geometry);

// The geometry saved when the window last closed, and whether it was maximised; an invalid
// rectangle at the first start.
QRect savedGeometry(bool *maximized);
void save(const QMainWindow &window);
}
