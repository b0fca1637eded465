#pragma once

#include <QObject>

class EstimateSheet;
class GridView;
class QKeyEvent;
class QLineEdit;

// The in-place editor: one text box laid over the grid's current cell. An edit opens by
// double-click, by typing in the grid or by "Edit Cell", and ends in one way only: the
// grid's current cell changes and the text goes into the cell that was left. A money
// entry is then written as currency and the totals follow it.
class CellEditor : public QObject
{
    Q_OBJECT

public:
    CellEditor(EstimateSheet &sheet, GridView *grdMain, QLineEdit *txtCell, QLineEdit *txtTemp,
               QObject *parent = nullptr);

    bool isOpen() const;

    void grdMain_DblClick();
    void grdMain_KeyPress(QChar &key);
    void grdMain_LeaveCell();
    void mnuEditCell_Click();
    void txtCell_KeyPress(QChar &key);
    void txtTemp_GotFocus();

    // Puts an open edit into its cell without moving, so that a command about to save,
    // print or discard the sheet sees what the user typed.
    void commitInPlace();

signals:
    // An edit is about to go into cell (row, column), and went in.
    void committing(int row, int column);
    void committed(int row, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeEditor();
    void openWith(const QString &text, int caret);
    QString plainText(bool emptyMoneyAsZero) const;
    void commitAndMoveDown();
    bool filterEditorKey(QKeyEvent *event);

    EstimateSheet &m_sheet;
    GridView *const grdMain;
    QLineEdit *const txtCell;
    QLineEdit *const txtTemp;
};
