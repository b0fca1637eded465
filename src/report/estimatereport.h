#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QStringList>

class Grid;
class HeaderFields;
class QPaintDevice;
class QPainter;

// The one-page "COST ESTIMATE" report: a title, the owner's name, the builder and the
// property address, a picture of the whole sheet across the page and three footer lines.
// The page is laid out in twips on whatever device it goes to (a printer, a PDF file, a
// preview), so print, preview and export are the very same page.
class EstimateReport
{
public:
    // Positions and sizes on the page are in twips: 1440 an inch, 20 a point.
    // The sheet is drawn as a grid of this width.
    static constexpr int GridWidth = 14000;

    // The header texts as the page shows them.
    struct Fields
    {
        QString name;
        QString builder;
        QString address;
    };

    EstimateReport(const Grid &grid, Fields fields);

    // A field prints trimmed of the spaces around it, and as "None" when it is empty.
    static QString printedText(const QString &fieldText);
    static Fields printedFields(const HeaderFields &header);
    // The header texts as they stand.
    static Fields fieldsOf(const HeaderFields &header);
    static QStringList footerLines();
    // The page the report is laid out for unless the user chooses another: the paper of the
    // user's locale with half-inch margins.
    static QPageLayout defaultPageLayout();
    // The report's half-inch margins on another paper.
    static QPageLayout pageLayoutFor(const QPageSize &paper, QPageLayout::Orientation orientation);

    // Draws the page on painter, active on device, from the top left of its printable area.
    void compose(QPainter &painter, const QPaintDevice &device) const;

private:
    void drawGridImage(QPainter &painter, const QRectF &destination) const;

    const Grid &m_grid;
    const Fields m_fields;
};
