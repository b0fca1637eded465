#include "windowplacement.h"

#include "windowgeometry.h"

#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

namespace {
QMargins frameOf(const QMainWindow &window)
{
    return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
}
}

WindowPlacement::WindowPlacement(QMainWindow &window, std::function<QSize()> wholeSheet)
    : QObject(&window)
    , m_window(window)
    , m_wholeSheet(std::move(wholeSheet))
{
    window.installEventFilter(this);
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Only now is the window's frame known, which is to fit on the screen too.
        if (!std::exchange(m_shownBefore, true)) {
            placeAtFirstShow();
            m_placing = true;
            keepFrameOnScreen();
            watchFrame();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (m_placing)
            keepFrameOnScreen();
        break;
    case QEvent::WindowActivate:
        if (std::exchange(m_placing, false))
            keepFrameOnScreen();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// The window manager draws the frame (its title bar) once it has taken the window, on a
// busy machine well after the window came up and without moving or resizing the window
// itself, and nothing tells the program when; it may also put the window back where it was
// asked to be, and the window's own layout may still grow it, after the program placed it.
// For the first seconds the frame is looked at a few times a second and kept whole on the
// screen: a title bar out of reach costs the user more than a window dragged half off the
// screen in that time coming back.
void WindowPlacement::watchFrame()
{
    auto *watch = new QTimer(this);
    watch->setInterval(FrameWatchMilliseconds);
    connect(watch, &QTimer::timeout, this, [this, watch, ticks = 0]() mutable {
        keepFrameOnScreen();
        if (++ticks == FrameWatchTicks)
            watch->deleteLater();
    });
    watch->start();
}

void WindowPlacement::placeAtFirstShow()
{
    if (WindowGeometry::restore(m_window))
        return;
    // Where is the window manager's to choose, as it alone knows the frame it will draw.
    const QRect outer = m_window.frameGeometry();
    QSize size = m_wholeSheet().expandedTo(outer.size());
    const QRect available = WindowGeometry::availableAround(outer);
    if (!available.isEmpty())
        size = size.boundedTo(available.size());
    m_window.resize(size.shrunkBy(frameOf(m_window)));
}

void WindowPlacement::keepFrameOnScreen()
{
    if (m_window.isMaximized() || m_window.isFullScreen())
        return;
    const QRect outer = m_window.frameGeometry();
    const QRect onScreen = WindowGeometry::clampedTo(outer, WindowGeometry::availableAround(outer));
    if (onScreen != outer)
        m_window.setGeometry(onScreen.marginsRemoved(frameOf(m_window)));
}
