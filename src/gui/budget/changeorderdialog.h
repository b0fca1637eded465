#pragma once

#include "core/history/estimatehistory.h"

#include <QDialog>

class Grid;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

// Asks for a change order's date, row, description, amount, status and source, starting
// from the order given. The amount is read as the sheet reads an entry; one that is not an
// amount keeps the dialog open and says so.
class ChangeOrderDialog : public QDialog
{
    Q_OBJECT

public:
    ChangeOrderDialog(const Grid &grid, const ChangeOrder &order, QWidget *parent = nullptr);

    // The order as the user left it.
    ChangeOrder order() const;

    void accept() override;

private:
    void addRows(const Grid &grid);

    ChangeOrder m_order;
    QDateEdit *m_date = nullptr;
    QComboBox *m_row = nullptr;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_amount = nullptr;
    QComboBox *m_status = nullptr;
    QComboBox *m_source = nullptr;
    QLabel *m_problem = nullptr;
};
