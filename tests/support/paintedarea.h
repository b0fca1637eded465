#pragma once

// What a widget was asked to draw again, as its paint events name it.

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

class PaintedArea : public QObject
{
public:
    explicit PaintedArea(QWidget *widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }

    const QRegion &region() const { return m_region; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_region += static_cast<QPaintEvent *>(event)->region();
        return QObject::eventFilter(watched, event);
    }

private:
    QRegion m_region;
};
