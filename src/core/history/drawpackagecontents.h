#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>

// What goes into a draw's package behind its request: the papers of the draw itself, then
// those of its lines by row, then the signed lien waivers, each paper once and numbered in
// that order. Worked out from the history alone, so that the package, a check before it goes
// out and the Draw view all name the same enclosures with the same numbers.
class DrawPackageContents
{
public:
    struct Enclosure
    {
        // From 1, in the package's order.
        int number = 0;
        Paper paper;
        // The draw line's row the paper belongs to; zero for one of the whole draw.
        int row = 0;
    };

    DrawPackageContents(const EstimateHistory &history, int draw);

    int draw() const { return m_draw; }
    const QList<Enclosure> &enclosures() const { return m_enclosures; }
    // What each page of an enclosure carries in its margin: "Draw 3 · Item 12 · Enclosure 2".
    QString stampOf(const Enclosure &enclosure) const;

private:
    void add(const Paper &paper, int row);
    bool holds(int paperNumber) const;

    int m_draw = 0;
    QList<Enclosure> m_enclosures;
};
