#include "celldelegate.h"

#include "core/sheet/grid.h"
#include "gridtablemodel.h"
#include "report/cellpainter.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr qreal TextPadding = 2;

CellPainter::CellLook lookAt(const QModelIndex &index)
{
    CellPainter::CellLook look;
    look.text = index.data(Qt::DisplayRole).toString();
    look.bold = index.data(Qt::FontRole).value<QFont>().bold();
    look.alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    look.colour = index.data(Qt::ForegroundRole).value<QColor>();
    if (index.data(GridTableModel::NoteRole).toBool())
        look.kind = CellPainter::CellLook::Kind::Note;
    else if (index.data(GridTableModel::AmountRole).toBool())
        look.kind = CellPainter::CellLook::Kind::Amount;
    return look;
}
}

CellDelegate::CellDelegate(const Grid &grid, const GridTableModel &model, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_grid(grid)
    , m_model(model)
{
}

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int row = m_model.gridRow(index);
    const int column = m_model.gridColumn(index);
    const QRect rect = option.rect;
    const bool current = row == m_grid.currentRow() && column == m_grid.currentColumn();
    // The selection shows while the sheet has the focus, so that a window opening on a
    // selection of the whole sheet does not greet the user with a sheet of blue.
    const bool focused = option.widget && option.widget->hasFocus();
    const bool highlighted = focused && !current && m_grid.isSelected(row, column);
    const QPalette &palette = option.palette;

    painter->fillRect(rect, highlighted ? palette.highlight() : palette.base());
    painter->setPen(gridLineColour());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    painter->setPen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    CellPainter::drawText(*painter, rect, lookAt(index), option.font, TextPadding, CellPainter::WideAmount::Hashes);

    if (current) {
        QPen focusPen(palette.color(QPalette::Text));
        focusPen.setStyle(Qt::DotLine);
        painter->setPen(focusPen);
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

bool CellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                             const QModelIndex &index)
{
    // An amount shown as ### is told in full where the mouse rests, and a note is told apart
    // from an amount.
    const CellPainter::CellLook look = lookAt(index);
    QString tip;
    if (event->type() == QEvent::ToolTip && look.kind == CellPainter::CellLook::Kind::Note)
        tip = index.data(Qt::ToolTipRole).toString();
    else if (event->type() == QEvent::ToolTip && CellPainter::hidesAmount(option.rect, look, option.font, TextPadding))
        tip = look.text;
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event->globalPos(), tip, view, option.rect);
    return true;
}
