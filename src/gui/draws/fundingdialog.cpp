#include "fundingdialog.h"

#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QString titleOf(int draw, DrawFunding::State state)
{
    switch (state) {
    case DrawFunding::State::Submitted:
        return QStringLiteral("Draw %1 Submitted").arg(draw);
    case DrawFunding::State::Funded:
        return QStringLiteral("Draw %1 Funded").arg(draw);
    case DrawFunding::State::Returned:
        return QStringLiteral("Draw %1 Returned").arg(draw);
    case DrawFunding::State::Requested:
        break;
    }
    return QStringLiteral("Draw %1 Requested Again").arg(draw);
}

QLineEdit *amountEdit(const QString &name, Cents amount)
{
    auto *edit = new QLineEdit(MoneyCents::text(amount));
    edit->setObjectName(name);
    edit->setAccessibleName(name);
    return edit;
}

bool holdsPositiveAmount(const QLineEdit *edit)
{
    return Money::holdsAmount(edit->text()) && MoneyCents::fromText(edit->text()) >= 0;
}
}

FundingDialog::FundingDialog(int draw, Cents requested, const DrawFunding &funding, DrawFunding::State state,
                             QWidget *parent)
    : QDialog(parent)
    , m_funding(funding)
    , m_date(new QDateEdit(QDate::currentDate()))
{
    m_funding.state = state;
    setWindowTitle(titleOf(draw, state));
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto *form = new QFormLayout;
    form->addRow(
        new QLabel(QStringLiteral("Draw %1 asked the loan for %2.").arg(draw).arg(MoneyCents::text(requested))));
    form->addRow(QStringLiteral("&Date:"), m_date);
    if (state == DrawFunding::State::Funded) {
        m_funded = amountEdit(QStringLiteral("Amount funded"), requested);
        m_fees = amountEdit(QStringLiteral("Fees and interest withheld"), funding.feesWithheld);
        m_shortfall = new QComboBox;
        m_shortfall->setObjectName(QStringLiteral("shortfall"));
        m_shortfall->addItems(
            {QStringLiteral("Asked for again in the next request"), QStringLiteral("Paid by the owner")});
        m_shortfall->setCurrentIndex(int(funding.shortfall));
        form->addRow(QStringLiteral("Amount &funded:"), m_funded);
        form->addRow(QStringLiteral("F&ees and interest withheld:"), m_fees);
        form->addRow(QStringLiteral("&What was not funded is:"), m_shortfall);
    }
    if (state == DrawFunding::State::Returned) {
        m_reason = new QLineEdit;
        m_reason->setObjectName(QStringLiteral("reason"));
        form->addRow(QStringLiteral("&Reason:"), m_reason);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setLayout(form);
    for (QLineEdit *edit : {m_funded, m_fees}) {
        if (edit)
            connect(edit, &QLineEdit::textChanged, this, [this, buttons] {
                buttons->button(QDialogButtonBox::Ok)
                    ->setEnabled(holdsPositiveAmount(m_funded) && holdsPositiveAmount(m_fees)
                                 && MoneyCents::fromText(m_fees->text()) <= MoneyCents::fromText(m_funded->text()));
            });
    }
}

std::optional<DrawFunding> FundingDialog::ask(QWidget *parent, int draw, Cents requested, const DrawFunding &funding,
                                              DrawFunding::State state)
{
    FundingDialog dialog(draw, requested, funding, state, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.answer();
}

DrawFunding FundingDialog::answer() const
{
    DrawFunding funding = m_funding;
    switch (funding.state) {
    case DrawFunding::State::Submitted:
        funding.submitted = m_date->date();
        break;
    case DrawFunding::State::Funded:
        funding.funded = m_date->date();
        funding.fundedAmount = MoneyCents::fromText(m_funded->text());
        funding.feesWithheld = MoneyCents::fromText(m_fees->text());
        funding.shortfall = DrawFunding::Shortfall(m_shortfall->currentIndex());
        break;
    case DrawFunding::State::Returned:
        funding.returned = m_date->date();
        funding.returnReason = m_reason->text().simplified();
        break;
    case DrawFunding::State::Requested:
        break;
    }
    return funding;
}
