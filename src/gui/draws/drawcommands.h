#pragma once

#include "core/history/estimatehistory.h"

#include <QObject>

class Document;
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
    DrawCommands(Document &document, QUndoStack &undoStack, QWidget *owner);

    // Edit > Record Current Payments: asks, then records the next draw and folds the current
    // amounts into the previous payments.
    void recordCurrentPayments();
    // Greys the command while there is nothing to record, as the amounts change.
    void keepEnabled(QAction *recordCurrentPayments);
    // The retainage rate of the draws to come, in hundredths of a percent.
    void setRetainage(int basisPoints);

private:
    Document &m_document;
    QUndoStack &m_undoStack;
    QWidget *const m_owner;
};
