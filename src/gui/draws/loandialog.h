#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

// The construction loan the draws are paid from: its amount, lender, number, dates, the
// interest rate and reserve where it has them, and the owner's funds set aside beside it.
// Dates are typed year-month-day and may stay empty; an amount of nothing removes the loan.
class LoanDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoanDialog(const std::optional<Loan> &loan, QWidget *parent = nullptr);

    // The loan as the user left it (nothing once its amount is emptied), or, when the user
    // cancelled, nothing in the outer optional.
    static std::optional<std::optional<Loan>> ask(QWidget *parent, const std::optional<Loan> &loan);

private:
    std::optional<Loan> answer() const;
    void checkFields();

    Loan m_loan;
    QLineEdit *m_amount;
    QLineEdit *m_lender;
    QLineEdit *m_number;
    QLineEdit *m_closing;
    QLineEdit *m_maturity;
    QLineEdit *m_rate;
    QLineEdit *m_reserve;
    QLineEdit *m_ownerFunds;
    QPushButton *m_ok = nullptr;
};
