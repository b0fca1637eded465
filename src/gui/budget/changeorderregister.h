#pragma once

#include "core/history/estimatehistory.h"

#include <QTimer>
#include <QWidget>

class ChangeOrderCommands;
class MessageBoxes;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The change-order register: every order with its number, date, row, description, amount,
// status and source, the buttons that add, edit, approve, reject, void and delete them, the row
// that is the contingency, and the rows whose adjusted estimate the register does not
// explain because it was edited by hand. It follows the sheet and the history as they change.
class ChangeOrderRegister : public QWidget
{
    Q_OBJECT

public:
    ChangeOrderRegister(ChangeOrderCommands &commands, MessageBoxes &messages, QWidget *parent = nullptr);

    void refresh();

private:
    QPushButton *addButton(const QString &text, const QString &name);
    void fillTable();
    void fillContingencyRows();
    void showHandEdits();
    void updateButtons();
    const ChangeOrder *selectedOrder() const;
    void editOrder(const ChangeOrder &order);
    void setSelectedStatus(ChangeOrder::Status status);
    // Asks before an order takes more from the contingency than it has left; true to go on.
    bool mayTakeFromContingency(const ChangeOrder &order);
    void voidSelected();
    void deleteSelected();
    void chooseContingencyRow();
    // Shows why a command could not be done.
    void report(bool done, const QString &errorString);

    ChangeOrderCommands &m_commands;
    MessageBoxes &m_messages;
    QTableWidget *m_table = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_approve = nullptr;
    QPushButton *m_reject = nullptr;
    QPushButton *m_void = nullptr;
    QPushButton *m_delete = nullptr;
    QComboBox *m_contingency = nullptr;
    QLabel *m_handEdits = nullptr;
    QTimer m_pendingRefresh;
};
