#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// The main window's wheel hook: announces every wheel turn made over the window (turned)
// before any control sees it, so that the sheet scrolls by its own steps and not by the
// grid's. A text box keeps every wheel turn made over it, whether or not it can scroll.
class WheelHook : public QObject
{
    Q_OBJECT

public:
    static constexpr int NotchDelta = 120;
    static constexpr int MinimumStep = 10;

    using QObject::QObject;

    void HookWheel(QWidget *window);
    void UnhookWheel();

    // The top row after one wheel step: a step is as many rows as header rows fit in the
    // grid's height, at least 10; a turn away from the user scrolls up.
    static int scrolledTopRow(int topRow, int rotation, int gridHeight, int headerRowHeight, int rowCount);

signals:
    // mouseKeys holds the buttons and the Shift and Ctrl keys held; position is global.
    void turned(int mouseKeys, int rotation, const QPoint &position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindow(QObject *watched) const;
    static bool isTextBox(const QWidget *widget);

    QPointer<QWidget> m_window;
    int m_pendingDelta = 0;
};
