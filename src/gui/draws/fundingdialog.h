#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;

// What the lender did with a draw's request: sent on a date, funded (on a date, with the
// amount and the fees withheld, and where a shortfall goes) or returned with the reason.
// The dialog asks only what the new state needs, and keeps the rest as it was.
class FundingDialog : public QDialog
{
    Q_OBJECT

public:
    FundingDialog(int draw, Cents requested, const DrawFunding &funding, DrawFunding::State state,
                  QWidget *parent = nullptr);

    // The draw's funding in the new state, or nothing when the user cancelled.
    static std::optional<DrawFunding> ask(QWidget *parent, int draw, Cents requested, const DrawFunding &funding,
                                          DrawFunding::State state);

private:
    DrawFunding answer() const;

    DrawFunding m_funding;
    QDateEdit *m_date;
    QLineEdit *m_funded = nullptr;
    QLineEdit *m_fees = nullptr;
    QComboBox *m_shortfall = nullptr;
    QLineEdit *m_reason = nullptr;
};
