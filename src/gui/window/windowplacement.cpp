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
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // A window manager may draw the frame (its title bar) only after it first activated
        // the window, later still on a busy machine: once more then, for the new frame.
        if (m_placing || (m_framed && frameOf(m_window) != *m_framed)) {
            m_framed.reset();
            keepFrameOnScreen();
        }
        break;
    case QEvent::WindowActivate:
        if (std::exchange(m_placing, false)) {
            m_framed = frameOf(m_window);
            keepFrameOnScreen();
            // The frame's extents may reach the program without a move or a resize of its
            // own, the later the busier the machine: it is looked at again a while after.
            for (const int delay : {250, 1000, 3000})
                QTimer::singleShot(delay, this, &WindowPlacement::keepLateFrameOnScreen);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
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

void WindowPlacement::keepLateFrameOnScreen()
{
    if (!m_framed || frameOf(m_window) == *m_framed)
        return;
    m_framed.reset();
    keepFrameOnScreen();
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
