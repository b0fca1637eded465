#include "helptips.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/grid.h"
#include "core/sheet/twips.h"
#include "gui/sheet/gridview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int LineHeight = 250;
constexpr int CharactersPerLine = 60;
}

HelpTips::HelpTips(const EstimateSheet &sheet, GridView *grdMain, QPlainTextEdit *txtHelp, QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
    , grdMain(grdMain)
    , txtHelp(txtHelp)
    , tmrHelp(new QTimer(this))
{
    tmrHelp->setObjectName(QStringLiteral("tmrHelp"));
    tmrHelp->setInterval(DelayMilliseconds);
    connect(tmrHelp, &QTimer::timeout, this, &HelpTips::tmrHelp_Timer);
    connect(grdMain, &GridView::mouseMovedOverCell, this, &HelpTips::grdMain_MouseMove);
    styleBox();
    txtHelp->viewport()->installEventFilter(this);
    grdMain->installEventFilter(this);
    tmrHelp->start();
}

bool HelpTips::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+wheel would zoom the box's font for good, and every later tip would outgrow its
    // box; a plain turn would scroll the advice out of sight. The event's type is asked first:
    // the box's viewport still sends events while the box is being destroyed, when the box can
    // no longer be asked for it.
    if (event->type() == QEvent::Wheel && watched == txtHelp->viewport())
        return true;
    const bool keysFromThere = watched == grdMain || (m_keysFrom && watched == m_keysFrom);
    if (keysFromThere && m_shownByKey && (event->type() == QEvent::KeyPress || event->type() == QEvent::FocusOut)) {
        hideShownByKey();
        // Escape has done its work; any other key goes on to do its own.
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    }
    return QObject::eventFilter(watched, event);
}

void HelpTips::styleBox()
{
    txtHelp->hide();
    txtHelp->setFocusPolicy(Qt::NoFocus);
    txtHelp->setReadOnly(true);
    QPalette palette = txtHelp->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 128));
    palette.setColor(QPalette::Text, Qt::black);
    txtHelp->setPalette(palette);
    txtHelp->setFrameShape(QFrame::Box);
    txtHelp->setLineWidth(1);
    txtHelp->document()->setDocumentMargin(1);
    txtHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int HelpTips::fittingHeight(const QString &text, int boxWidth) const
{
    // The line count above assumes a font of the width the advice was written for; the
    // desktop's font may need more lines, and a tip must never lose its last words.
    const int border = 2 * txtHelp->frameWidth();
    const int margin = 2 * int(std::ceil(txtHelp->document()->documentMargin()));
    const QRect textArea(0, 0, boxWidth - border - margin, QWIDGETSIZE_MAX);
    return txtHelp->fontMetrics().boundingRect(textArea, Qt::TextWordWrap, text).height() + border + margin;
}

int HelpTips::boxHeight(qsizetype textLength)
{
    return int(textLength / CharactersPerLine + 1) * LineHeight;
}

void HelpTips::grdMain_MouseMove(int row, int column)
{
    if (column != CategoryColumn) {
        hideAndRearm();
    } else if (m_restartHelpDelay) {
        // A timer still running from start-up keeps its rhythm.
        if (!tmrHelp->isActive())
            tmrHelp->start();
        m_restartHelpDelay = false;
    } else if (m_helpDelayElapsed) {
        if (row < 1 || row > EstimateSheet::CategoryCount)
            hideAndRearm();
        else
            showTip(row);
    }
}

void HelpTips::tmrHelp_Timer()
{
    m_helpDelayElapsed = true;
}

void HelpTips::watchKeysOf(QWidget *control)
{
    if (!control || control == grdMain)
        return;
    m_keysFrom = control;
    control->installEventFilter(this);
}

void HelpTips::hideShownByKey()
{
    m_shownByKey = false;
    txtHelp->hide();
    if (m_keysFrom)
        m_keysFrom->removeEventFilter(this);
    m_keysFrom = nullptr;
}

void HelpTips::hideAndRearm()
{
    hideShownByKey();
    m_restartHelpDelay = true;
    tmrHelp->stop();
    m_helpDelayElapsed = false;
}

void HelpTips::showTip(int row)
{
    // Just right of the name, at the row under the mouse, both as the grid is scrolled.
    m_shownByKey = false;
    showBeside(grdMain->cellRect(row, CategoryColumn), m_sheet.CategoryHelpTexts.at(row - 1));
}

bool HelpTips::showForCurrentCell()
{
    const Grid &grid = m_sheet.grid();
    const int row = grid.currentRow();
    const int column = grid.currentColumn();
    QStringList lines;
    if (grdMain->hidesAmount(row, column))
        lines << grid.text(row, column);
    if (row >= 1 && row <= EstimateSheet::CategoryCount)
        lines << m_sheet.CategoryHelpTexts.at(row - 1);
    if (lines.isEmpty())
        return false;
    grdMain->scrollToCurrentCell();
    // Shown anew, so that a screen reader says it also where the mouse's tip was up.
    txtHelp->hide();
    showBeside(grdMain->shownCellRect(row, column), lines.join(u'\n'));
    m_shownByKey = true;
    watchKeysOf(QApplication::focusWidget());
    return true;
}

// A small, narrow font with no margins to speak of keeps the boxes close to a line of 250
// twips for each 60 characters. It is set when the first tip shows: a font of its own is looked
// up, loaded and the box laid out again, which held back the window's first appearance for a
// box that may never show.
void HelpTips::useTipFont()
{
    if (m_tipFontSet)
        return;
    m_tipFontSet = true;
    QFont font = txtHelp->font();
    font.setPointSizeF(7.5);
    font.setStretch(QFont::SemiCondensed);
    txtHelp->setFont(font);
}

void HelpTips::showBeside(const QRect &cell, const QString &text)
{
    useTipFont();
    const int width = grdMain->scale().x(BoxWidth);
    const int height = std::max(grdMain->scale().y(boxHeight(text.size())), fittingHeight(text, width));
    txtHelp->setGeometry(placeBeside(cell.translated(grdMain->pos()), QSize(width, height)));
    txtHelp->setPlainText(text);
    txtHelp->show();
    txtHelp->raise();
}

// Beside the cell, level with it or above it, right of it or else left of it; else below or
// above it: the first place where the box lies whole in the window and on the screen.
QRect HelpTips::placeBeside(const QRect &cell, const QSize &size) const
{
    QWidget *form = txtHelp->parentWidget();
    QRect room = form->rect();
    if (const QScreen *screen = form->screen()) {
        const QRect available = screen->availableGeometry();
        room &= QRect(form->mapFromGlobal(available.topLeft()), available.size());
    }
    const int right = cell.right() + 1;
    const int left = cell.left() - size.width();
    const int across = std::clamp(cell.left(), room.left(), std::max(room.left(), room.right() - size.width() + 1));
    const int level = cell.top();
    const int above = cell.top() - size.height();
    const QPoint places[] = {{right, level}, {right, above}, {left, level}, {left, above}, {across, cell.bottom() + 1},
                             {across, above}};
    for (const QPoint &place : places) {
        const QRect box(place, size);
        if (room.contains(box))
            return box;
    }
    return QRect(
        QPoint(std::min(right, across), std::max(room.top(), std::min(level, room.bottom() - size.height() + 1))),
        size);
}
