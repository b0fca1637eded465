#include "payeedialog.h"

#include "core/history/payees.h"
#include "core/sheet/estimatesheet.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

PayeeDialog::PayeeDialog(const Grid &grid, const Payee &payee, QWidget *parent)
    : QDialog(parent)
    , m_payee(payee)
{
    setWindowTitle(QStringLiteral("Payee %1").arg(payee.number));
    auto *form = new QFormLayout(this);
    m_name = addLine(payee.name, QStringLiteral("Name"));
    form->addRow(QStringLiteral("&Name:"), m_name);
    m_trade = addLine(payee.trade, QStringLiteral("Trade"));
    form->addRow(QStringLiteral("&Trade:"), m_trade);
    m_address = addLine(payee.address, QStringLiteral("Address"));
    form->addRow(QStringLiteral("A&ddress:"), m_address);
    m_contact = addLine(payee.contact, QStringLiteral("Contact"));
    form->addRow(QStringLiteral("&Contact:"), m_contact);
    m_licence = addLine(payee.licence, QStringLiteral("Licence"));
    form->addRow(QStringLiteral("&Licence:"), m_licence);
    m_hasTaxForm = addOptionalDate(QStringLiteral("&W-9 received:"), QStringLiteral("W-9 received"),
                                   payee.taxFormReceived, m_taxForm);
    form->addRow(m_hasTaxForm, m_taxForm);
    m_hasInsurance = addOptionalDate(QStringLiteral("&Insurance expires:"), QStringLiteral("Insurance expires"),
                                     payee.insuranceExpires, m_insurance);
    form->addRow(m_hasInsurance, m_insurance);
    addRows(grid);
    form->addRow(QStringLiteral("&Rows:"), m_rows);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("lblPayeeProblem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    form->addRow(m_problem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PayeeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PayeeDialog::reject);
    form->addRow(buttons);
    m_name->setFocus();
}

QLineEdit *PayeeDialog::addLine(const QString &text, const QString &name)
{
    auto *line = new QLineEdit(text, this);
    line->setAccessibleName(name);
    return line;
}

QCheckBox *PayeeDialog::addOptionalDate(const QString &text, const QString &name, const QDate &date, QDateEdit *&edit)
{
    auto *box = new QCheckBox(text, this);
    box->setChecked(date.isValid());
    edit = new QDateEdit(date.isValid() ? date : QDate::currentDate(), this);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setAccessibleName(name);
    edit->setEnabled(box->isChecked());
    connect(box, &QCheckBox::toggled, edit, &QDateEdit::setEnabled);
    return box;
}

// Made after the fields above it, so that Tab reaches the rows last.
void PayeeDialog::addRows(const Grid &grid)
{
    m_rows = new QListWidget(this);
    m_rows->setObjectName(QStringLiteral("lstPayeeRows"));
    m_rows->setAccessibleName(QStringLiteral("Rows the payee works on"));
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row) {
        auto *item = new QListWidgetItem(EstimateSheet::rowName(grid, row), m_rows);
        item->setData(Qt::UserRole, row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_payee.worksOn(row) ? Qt::Checked : Qt::Unchecked);
    }
    m_rows->setCurrentRow(0);
}

Payee PayeeDialog::payee() const
{
    Payee payee = m_payee;
    payee.name = m_name->text().trimmed();
    payee.trade = m_trade->text().trimmed();
    payee.address = m_address->text().trimmed();
    payee.contact = m_contact->text().trimmed();
    payee.licence = m_licence->text().trimmed();
    payee.taxFormReceived = m_hasTaxForm->isChecked() ? m_taxForm->date() : QDate();
    payee.insuranceExpires = m_hasInsurance->isChecked() ? m_insurance->date() : QDate();
    // The rows kept keep their place and what a later VARN wrote of them.
    payee.rows.removeIf([this](const PayeeRow &link) {
        const QListWidgetItem *item = m_rows->item(link.row - 1);
        return !item || item->checkState() != Qt::Checked;
    });
    for (int index = 0; index < m_rows->count(); ++index) {
        const int row = m_rows->item(index)->data(Qt::UserRole).toInt();
        if (m_rows->item(index)->checkState() == Qt::Checked && !payee.worksOn(row))
            payee.rows.append(PayeeRow{row, {}});
    }
    return payee;
}

void PayeeDialog::accept()
{
    QString errorString;
    if (!Payees::check(payee(), &errorString)) {
        m_problem->setText(errorString);
        m_problem->show();
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}
