#pragma once

#include <QObject>

class EstimateSheet;
class GridView;
class QKeyEvent;
class QLineEdit;

// The in-place editor: one text box laid over the grid's current cell, which it brings into
// view first and then follows as the sheet scrolls. An edit opens by double-click, by typing
// in the grid or by "Edit Cell". It goes in when the grid's current cell changes, into the
// cell that was left; a money entry is then written as currency and the totals follow it.
// Escape takes it back.
class CellEditor : public QObject
{
    Q_OBJECT

public:
    CellEditor(EstimateSheet &sheet, GridView *grdMain, QLineEdit *txtCell, QLineEdit *txtTemp,
               QObject *parent = nullptr);

    bool isOpen() const;
    // What the open edit holds.
    QString text() const;

    void grdMain_DblClick();
    void grdMain_KeyPress(QChar &key);
    void grdMain_LeaveCell();
    void editCurrentCell();
    void txtCell_KeyPress(QChar key);
    void txtTemp_GotFocus();

    // Puts an open edit into its cell without moving, so that a command about to save,
    // print or discard the sheet sees what the user typed.
    void commitInPlace();
    // Takes the open edit back: the cell keeps the text it had.
    void cancel();

signals:
    // An edit is about to go into cell (row, column), and went in.
    void committing(int row, int column);
    void committed(int row, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openEditor();
    void followCell();
    void closeEditor();
    void openWith(const QString &text);
    QString plainText(bool emptyMoneyAsZero) const;
    void continueEdit(QChar key);
    void commitAndMoveDown();
    void commitAndMoveLeft();
    void commitAndMoveRight();
    void leaveSheet(bool forwards);
    bool filterEditorKey(QKeyEvent *event);
    bool filterGridEvent(QEvent *event);

    EstimateSheet &m_sheet;
    GridView *const grdMain;
    QLineEdit *const txtCell;
    QLineEdit *const txtTemp;
    // The editor stays open while its cell is scrolled out of view, hidden until it returns.
    bool m_open = false;
    bool m_gridEntered = false;
};
