#include "drawquestion.h"

#include "report/productinfo.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *wrappedLabel(const QString &text, const QString &name)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
}

DrawQuestion::DrawQuestion(int number, const QString &question, const QStringList &leftOut, const QDate &previousDate,
                           const QDate &date, QWidget *parent)
    : QDialog(parent)
    , m_number(number)
    , m_previousDate(previousDate)
    , m_date(new QDateEdit(date))
    , m_note(new QLineEdit)
    , m_dateProblem(wrappedLabel(QString(), QStringLiteral("dateProblem")))
{
    setWindowTitle(ProductInfo::applicationTitle());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(question, QStringLiteral("question")));
    layout->addWidget(
        wrappedLabel(QStringLiteral("They are recorded as Draw %1.").arg(number), QStringLiteral("drawNumber")));
    if (!leftOut.isEmpty())
        layout->addWidget(wrappedLabel(leftOut.join(u'\n'), QStringLiteral("leftOut")));

    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setMaxLength(NoteLength);
    m_note->setPlaceholderText(QStringLiteral("framing inspection passed"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Date:"), m_date);
    fields->addRow(QStringLiteral("N&ote:"), m_note);
    layout->addLayout(fields);
    layout->addWidget(m_dateProblem);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No);
    m_yes = buttons->button(QDialogButtonBox::Yes);
    m_yes->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_date, &QDateEdit::dateChanged, this, &DrawQuestion::checkDate);
    checkDate();
    // A note is typed at once; Return still answers Yes.
    m_note->setFocus();
}

// The draws follow one another: a date before the previous draw's is refused, saying why,
// rather than put in the history out of order.
void DrawQuestion::checkDate()
{
    const bool tooEarly = m_previousDate.isValid() && m_date->date() < m_previousDate;
    m_dateProblem->setText(tooEarly ? QStringLiteral("Draw %1 cannot be dated before Draw %2, paid on %3.")
                                          .arg(m_number)
                                          .arg(m_number - 1)
                                          .arg(m_previousDate.toString(Qt::ISODate))
                                    : QString());
    m_dateProblem->setVisible(tooEarly);
    m_yes->setEnabled(!tooEarly);
}

std::optional<DrawQuestion::Answer> DrawQuestion::ask(QWidget *parent, int number, const QString &question,
                                                      const QStringList &leftOut, const QDate &previousDate,
                                                      const QDate &date)
{
    DrawQuestion dialog(number, question, leftOut, previousDate, date, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Answer{dialog.m_date->date(), dialog.m_note->text().trimmed()};
}
