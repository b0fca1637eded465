#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;

// Asks when and why an approved change order is voided. A void without its reason keeps the
// dialog open and says so: the register is read later by someone who was not there.
class ChangeOrderVoidDialog : public QDialog
{
    Q_OBJECT

public:
    ChangeOrderVoidDialog(const ChangeOrder &order, QWidget *parent = nullptr);

    ChangeOrderVoid voided() const;

    void accept() override;

private:
    QDateEdit *m_date = nullptr;
    QLineEdit *m_reason = nullptr;
    QLabel *m_problem = nullptr;
};
