#include "helptips.h"

#include "sheet/estimatesheet.h"
#include "sheet/gridview.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

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
    tmrHelp->start();
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
    // The box has a line of 250 twips for each 60 characters: a small, narrow font with no
    // margins to speak of lets the advice fit it.
    QFont font = txtHelp->font();
    font.setPointSizeF(7.5);
    font.setStretch(QFont::SemiCondensed);
    txtHelp->setFont(font);
    txtHelp->setFrameShape(QFrame::Box);
    txtHelp->setLineWidth(1);
    txtHelp->document()->setDocumentMargin(1);
    txtHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

void HelpTips::hideAndRearm()
{
    txtHelp->hide();
    m_restartHelpDelay = true;
    tmrHelp->stop();
    m_helpDelayElapsed = false;
}

void HelpTips::showTip(int row)
{
    // Just right of the name, at the row under the mouse, both as the grid is scrolled.
    const QRect nameCell = grdMain->cellRect(row, CategoryColumn).translated(grdMain->pos());
    const QString &text = m_sheet.CategoryHelpTexts.at(row - 1);
    txtHelp->setGeometry(nameCell.right() + 1, nameCell.top(), grdMain->pixelsFromTwipsX(BoxWidth),
                         grdMain->pixelsFromTwipsY(boxHeight(text.size())));
    txtHelp->setPlainText(text);
    txtHelp->show();
    txtHelp->raise();
}
