#include "reportfont.h"

#include "core/sheet/twips.h"

#include <QFile>
#include <QFontDatabase>

#include <cmath>

namespace {
QString loadedFamily()
{
    QString family;
    for (const QString &file :
         {QStringLiteral(":/fonts/ReportSans.ttf"), QStringLiteral(":/fonts/ReportSans-Bold.ttf")}) {
        QFile font(file);
        const int id = font.open(QIODevice::ReadOnly) ? QFontDatabase::addApplicationFontFromData(font.readAll()) : -1;
        if (id >= 0)
            family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    return family;
}
}

namespace ReportFont {

QFont font(int pixelSize, bool bold)
{
    // Once for the whole run: a batch of reports loads the typeface once.
    static const QString family = loadedFamily();
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // The desktop's settings say how to hint its own fonts, not how to lay out the page.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont atPoints(qreal points, bool bold)
{
    return font(int(std::lround(points * Twips::PerPoint)), bold);
}

}
