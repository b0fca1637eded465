#include "changeorderdialog.h"

#include "core/history/changeorders.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
template <typename Value>
void addChoices(QComboBox *box, std::initializer_list<Value> values, QString (*name)(Value), Value chosen)
{
    for (const Value value : values) {
        box->addItem(name(value), int(value));
        if (value == chosen)
            box->setCurrentIndex(box->count() - 1);
    }
}

template <typename Value> Value chosenValue(const QComboBox *box)
{
    return Value(box->currentData().toInt());
}
}

ChangeOrderDialog::ChangeOrderDialog(const Grid &grid, const ChangeOrder &order, QWidget *parent)
    : QDialog(parent)
    , m_order(order)
    , m_date(new QDateEdit(order.date.isValid() ? order.date : QDate::currentDate(), this))
    , m_row(new QComboBox(this))
    , m_description(new QLineEdit(order.description, this))
    , m_amount(new QLineEdit(this))
    , m_status(new QComboBox(this))
    , m_source(new QComboBox(this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Change Order %1").arg(order.number));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    addRows(grid);
    if (order.amount != 0)
        m_amount->setText(Money::plainNumberText(double(order.amount) / 100));
    addChoices(m_status, {ChangeOrder::Status::Pending, ChangeOrder::Status::Approved, ChangeOrder::Status::Rejected},
               &ChangeOrders::statusName, order.status);
    addChoices(m_source, {ChangeOrder::Source::Loan, ChangeOrder::Source::Contingency, ChangeOrder::Source::OwnerCash},
               &ChangeOrders::sourceName, order.source);
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChangeOrderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ChangeOrderDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Date:"), m_date);
    form->addRow(QStringLiteral("&Row:"), m_row);
    form->addRow(QStringLiteral("D&escription:"), m_description);
    form->addRow(QStringLiteral("&Amount:"), m_amount);
    form->addRow(QStringLiteral("&Status:"), m_status);
    form->addRow(QStringLiteral("S&ource:"), m_source);
    form->addRow(m_problem);
    form->addRow(buttons);
    m_description->setFocus();
}

void ChangeOrderDialog::addRows(const Grid &grid)
{
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        m_row->addItem(EstimateSheet::rowName(grid, row), row);
        if (row == m_order.row)
            m_row->setCurrentIndex(m_row->count() - 1);
    }
}

ChangeOrder ChangeOrderDialog::order() const
{
    ChangeOrder order = m_order;
    order.date = m_date->date();
    order.row = m_row->currentData().toInt();
    order.description = m_description->text().trimmed();
    order.amount = MoneyCents::fromValue(Money::readAmount(m_amount->text()).value_or(0));
    order.status = chosenValue<ChangeOrder::Status>(m_status);
    order.source = chosenValue<ChangeOrder::Source>(m_source);
    return order;
}

void ChangeOrderDialog::accept()
{
    if (!Money::readAmount(m_amount->text())) {
        m_problem->setText(QStringLiteral("\"%1\" is not an amount: type it as a number, such as 2000 or -150.50.")
                               .arg(m_amount->text()));
        m_problem->show();
        m_amount->setFocus();
        m_amount->selectAll();
        return;
    }
    QDialog::accept();
}
