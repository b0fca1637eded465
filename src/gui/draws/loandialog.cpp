#include "loandialog.h"

#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace {
constexpr char DateFormat[] = "yyyy-MM-dd";
constexpr int ThousandthsPerPercent = 1000;

QLineEdit *field(const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setAccessibleName(name);
    return edit;
}

QString amountText(Cents amount)
{
    return amount == 0 ? QString() : MoneyCents::text(amount);
}

QString dateText(const QDate &date)
{
    return date.toString(QLatin1String(DateFormat));
}

bool holdsDate(const QLineEdit *edit)
{
    return edit->text().trimmed().isEmpty()
        || QDate::fromString(edit->text().trimmed(), QLatin1String(DateFormat)).isValid();
}

bool holdsAmount(const QLineEdit *edit)
{
    const QString text = edit->text().trimmed();
    return text.isEmpty() || (Money::holdsAmount(text) && MoneyCents::fromText(text) >= 0);
}

std::optional<int> rateOf(const QString &text)
{
    bool read = false;
    const double percent = QString(text).remove(u'%').trimmed().toDouble(&read);
    if (text.trimmed().isEmpty())
        return 0;
    if (!read || percent < 0 || percent > 100)
        return std::nullopt;
    return int(std::lround(percent * ThousandthsPerPercent));
}
}

LoanDialog::LoanDialog(const std::optional<Loan> &loan, QWidget *parent)
    : QDialog(parent)
    , m_loan(loan.value_or(Loan{}))
    , m_amount(field(QStringLiteral("Loan amount"), amountText(m_loan.amount)))
    , m_lender(field(QStringLiteral("Lender"), m_loan.lender))
    , m_number(field(QStringLiteral("Loan number"), m_loan.loanNumber))
    , m_closing(field(QStringLiteral("Closing date"), dateText(m_loan.closing)))
    , m_maturity(field(QStringLiteral("Maturity date"), dateText(m_loan.maturity)))
    , m_rate(field(QStringLiteral("Interest rate"),
                   m_loan.interestRateThousandths == 0
                       ? QString()
                       : QString::number(double(m_loan.interestRateThousandths) / ThousandthsPerPercent)
                           + QStringLiteral(" %")))
    , m_reserve(field(QStringLiteral("Interest reserve"), amountText(m_loan.interestReserve)))
    , m_ownerFunds(field(QStringLiteral("Owner's funds set aside"), amountText(m_loan.ownerFunds)))
{
    setWindowTitle(QStringLiteral("Construction Loan"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Loan &amount:"), m_amount);
    form->addRow(QStringLiteral("&Lender:"), m_lender);
    form->addRow(QStringLiteral("Loan &number:"), m_number);
    form->addRow(QStringLiteral("&Closing date:"), m_closing);
    form->addRow(QStringLiteral("&Maturity date:"), m_maturity);
    form->addRow(QStringLiteral("&Interest rate (optional):"), m_rate);
    form->addRow(QStringLiteral("Interest &reserve (optional):"), m_reserve);
    form->addRow(QStringLiteral("&Owner's funds set aside:"), m_ownerFunds);
    for (QLineEdit *date : {m_closing, m_maturity})
        date->setPlaceholderText(QStringLiteral("year-month-day"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    for (QLineEdit *edit : {m_amount, m_closing, m_maturity, m_rate, m_reserve, m_ownerFunds})
        connect(edit, &QLineEdit::textChanged, this, &LoanDialog::checkFields);
    checkFields();
}

std::optional<std::optional<Loan>> LoanDialog::ask(QWidget *parent, const std::optional<Loan> &loan)
{
    LoanDialog dialog(loan, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.answer();
}

// OK stays greyed while a field holds what the loan cannot take, so nothing typed is lost to
// a value read wrongly.
void LoanDialog::checkFields()
{
    m_ok->setEnabled(holdsAmount(m_amount) && holdsAmount(m_reserve) && holdsAmount(m_ownerFunds)
                     && holdsDate(m_closing) && holdsDate(m_maturity) && rateOf(m_rate->text()).has_value());
}

std::optional<Loan> LoanDialog::answer() const
{
    Loan loan = m_loan;
    loan.amount = MoneyCents::fromText(m_amount->text().trimmed());
    if (loan.amount == 0)
        return std::nullopt;
    loan.lender = m_lender->text().simplified();
    loan.loanNumber = m_number->text().simplified();
    loan.closing = QDate::fromString(m_closing->text().trimmed(), QLatin1String(DateFormat));
    loan.maturity = QDate::fromString(m_maturity->text().trimmed(), QLatin1String(DateFormat));
    loan.interestRateThousandths = rateOf(m_rate->text()).value_or(0);
    loan.interestReserve = MoneyCents::fromText(m_reserve->text().trimmed());
    loan.ownerFunds = MoneyCents::fromText(m_ownerFunds->text().trimmed());
    return loan;
}
