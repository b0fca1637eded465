#include "lienwaiverdialog.h"

#include "core/history/lienwaivers.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

LienWaiverDialog::LienWaiverDialog(const EstimateHistory &history, const LienWaiver &waiver, Purpose purpose,
                                   QWidget *parent)
    : QDialog(parent)
    , m_waiver(waiver)
    , m_draw(new QComboBox(this))
    , m_kind(new QComboBox(this))
    , m_amount(new QLineEdit(this))
    , m_through(new QDateEdit(waiver.through.isValid() ? waiver.through : QDate::currentDate(), this))
    , m_paper(new QComboBox(this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Lien Waiver of Payee %1").arg(waiver.payee));
    addDraws(history);
    for (const LienWaiver::Kind kind : {LienWaiver::Kind::ConditionalProgress, LienWaiver::Kind::UnconditionalProgress,
                                        LienWaiver::Kind::ConditionalFinal, LienWaiver::Kind::UnconditionalFinal}) {
        m_kind->addItem(LienWaivers::kindName(kind), int(kind));
        if (kind == waiver.kind)
            m_kind->setCurrentIndex(m_kind->count() - 1);
    }
    if (waiver.amount != 0)
        m_amount->setText(Money::plainNumberText(double(waiver.amount) / 100));
    m_through->setCalendarPopup(true);
    m_through->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    addPapers(history);
    m_problem->setObjectName(QStringLiteral("lblWaiverProblem"));
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LienWaiverDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LienWaiverDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Draw:"), m_draw);
    form->addRow(QStringLiteral("&Kind:"), m_kind);
    form->addRow(QStringLiteral("&Amount:"), m_amount);
    form->addRow(QStringLiteral("&Through:"), m_through);
    form->addRow(QStringLiteral("&Paper:"), m_paper);
    form->addRow(m_problem);
    form->addRow(buttons);
    if (purpose == Purpose::Receive) {
        setWindowTitle(QStringLiteral("Lien Waiver of Payee %1 Received").arg(waiver.payee));
        m_draw->setEnabled(false);
        m_kind->setEnabled(false);
        m_paper->setFocus();
    } else {
        m_amount->setFocus();
    }
}

void LienWaiverDialog::addDraws(const EstimateHistory &history)
{
    for (const Draw &draw : history.draws)
        m_draw->addItem(QStringLiteral("Draw %1 of %2").arg(draw.number).arg(draw.date.toString(Qt::ISODate)),
                        draw.number);
    const int next = history.nextDrawNumber();
    m_draw->addItem(QStringLiteral("Draw %1 (the next request)").arg(next), next);
    m_draw->setCurrentIndex(std::max(0, m_draw->findData(m_waiver.draw)));
}

void LienWaiverDialog::addPapers(const EstimateHistory &history)
{
    m_paper->addItem(QStringLiteral("None"), 0);
    for (const Paper &paper : history.papers) {
        m_paper->addItem(QStringLiteral("%1 %2").arg(paper.number).arg(paper.title), paper.number);
        if (paper.number == m_waiver.paper)
            m_paper->setCurrentIndex(m_paper->count() - 1);
    }
}

LienWaiver LienWaiverDialog::waiver() const
{
    LienWaiver waiver = m_waiver;
    waiver.draw = m_draw->currentData().toInt();
    waiver.kind = LienWaiver::Kind(m_kind->currentData().toInt());
    waiver.amount = MoneyCents::fromValue(Money::readAmount(m_amount->text()).value_or(0));
    waiver.through = m_through->date();
    waiver.paper = m_paper->currentData().toInt();
    return waiver;
}

void LienWaiverDialog::complain(const QString &problem)
{
    m_problem->setText(problem);
    m_problem->show();
    m_amount->setFocus();
    m_amount->selectAll();
}

void LienWaiverDialog::accept()
{
    const std::optional<double> amount = Money::readAmount(m_amount->text());
    if (!amount)
        return complain(QStringLiteral("\"%1\" is not an amount: type it as a number, such as 2000 or 150.50.")
                            .arg(m_amount->text()));
    QString errorString;
    if (!LienWaivers::checkAmount(MoneyCents::fromValue(*amount), &errorString))
        return complain(errorString);
    QDialog::accept();
}
