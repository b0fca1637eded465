#pragma once

#include <QObject>

// How large the main window draws the sheet, the header fields and their layout: the design's
// size times the zoom the user chose with View > Zoom In and Zoom Out, which the next start
// keeps, and larger still where the desktop's text is larger than the text the design was
// drawn beside.
class SheetZoom : public QObject
{
    Q_OBJECT

public:
    static constexpr int ActualSize = 100;

    explicit SheetZoom(QObject *parent = nullptr);

    // What the design's sizes are multiplied by on this desktop.
    qreal factor() const;
    // The desktop's share of it: more than 1 only where its text is larger than the design's.
    static qreal desktopFactor();

    void zoomIn();
    void zoomOut();
    void actualSize();

signals:
    void changed();

private:
    void setPercent(int percent);

    // The zoom the user chose, in percent of the design's size.
    int m_percent = ActualSize;
};
