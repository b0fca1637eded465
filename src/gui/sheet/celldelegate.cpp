#include "celldelegate.h"

#include "core/sheet/grid.h"
#include "gridtablemodel.h"
#include "report/cellpainter.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
constexpr qreal TextPadding = 2;
// What the web's accessibility guidelines ask of a text's contrast with its background.
constexpr double ReadableContrast = 4.5;

double luminance(const QColor &colour)
{
    const auto linear = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Pure red reads poorly on white and worse on a dark theme's cells: the red nearest to it
// that stands out enough from the background, darker on a light one and lighter on a dark one.
QColor readableRed(const QColor &background)
{
    const bool darkBackground = luminance(background) < 0.18;
    QColor red(255, 0, 0);
    for (int step = 0; step < 255 && contrast(red, background) < ReadableContrast; ++step)
        red = darkBackground ? QColor(255, red.green() + 1, red.blue() + 1) : QColor(red.red() - 1, 0, 0);
    return red;
}

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
    CellPainter::CellLook look = lookAt(index);
    // The one colour a cell has of its own is the red of an amount below zero.
    if (look.colour.isValid())
        look.colour = readableRed(palette.color(highlighted ? QPalette::Highlight : QPalette::Base));
    CellPainter::drawText(*painter, rect, look, option.font, TextPadding, CellPainter::WideAmount::Hashes);

    if (current) {
        QPen focusPen(palette.color(QPalette::Text));
        focusPen.setStyle(Qt::DotLine);
        painter->setPen(focusPen);
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

bool CellDelegate::hidesAmount(const QModelIndex &index, const QRect &cellRect, const QFont &font)
{
    return CellPainter::hidesAmount(cellRect, lookAt(index), font, TextPadding);
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
    else if (event->type() == QEvent::ToolTip && hidesAmount(index, option.rect, option.font))
        tip = look.text;
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event->globalPos(), tip, view, option.rect);
    return true;
}
