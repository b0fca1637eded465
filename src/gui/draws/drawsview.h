#pragma once

#include <QTimer>
#include <QWidget>

class Document;
class DrawCommands;
class DrawRequestOutput;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The history of draws beside the sheet: the draws in order with number, date, amount and
// note, the rows of the one selected, and the retainage rate and the date of the draws to
// come. Any draw's request is exported or printed again from here, and the next one from the
// current amounts; a recorded draw's date and note are put right from here.
// Where the "Total of Previous Payment" column is no longer the opening balance plus the
// recorded draws, the view says which rows differ.
class DrawsView : public QWidget
{
    Q_OBJECT

public:
    DrawsView(const Document &document, DrawCommands &commands, DrawRequestOutput &output, QWidget *parent = nullptr);

private:
    // What changed since the last turn of the event loop, all at once: an edit changes several
    // cells (the row's remainder, the totals), a draw recorded the history and the rows.
    void refresh();
    void showDraws();
    void showNextDraw();
    void showRowsOfSelectedDraw();
    void showDifferences();
    void showLoan();
    // Offers the steps the selected draw's state allows.
    void enableStateButtons();
    // The draw selected, or 0 for the next request.
    int selectedDraw() const;

    const Document &m_document;
    DrawCommands &m_commands;
    QDoubleSpinBox *m_retainage;
    QDateEdit *m_nextDate;
    QTreeWidget *m_draws;
    QTreeWidget *m_rows;
    QLabel *m_differences;
    QLabel *m_loan;
    QPushButton *m_submitted;
    QPushButton *m_funded;
    QPushButton *m_returned;
    QPushButton *m_requestedAgain;
    QPushButton *m_correct;
    QPushButton *m_export;
    QPushButton *m_print;
    QTimer m_pendingRefresh;
    bool m_historyChanged = false;
};
