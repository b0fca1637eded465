#pragma once

#include <QObject>
#include <QSize>

#include <functional>

class QMainWindow;

// Where the main window comes up: where it was left, or at the first start as large as the
// whole sheet needs, where the window manager puts it. Until the window manager has placed it
// (its first activation), and then for its first seconds, its frame is kept whole on the
// screen: a place saved on a larger screen, or a frame larger than expected, would put the
// title bar out of reach.
class WindowPlacement : public QObject
{
    Q_OBJECT

public:
    // wholeSheet gives the window's outer size that shows the whole sheet.
    WindowPlacement(QMainWindow &window, std::function<QSize()> wholeSheet);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeAtFirstShow();
    void keepFrameOnScreen();
    void watchFrame();

    // Ten seconds of looking at the frame after the first show.
    static constexpr int FrameWatchMilliseconds = 100;
    static constexpr int FrameWatchTicks = 100;

    QMainWindow &m_window;
    const std::function<QSize()> m_wholeSheet;
    bool m_shownBefore = false;
    bool m_placing = false;
};
