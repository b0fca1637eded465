#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

class Grid;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

// What a paper is and what it belongs to, asked before it is attached: its kind, date,
// amount where it has one, title, and the draw (or one of its lines), change order or payee.
class PaperDialog : public QDialog
{
    Q_OBJECT

public:
    PaperDialog(const Grid &grid, const EstimateHistory &history, const Paper &proposed, QWidget *parent = nullptr);

    Paper paper() const;

private:
    void fillSubjects(const EstimateHistory &history);
    void fillRows(const Grid &grid);
    void followSubject();
    void acceptIfAmount();

    Paper m_proposed;
    QComboBox *m_kind = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_hasAmount = nullptr;
    QLineEdit *m_amount = nullptr;
    QLineEdit *m_title = nullptr;
    QComboBox *m_subject = nullptr;
    QComboBox *m_row = nullptr;
};
