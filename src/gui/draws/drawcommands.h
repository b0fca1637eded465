#pragma once

#include "core/history/estimatehistory.h"

#include <QObject>

class Document;
class EditHistory;
class QWidget;

// The commands that change the history of draws, each one step of Undo that takes back the
// sheet's rows and the history together.
class DrawCommands : public QObject
{
    Q_OBJECT

public:
    DrawCommands(Document &document, EditHistory &edits, QWidget *owner);

    // Edit > Record Current Payments: asks, then records the next draw and folds the current
    // amounts into the previous payments.
    void recordCurrentPayments();
    // The retainage rate of the draws to come, in hundredths of a percent.
    void setRetainage(int basisPoints);

private:
    class HistoryChange;
    void pushHistoryChange(const EstimateHistory &before, const QString &name);

    Document &m_document;
    EditHistory &m_edits;
    QWidget *const m_owner;
};
