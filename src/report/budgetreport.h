#pragma once

#include "core/history/estimatehistory.h"
#include "estimatereport.h"

class BudgetFigures;
class Grid;
class HeaderFields;
class PageWriter;
class QPageSize;
class QPagedPaintDevice;
class QPainter;

// The budget summary: the owner's, the builder's and the property's lines, the build's
// totals, the Budget view's bars, each row's figures with their Total, and the change-order
// register with the rows it does not explain, on as many pages as the tables need. Laid out
// in twips, in the report's own typeface, on whatever paged device it goes to.
class BudgetReport
{
public:
    BudgetReport(const Grid &grid, EstimateReport::Fields fields, const EstimateHistory &history);

    // Draws every page on painter, active on device.
    void compose(QPainter &painter, QPagedPaintDevice &device) const;

    // Writes the whole PDF file or leaves the old one as it was; errorString learns why not.
    static bool savePdf(const QString &path, const Grid &grid, const HeaderFields &header,
                        const EstimateHistory &history, const QPageSize &paper, QString *errorString = nullptr);

private:
    // The chart's height for this many lines where room is left of the page.
    static qreal chartHeight(qreal room, qsizetype lineCount);
    static void printHeading(PageWriter &page, const QString &heading);
    // Each line's figures and their Total, as BudgetFigures gives them.
    static void printBudgetTable(PageWriter &page, const BudgetFigures &figures);
    void printRegister(PageWriter &page) const;

    const Grid &m_grid;
    const EstimateReport::Fields m_fields;
    const EstimateHistory &m_history;
};
