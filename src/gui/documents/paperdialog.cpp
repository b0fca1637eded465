#include "paperdialog.h"

#include "core/history/papers.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "core/sheet/moneycents.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
// A subject in the list: its kind and number, packed so that the list can hold it, whatever
// number a file gave it.
qint64 packed(Paper::Subject subject, int number)
{
    return qint64(subject) << 32 | quint32(number);
}

Paper::Subject subjectOf(qint64 packed)
{
    return Paper::Subject(packed >> 32);
}
}

PaperDialog::PaperDialog(const Grid &grid, const EstimateHistory &history, const Paper &proposed, QWidget *parent)
    : QDialog(parent)
    , m_proposed(proposed)
    , m_kind(new QComboBox(this))
    , m_date(new QDateEdit(proposed.date.isValid() ? proposed.date : QDate::currentDate(), this))
    , m_hasAmount(new QCheckBox(QStringLiteral("A&mount:"), this))
    , m_amount(new QLineEdit(this))
    , m_title(new QLineEdit(proposed.title, this))
    , m_subject(new QComboBox(this))
    , m_row(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Attach Paper"));
    m_kind->setObjectName(QStringLiteral("cboPaperKind"));
    m_date->setObjectName(QStringLiteral("datPaper"));
    m_hasAmount->setObjectName(QStringLiteral("chkPaperAmount"));
    m_amount->setObjectName(QStringLiteral("txtPaperAmount"));
    m_title->setObjectName(QStringLiteral("txtPaperTitle"));
    m_subject->setObjectName(QStringLiteral("cboPaperSubject"));
    m_row->setObjectName(QStringLiteral("cboPaperItem"));
    for (const Paper::Kind kind : Papers::kinds())
        m_kind->addItem(Papers::kindName(kind), int(kind));
    m_kind->setCurrentIndex(m_kind->findData(int(proposed.kind)));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_hasAmount->setChecked(proposed.amount.has_value());
    m_amount->setText(proposed.amount ? MoneyCents::text(*proposed.amount) : QString());
    m_amount->setEnabled(m_hasAmount->isChecked());
    m_amount->setAccessibleName(QStringLiteral("Amount"));
    fillSubjects(history);
    fillRows(grid);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Kind:"), m_kind);
    form->addRow(QStringLiteral("&Date:"), m_date);
    form->addRow(m_hasAmount, m_amount);
    form->addRow(QStringLiteral("&Title:"), m_title);
    form->addRow(QStringLiteral("&Belongs to:"), m_subject);
    form->addRow(QStringLiteral("&Item:"), m_row);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Attach"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_hasAmount, &QCheckBox::toggled, m_amount, &QLineEdit::setEnabled);
    connect(m_subject, &QComboBox::currentIndexChanged, this, &PaperDialog::followSubject);
    connect(buttons, &QDialogButtonBox::accepted, this, &PaperDialog::acceptIfAmount);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    followSubject();
}

void PaperDialog::fillSubjects(const EstimateHistory &history)
{
    const int next = history.nextDrawNumber();
    for (int draw = next; draw >= 1; --draw)
        m_subject->addItem(draw == next ? QStringLiteral("Draw %1 (the next request)").arg(draw)
                                        : QStringLiteral("Draw %1").arg(draw),
                           packed(Paper::Subject::Draw, draw));
    for (const ChangeOrder &order : history.changeOrders)
        m_subject->addItem(QStringLiteral("Change order %1").arg(order.number),
                           packed(Paper::Subject::ChangeOrder, order.number));
    for (const Payee &payee : history.payees)
        m_subject->addItem(payee.name, packed(Paper::Subject::Payee, payee.number));
    const Paper::Subject subject =
        m_proposed.subject == Paper::Subject::DrawLine ? Paper::Subject::Draw : m_proposed.subject;
    const int index = m_subject->findData(packed(subject, m_proposed.subjectNumber));
    m_subject->setCurrentIndex(std::max(index, 0));
}

void PaperDialog::fillRows(const Grid &grid)
{
    m_row->addItem(QStringLiteral("The whole draw"), 0);
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
        m_row->addItem(EstimateSheet::rowName(grid, row), row);
    m_row->setCurrentIndex(std::max(m_row->findData(m_proposed.row), 0));
}

// A line is chosen of a draw only.
void PaperDialog::followSubject()
{
    m_row->setEnabled(subjectOf(m_subject->currentData().toLongLong()) == Paper::Subject::Draw);
}

void PaperDialog::acceptIfAmount()
{
    if (m_hasAmount->isChecked() && !Money::holdsAmount(m_amount->text())) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("\"%1\" is not an amount: type it as $1,234.50 or 1234.50.").arg(m_amount->text()));
        m_amount->setFocus();
        return;
    }
    accept();
}

Paper PaperDialog::paper() const
{
    Paper paper = m_proposed;
    paper.kind = Paper::Kind(m_kind->currentData().toInt());
    paper.date = m_date->date();
    paper.amount = m_hasAmount->isChecked() ? std::optional(MoneyCents::fromText(m_amount->text())) : std::nullopt;
    paper.title = m_title->text().trimmed();
    const qint64 subject = m_subject->currentData().toLongLong();
    paper.subject = subjectOf(subject);
    paper.subjectNumber = int(subject & 0xffffffff);
    paper.row = 0;
    if (paper.subject == Paper::Subject::Draw && m_row->currentData().toInt() != 0) {
        paper.subject = Paper::Subject::DrawLine;
        paper.row = m_row->currentData().toInt();
    }
    return paper;
}
