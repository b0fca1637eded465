#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QDateEdit;
class QLineEdit;

// The question of Edit > Record Current Payments: it states the sum being recorded and the
// draw it becomes, names the rows left out and why, and takes the draw's date (today unless
// changed) and an optional note. Yes is the default button, so Return records.
class DrawQuestion : public QDialog
{
    Q_OBJECT

public:
    struct Answer
    {
        QDate date;
        QString note;
    };

    DrawQuestion(int number, const QString &total, const QStringList &leftOut, QWidget *parent = nullptr);

    // The answer, or nothing when the user said No.
    static std::optional<Answer> ask(QWidget *parent, int number, const QString &total, const QStringList &leftOut);

private:
    QDateEdit *m_date;
    QLineEdit *m_note;
};
