#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

// Asks for a payee's lien waiver: the draw it is for (one recorded or the next request), its
// kind, its amount, the day it covers the work through, and the signed paper where one is kept.
// The amount is read as the sheet reads an entry; one that is not an amount, or less than
// nothing, keeps the dialog open.
class LienWaiverDialog : public QDialog
{
    Q_OBJECT

public:
    // A waiver asked for is new; one received is the waiver asked for, its draw and kind fixed,
    // which comes signed on a paper and sometimes for another amount or day.
    enum class Purpose { Request, Receive };

    LienWaiverDialog(const EstimateHistory &history, const LienWaiver &waiver, Purpose purpose,
                     QWidget *parent = nullptr);

    // The waiver as the user left it.
    LienWaiver waiver() const;

    void accept() override;

private:
    void addDraws(const EstimateHistory &history);
    void addPapers(const EstimateHistory &history);
    void complain(const QString &problem);

    LienWaiver m_waiver;
    QComboBox *m_draw = nullptr;
    QComboBox *m_kind = nullptr;
    QLineEdit *m_amount = nullptr;
    QDateEdit *m_through = nullptr;
    QComboBox *m_paper = nullptr;
    QLabel *m_problem = nullptr;
};
