#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

class Grid;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;

// Asks for a payee's name, trade, address, contact, licence, W-9 and certificate of insurance,
// and the rows of the sheet the payee works on, starting from the payee given. A payee the
// list may not hold keeps the dialog open and says why.
class PayeeDialog : public QDialog
{
    Q_OBJECT

public:
    PayeeDialog(const Grid &grid, const Payee &payee, QWidget *parent = nullptr);

    // The payee as the user left it.
    Payee payee() const;

    void accept() override;

private:
    QLineEdit *addLine(const QString &text, const QString &name);
    // A date that may be missing: the box says whether there is one, the date what it is.
    QCheckBox *addOptionalDate(const QString &text, const QString &name, const QDate &date, QDateEdit *&edit);
    void addRows(const Grid &grid);

    Payee m_payee;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_trade = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_contact = nullptr;
    QLineEdit *m_licence = nullptr;
    QCheckBox *m_hasTaxForm = nullptr;
    QDateEdit *m_taxForm = nullptr;
    QCheckBox *m_hasInsurance = nullptr;
    QDateEdit *m_insurance = nullptr;
    QListWidget *m_rows = nullptr;
    QLabel *m_problem = nullptr;
};
