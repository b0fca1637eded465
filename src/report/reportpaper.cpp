#include "reportpaper.h"

#include <QLocale>
#include <QString>

namespace ReportPaper {

QPageSize ofLocale(const QLocale &locale)
{
    // Canada measures in metres and still buys Letter.
    const bool letter = locale.language() == QLocale::C || locale.territory() == QLocale::Canada
        || locale.measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

std::optional<QPageSize> named(const QString &name)
{
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);
    return std::nullopt;
}

}
