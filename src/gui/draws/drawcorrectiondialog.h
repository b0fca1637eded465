#pragma once

#include "core/history/estimatehistory.h"
#include "drawquestion.h"

#include <QDialog>

#include <optional>

class QDateEdit;
class QLineEdit;

// A recorded draw's date and note put right: a date typed wrong, a note to add. Its amounts
// stay as they were recorded, and its date stays between the draws around it, so that the
// requests' periods still follow one another.
class DrawCorrectionDialog : public QDialog
{
    Q_OBJECT

public:
    DrawCorrectionDialog(const EstimateHistory &history, int number, QWidget *parent = nullptr);

    // The draw's date and note as the user left them, or nothing when they cancelled.
    static std::optional<DrawQuestion::Answer> ask(QWidget *parent, const EstimateHistory &history, int number);

private:
    QDateEdit *m_date;
    QLineEdit *m_note;
};
