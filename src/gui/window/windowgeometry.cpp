#include "windowgeometry.h"

#include "core/document/programsettings.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace {
QString geometryKey()
{
    return QStringLiteral("Window/Geometry");
}

QString maximizedKey()
{
    return QStringLiteral("Window/Maximized");
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

QRect savedGeometry(bool *maximized)
{
    const ProgramSettings settings;
    *maximized = settings.value(maximizedKey()).toBool();
    return settings.value(geometryKey()).toRect();
}

void save(const QMainWindow &window)
{
    ProgramSettings settings;
    settings.setValue(geometryKey(), window.normalGeometry());
    settings.setValue(maximizedKey(), window.isMaximized());
}

}
