#pragma once

#include "core/history/estimatehistory.h"

#include <QObject>
#include <QStringList>

class Document;
class QUndoStack;

// Attaching papers to the estimate and taking them off: each is one step on the window's Undo
// stack. A paper's bytes are copied into the documents folder before it is listed, so that a
// copy that fails lists nothing.
class PaperCommands : public QObject
{
    Q_OBJECT

public:
    PaperCommands(Document &document, QUndoStack &undoStack, QObject *parent = nullptr);

    Document &document() const { return m_document; }
    const EstimateHistory &history() const;

    // Copies each source into the documents folder and lists it with the details of paper,
    // its title the file's name where paper has none. All of them, or none where one fails.
    bool attach(const QStringList &sources, const Paper &paper, QString *errorString = nullptr);
    bool remove(int number, QString *errorString = nullptr);

private:
    Document &m_document;
    QUndoStack &m_undoStack;
};
