#pragma once

#include <QObject>
#include <QPointer>

class EstimateSheet;
class GridView;
class QPlainTextEdit;
class QTimer;
class QWidget;

// The yellow tip box with the advice for the category under the mouse. The first tip
// waits for one tick of a 250 ms timer after the mouse enters the category column; from
// then on the tip follows the mouse from row to row at once. A box is at least as high as
// one 250-twip line for each 60 characters, and higher where the font needs more lines.
// From the keyboard, F1 shows the same box beside the current cell, until the next key in
// the control that has the focus: the sheet, the cell editor or a header field.
// A box lies whole in the window and on the screen, above its cell where there is no room
// below.
class HelpTips : public QObject
{
    Q_OBJECT

public:
    static constexpr int DelayMilliseconds = 250;
    static constexpr int CategoryColumn = 2;
    static constexpr int BoxWidth = 4000;

    HelpTips(const EstimateSheet &sheet, GridView *grdMain, QPlainTextEdit *txtHelp, QObject *parent = nullptr);

    void grdMain_MouseMove(int row, int column);
    void tmrHelp_Timer();
    // Shows the current cell's advice and, where the cell shows ###, its whole amount; false
    // when the cell has neither.
    bool showForCurrentCell();

    bool RestartHelpDelay() const { return m_restartHelpDelay; }
    bool HelpDelayElapsed() const { return m_helpDelayElapsed; }
    QTimer *timer() const { return tmrHelp; }

    // One 250-twip line for each started block of 60 characters.
    static int boxHeight(qsizetype textLength);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The pixel height the box needs to show all of text at the given width.
    int fittingHeight(const QString &text, int boxWidth) const;
    void styleBox();
    void useTipFont();
    void hideAndRearm();
    void watchKeysOf(QWidget *control);
    void hideShownByKey();
    void showTip(int row);
    void showBeside(const QRect &cell, const QString &text);
    QRect placeBeside(const QRect &cell, const QSize &size) const;

    const EstimateSheet &m_sheet;
    GridView *const grdMain;
    QPlainTextEdit *const txtHelp;
    QTimer *const tmrHelp;
    bool m_restartHelpDelay = true;
    bool m_helpDelayElapsed = false;
    // Shown by F1: the next key in the sheet, or in the control that had the focus, takes it away.
    bool m_shownByKey = false;
    bool m_tipFontSet = false;
    QPointer<QWidget> m_keysFrom;
};
