#include "drawcorrectiondialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

DrawCorrectionDialog::DrawCorrectionDialog(const EstimateHistory &history, int number, QWidget *parent)
    : QDialog(parent)
    , m_date(new QDateEdit(history.draws.at(number - 1).date))
    , m_note(new QLineEdit(history.draws.at(number - 1).note))
{
    setWindowTitle(QStringLiteral("Draw %1 Date and Note").arg(number));
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    if (number > 1)
        m_date->setMinimumDate(history.draws.at(number - 2).date);
    if (number < history.draws.size())
        m_date->setMaximumDate(history.draws.at(number).date);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setMaxLength(DrawQuestion::NoteLength);
    auto *form = new QFormLayout(this);
    auto *amounts = new QLabel(QStringLiteral("Its amounts stay as they were recorded."));
    amounts->setWordWrap(true);
    form->addRow(amounts);
    form->addRow(QStringLiteral("&Date:"), m_date);
    form->addRow(QStringLiteral("N&ote:"), m_note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    m_date->setFocus();
}

std::optional<DrawQuestion::Answer> DrawCorrectionDialog::ask(QWidget *parent, const EstimateHistory &history,
                                                              int number)
{
    DrawCorrectionDialog dialog(history, number, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return DrawQuestion::Answer{dialog.m_date->date(), dialog.m_note->text().trimmed()};
}
