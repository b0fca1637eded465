#pragma once

#include "core/history/estimatehistory.h"

#include <QObject>

class Document;
class MessageBoxes;
class QAction;
class HistoryStep;
class QUndoStack;
class QWidget;

// The commands that change the history of draws, each one step of Undo that takes back the
// sheet's rows and the history together.
class DrawCommands : public QObject
{
    Q_OBJECT

public:
    // messages tells why a draw is not recorded.
    DrawCommands(Document &document, QUndoStack &undoStack, MessageBoxes &messages, QWidget *owner);

    // Edit > Record Current Payments: asks, then records the next draw and folds the current
    // amounts into the previous payments; a draw that would make the file too large to save
    // is refused, with the reason.
    void recordCurrentPayments();
    // Greys the command while there is nothing to record, as the amounts change.
    void keepEnabled(QAction *recordCurrentPayments);
    // Edit > Release Retainage: asks, then records a draw of no current amounts that pays out
    // all the retainage the lender holds, and holds none on the draws after it.
    void releaseRetainage();
    // Greys the command while the lender holds no retainage.
    void keepReleaseEnabled(QAction *releaseRetainage);
    // The retainage rate of the draws to come, in hundredths of a percent.
    void setRetainage(int basisPoints);
    // Asks what the lender did with recorded draw number's request, and keeps it as the
    // draw's new state; Requested sends a returned draw again, without a question.
    void moveDraw(int number, DrawFunding::State state);
    // Asks for the construction loan and keeps it.
    void editLoan();
    // Asks for recorded draw number's date and note, and keeps them; its amounts stay.
    void correctDraw(int number);

    // The date the next request goes out with and is recorded on: as the user set it, until
    // it is recorded or another estimate comes, else today (never before the last draw).
    QDate nextRequestDate() const;
    void setNextRequestDate(const QDate &date);

private:
    // Whether the file still holds the estimate with this draw; if not, the user is told.
    bool fitsInFile(const QList<int> &rows, const QDate &date, const QString &note);

    Document &m_document;
    QUndoStack &m_undoStack;
    MessageBoxes &m_messages;
    QWidget *const m_owner;
    QDate m_nextRequestDate;
};
