#include "wheelhook.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// The key-state flags of a wheel message: buttons and the Shift and Ctrl keys.
int mouseKeyFlags(const QWheelEvent &wheel)
{
    int flags = 0;
    flags |= wheel.buttons() & Qt::LeftButton ? 0x01 : 0;
    flags |= wheel.buttons() & Qt::RightButton ? 0x02 : 0;
    flags |= wheel.modifiers() & Qt::ShiftModifier ? 0x04 : 0;
    flags |= wheel.modifiers() & Qt::ControlModifier ? 0x08 : 0;
    flags |= wheel.buttons() & Qt::MiddleButton ? 0x10 : 0;
    return flags;
}
}

void WheelHook::HookWheel(QWidget *window)
{
    m_window = window;
    qApp->installEventFilter(this);
}

void WheelHook::UnhookWheel()
{
    qApp->removeEventFilter(this);
    m_window = nullptr;
}

int WheelHook::scrolledTopRow(int topRow, int rotation, int gridHeight, int headerRowHeight, int rowCount)
{
    int step = 0;
    if (headerRowHeight > 0)
        step = int(std::floor(float(gridHeight) / float(headerRowHeight)));
    step = std::max(step, MinimumStep);
    if (rotation > 0)
        return std::max(topRow - step, 1);
    return std::min(topRow + step, rowCount - 1);
}

bool WheelHook::belongsToWindow(QObject *watched) const
{
    const auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == m_window;
}

bool WheelHook::isTextBox(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w)
            || qobject_cast<const QLineEdit *>(w))
            return true;
    }
    return false;
}

bool WheelHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !belongsToWindow(watched))
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    const auto *receiver = static_cast<QWidget *>(watched);
    if (isTextBox(receiver))
        return QObject::eventFilter(watched, event);
    // A text box that cannot scroll further passes the turn on to its parents; the turn
    // still belongs to the box under the mouse, and the sheet must not move.
    if (const QWidget *under = receiver->childAt(wheel->position().toPoint()); isTextBox(under))
        return true;
    const int delta = wheel->angleDelta().y();
    // A sideways turn is not a wheel step: the grid scrolls sideways as usual.
    if (delta == 0)
        return QObject::eventFilter(watched, event);

    // A touchpad sends many small turns: they add up to one step per notch. A notched
    // wheel steps once per message, however far it turned.
    if ((m_pendingDelta > 0) != (delta > 0))
        m_pendingDelta = 0;
    m_pendingDelta += delta;
    if (std::abs(m_pendingDelta) >= NotchDelta) {
        const int rotation = m_pendingDelta;
        m_pendingDelta = 0;
        emit turned(mouseKeyFlags(*wheel), rotation, wheel->globalPosition().toPoint());
    }
    return true;
}
