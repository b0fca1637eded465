#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

#include <functional>
#include <optional>

class QMainWindow;

// Where the main window comes up: where it was left, or at the first start as large as the
// whole sheet needs, where the window manager puts it. Until the window manager has framed
// and placed it (its first activation), its frame is kept whole on the screen: a place saved
// on a larger screen, or a frame larger than expected, would put the title bar out of reach.
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
    void keepLateFrameOnScreen();

    QMainWindow &m_window;
    const std::function<QSize()> m_wholeSheet;
    bool m_shownBefore = false;
    bool m_placing = false;
    // The frame at the first activation, until a later one is drawn.
    std::optional<QMargins> m_framed;
};
