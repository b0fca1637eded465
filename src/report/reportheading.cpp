#include "reportheading.h"

#include "pagewriter.h"

namespace {
constexpr qreal TitlePoints = 12;
constexpr qreal TextPoints = 8;
constexpr qreal RuleWidth = 15;
}

namespace ReportHeading {

void print(PageWriter &page, const QString &title, const EstimateReport::Fields &fields)
{
    page.setFont(TitlePoints, true);
    page.printLine(title, 0, Qt::AlignHCenter);
    page.skip(page.lineHeight() * 1.5);
    page.setFont(TextPoints, false);
    page.printWrapped(QStringLiteral("Name: ") + fields.name);
    page.printWrapped(QStringLiteral("BUILDER: ") + fields.builder);
    page.printWrapped(QStringLiteral("PROP. ADDRESS: ") + fields.address);
    page.skip(page.lineHeight() / 2);
    page.rule(RuleWidth);
    page.skip(page.lineHeight() / 2);
}

}
