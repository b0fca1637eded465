#pragma once

#include "core/history/estimatehistory.h"
#include "lienwaiverdialog.h"

#include <QWidget>

class Document;
class Grid;
class MessageBoxes;
class PayeeCommands;
class QLabel;
class QPushButton;
class QTableWidget;
class QUndoStack;

// The estimate's payees, with the buttons that add, edit and delete them, and below the list
// the selected payee's lien waivers, draw by draw, with the buttons that add one, mark one
// received with its signed paper and remove one. It follows the history as commands and Undo
// change it.
class PayeesView : public QWidget
{
    Q_OBJECT

public:
    // Its commands go onto undoStack, the window's, as every edit of the estimate does.
    PayeesView(Document &document, QUndoStack &undoStack, MessageBoxes &messages, QWidget *parent = nullptr);

    void refresh();

private:
    QPushButton *addButton(const QString &text, const QString &name, const QString &accessibleName);
    QTableWidget *addTable(const QStringList &titles, const QString &name, const QString &accessibleName);
    void fillPayees();
    void fillWaivers();
    void updateButtons();
    const Payee *selectedPayee() const;
    const LienWaiver *selectedWaiver() const;
    void addPayee();
    void editPayee(const Payee &payee);
    void deleteSelected();
    void addWaiver();
    void markReceived();
    // Asks for the waiver until the list takes it or the user cancels.
    void askForWaiver(LienWaiver waiver, LienWaiverDialog::Purpose purpose);
    void removeWaiver();
    // Shows why a command could not be done.
    void report(bool done, const QString &errorString);

    Document &m_document;
    PayeeCommands *m_commands = nullptr;
    MessageBoxes &m_messages;
    QTableWidget *m_payees = nullptr;
    QTableWidget *m_waivers = nullptr;
    QLabel *m_waiversTitle = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_addWaiver = nullptr;
    QPushButton *m_markReceived = nullptr;
    QPushButton *m_removeWaiver = nullptr;
    // The waivers shown, row by row, so that a selection names one whatever its texts say.
    QList<LienWaiver> m_shownWaivers;
};
