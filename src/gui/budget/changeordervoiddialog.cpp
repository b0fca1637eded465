#include "changeordervoiddialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

ChangeOrderVoidDialog::ChangeOrderVoidDialog(const ChangeOrder &order, QWidget *parent)
    : QDialog(parent)
    , m_date(new QDateEdit(QDate::currentDate(), this))
    , m_reason(new QLineEdit(this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Void Change Order %1").arg(order.number));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_reason->setObjectName(QStringLiteral("txtVoidReason"));
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChangeOrderVoidDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ChangeOrderVoidDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(new QLabel(QStringLiteral("Change order %1, \"%2\", is taken back: its amount leaves the "
                                           "adjusted estimates, and the register keeps it as void.")
                                .arg(order.number)
                                .arg(order.description),
                            this));
    form->addRow(QStringLiteral("&Reason:"), m_reason);
    form->addRow(QStringLiteral("&Date:"), m_date);
    form->addRow(m_problem);
    form->addRow(buttons);
    m_reason->setFocus();
}

ChangeOrderVoid ChangeOrderVoidDialog::voided() const
{
    return {m_date->date(), m_reason->text().trimmed(), {}};
}

void ChangeOrderVoidDialog::accept()
{
    if (m_reason->text().trimmed().isEmpty()) {
        m_problem->setText(QStringLiteral("Say why the change order is voided."));
        m_problem->show();
        m_reason->setFocus();
        return;
    }
    QDialog::accept();
}
