#include "fixedcellheader.h"

#include "core/sheet/grid.h"
#include "report/cellpainter.h"

#include <QPainter>

namespace {
constexpr qreal TextPadding = 2;
}

FixedCellHeader::FixedCellHeader(Qt::Orientation orientation, const Grid &grid, QWidget *parent)
    : QHeaderView(orientation, parent)
    , m_grid(grid)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
}

// The view fixes the header's thickness from the grid's twips, so the hint Qt would build
// by asking the style for the size of every title is thrown away; it was a tenth of the
// start-up's work.
QSize FixedCellHeader::sizeHint() const
{
    return orientation() == Qt::Horizontal ? QSize(length(), minimumHeight()) : QSize(minimumWidth(), length());
}

void FixedCellHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const bool horizontal = orientation() == Qt::Horizontal;
    const int row = horizontal ? 0 : logicalIndex + m_grid.fixedRows();
    const int column = horizontal ? logicalIndex + m_grid.fixedColumns() : 0;
    if (!m_grid.contains(row, column))
        return;

    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setPen(palette().color(QPalette::ButtonText));
    CellPainter::drawText(*painter, rect, CellPainter::lookOf(m_grid, row, column), font(), TextPadding,
                          CellPainter::WideAmount::Hashes);
}
