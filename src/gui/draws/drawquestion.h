#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The question before a draw is recorded (Edit > Record Current Payments, Edit > Release
// Retainage): it asks what the draw does and states the draw it becomes, names the rows left
// out and why, and takes the draw's date (the next request's, today unless set, and never
// before the previous draw's) and an optional note. Yes is the default button, so Return records.
class DrawQuestion : public QDialog
{
    Q_OBJECT

public:
    struct Answer
    {
        QDate date;
        QString note;
    };

    // A note is one line on the request's history; what fits the Draws view is enough.
    static constexpr int NoteLength = 200;

    // previousDate is the date of the draw before this one, null for the first draw; date is
    // the one proposed.
    DrawQuestion(int number, const QString &question, const QStringList &leftOut, const QDate &previousDate,
                 const QDate &date, QWidget *parent = nullptr);

    // The answer, or nothing when the user said No.
    static std::optional<Answer> ask(QWidget *parent, int number, const QString &question, const QStringList &leftOut,
                                     const QDate &previousDate, const QDate &date);

private:
    void checkDate();

    const int m_number;
    const QDate m_previousDate;
    QDateEdit *m_date;
    QLineEdit *m_note;
    QLabel *m_dateProblem;
    QPushButton *m_yes = nullptr;
};
