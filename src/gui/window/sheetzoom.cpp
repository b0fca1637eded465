#include "sheetzoom.h"

#include "core/document/programsettings.h"

#include <QApplication>
#include <QFont>

#include <algorithm>
#include <array>

namespace {
// Finer near the design's size, where a step is one of reading comfort, coarser above.
constexpr std::array<int, 10> Steps = {80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
// The design's 8.25 points stood beside the desktop's 9-point text, which is also what Qt
// gives where a desktop names no font of its own.
constexpr qreal DesignDesktopPoints = 9;

QString settingsKey()
{
    return QStringLiteral("View/Zoom");
}
}

SheetZoom::SheetZoom(QObject *parent)
    : QObject(parent)
    , m_percent(std::clamp(ProgramSettings().value(settingsKey(), ActualSize).toInt(), Steps.front(), Steps.back()))
{
}

qreal SheetZoom::factor() const
{
    return desktopFactor() * m_percent / ActualSize;
}

qreal SheetZoom::desktopFactor()
{
    return std::max(1.0, QApplication::font().pointSizeF() / DesignDesktopPoints);
}

void SheetZoom::zoomIn()
{
    const auto larger = std::upper_bound(Steps.begin(), Steps.end(), m_percent);
    if (larger != Steps.end())
        setPercent(*larger);
}

void SheetZoom::zoomOut()
{
    const auto notSmaller = std::lower_bound(Steps.begin(), Steps.end(), m_percent);
    if (notSmaller != Steps.begin())
        setPercent(*std::prev(notSmaller));
}

void SheetZoom::actualSize()
{
    setPercent(ActualSize);
}

void SheetZoom::setPercent(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    ProgramSettings().setValue(settingsKey(), percent);
    emit changed();
}
