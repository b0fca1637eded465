#pragma once

#include "core/history/drawrequest.h"

#include <QPageLayout>

class PageWriter;
class QPagedPaintDevice;
class QPainter;

// The Draw Request on paper: the summary on the first page, upright, then the continuation
// sheet turned to landscape, on as many pages as its lines need, with its column captions
// at the top of each; every page is numbered. Half-inch margins on the paper it is given, in
// the report's own typeface. The pages are laid out in twips on whatever device they go to.
class DrawRequestReport
{
public:
    DrawRequestReport(DrawRequest request, const QPageSize &paper);

    QPageLayout summaryLayout() const;
    QPageLayout continuationLayout() const;

    int pageCount() const;
    // Draws every page on device, which painter is active on, turning the paper as the pages
    // need; the device starts on the summary's layout.
    // False when the device could not begin a page.
    bool compose(QPainter &painter, QPagedPaintDevice &device) const;

private:
    void drawSummary(PageWriter &page) const;
    void drawChangeOrderSummary(PageWriter &page) const;
    void drawContinuationHeader(PageWriter &page) const;
    void drawContinuationLine(PageWriter &page, int line) const;
    int linesPerPage() const;

    const DrawRequest m_request;
    const QPageSize m_paper;
};
