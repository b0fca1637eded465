#pragma once

#include <QRect>

class QMainWindow;
class QWidget;

// Where the main window comes back: where it was left and at its size, moved and shrunk
// onto the screen when the screen is smaller than it was.
namespace WindowGeometry {
// The rectangle moved and, where it must be, shrunk to lie whole on the available area.
QRect clampedTo(const QRect &geometry, const QRect &available);
// The free area of the screen the rectangle's centre lies on, or of the main screen when
// that one is gone; empty without a screen.
QRect availableAround(const QRect &geometry);

// Puts the window back where it was left, at its size, its frame included, and maximised
// when it was; false at the first start.
bool restore(QMainWindow &window);
void save(const QMainWindow &window);
}
