#include "drawpackagecontents.h"

#include <algorithm>

DrawPackageContents::DrawPackageContents(const EstimateHistory &history, int draw)
    : m_draw(draw)
{
    for (const Paper &paper : history.papers) {
        if (paper.subject == Paper::Subject::Draw && paper.subjectNumber == draw)
            add(paper, 0);
    }
    QList<Paper> ofLines;
    for (const Paper &paper : history.papers) {
        if (paper.subject == Paper::Subject::DrawLine && paper.subjectNumber == draw)
            ofLines << paper;
    }
    // Stable, so that the papers of one line keep the order they were attached in.
    std::stable_sort(ofLines.begin(), ofLines.end(), [](const Paper &a, const Paper &b) { return a.row < b.row; });
    for (const Paper &paper : ofLines)
        add(paper, paper.row);
    for (const LienWaiver &waiver : history.waivers) {
        if (waiver.draw != draw || waiver.paper == 0 || holds(waiver.paper))
            continue;
        const auto found = std::find_if(history.papers.begin(), history.papers.end(),
                                        [&waiver](const Paper &paper) { return paper.number == waiver.paper; });
        if (found != history.papers.end())
            add(*found, 0);
    }
}

QString DrawPackageContents::stampOf(const Enclosure &enclosure) const
{
    QString stamp = QStringLiteral("Draw %1").arg(m_draw);
    if (enclosure.row > 0)
        stamp += QStringLiteral(" \u00b7 Item %1").arg(enclosure.row);
    return stamp + QStringLiteral(" \u00b7 Enclosure %1").arg(enclosure.number);
}

void DrawPackageContents::add(const Paper &paper, int row)
{
    if (holds(paper.number))
        return;
    m_enclosures << Enclosure{int(m_enclosures.size()) + 1, paper, row};
}

bool DrawPackageContents::holds(int paperNumber) const
{
    return std::any_of(m_enclosures.begin(), m_enclosures.end(),
                       [paperNumber](const Enclosure &enclosure) { return enclosure.paper.number == paperNumber; });
}
