#pragma once

#include "core/history/historyedit.h"

#include <QList>
#include <QObject>

class Document;
class EstimateSheet;
class QUndoStack;

// The register's commands on the estimate: each changes the sheet and the document's history
// together through the change orders' arithmetic and is one step on the window's Undo stack.
// A command that cannot be done changes nothing and says why.
class ChangeOrderCommands : public QObject
{
    Q_OBJECT

public:
    ChangeOrderCommands(Document &document, QUndoStack &undoStack, QObject *parent = nullptr);

    EstimateSheet &sheet() const;
    Document &document() { return m_document; }
    const EstimateHistory &history() const;

    // Adds a new order or changes the one with its number.
    bool put(const ChangeOrder &order, QString *errorString = nullptr);
    bool setStatus(int number, ChangeOrder::Status status, QString *errorString = nullptr);
    bool voidOrder(int number, const ChangeOrderVoid &voided, QString *errorString = nullptr);
    bool remove(int number, QString *errorString = nullptr);
    bool setContingencyRow(int row, QString *errorString = nullptr);

private:
    bool perform(const QList<int> &rows, const QString &text, const HistoryEdit::Change &change);

    Document &m_document;
    QUndoStack &m_undoStack;
};
