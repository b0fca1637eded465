#include "windowgeometry.h"

#include "core/document/programsettings.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace {
// The window's place with its frame, as Qt keeps it; a place kept by an earlier version
// without the frame, which put the title bar off the screen, is not read.
QString geometryKey()
{
    return QStringLiteral("Window/Frame");
}
}

namespace WindowGeometry {

QRect clampedTo(const QRect &geometry, const QRect &available)
{
    if (available.isEmpty())
        return geometry;
    QRect clamped(geometry.topLeft(), geometry.size().boundedTo(available.size()));
    clamped.moveLeft(qBound(available.left(), clamped.left(), available.right() - clamped.width() + 1));
    clamped.moveTop(qBound(available.top(), clamped.top(), available.bottom() - clamped.height() + 1));
    return clamped;
}

QRect availableAround(const QRect &geometry)
{
    const QScreen *screen = QGuiApplication::screenAt(geometry.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool restore(QMainWindow &window)
{
    const QByteArray saved = ProgramSettings().value(geometryKey()).toByteArray();
    return !saved.isEmpty() && window.restoreGeometry(saved);
}

void save(const QMainWindow &window)
{
    ProgramSettings().setValue(geometryKey(), window.saveGeometry());
}

}
