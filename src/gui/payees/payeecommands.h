#pragma once

#include "core/history/historyedit.h"

#include <QObject>

class Document;
class QUndoStack;

// The Payees view's commands on the estimate: each changes the document's history through the
// payees' and the waivers' rules and is one step on the window's Undo stack. A command that
// cannot be done changes nothing and says why.
class PayeeCommands : public QObject
{
    Q_OBJECT

public:
    PayeeCommands(Document &document, QUndoStack &undoStack, QObject *parent = nullptr);

    const EstimateHistory &history() const;
    Document &document() { return m_document; }

    // Adds a new payee or changes the one with its number.
    bool put(const Payee &payee, QString *errorString = nullptr);
    bool remove(int number, QString *errorString = nullptr);
    bool addWaiver(const LienWaiver &waiver, QString *errorString = nullptr);
    bool markReceived(const LienWaiver &waiver, QString *errorString = nullptr);
    bool removeWaiver(const LienWaiver &waiver, QString *errorString = nullptr);

private:
    bool perform(const QString &text, const HistoryEdit::Change &change);

    Document &m_document;
    QUndoStack &m_undoStack;
};
