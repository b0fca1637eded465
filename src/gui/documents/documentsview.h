#pragma once

#include <QWidget>

#include <functional>

class FileDialogs;
class MessageBoxes;
class PaperCommands;
class QPushButton;
class QTableWidget;
class QUrl;
struct Paper;

// The papers kept with the estimate: invoices, receipts, signed lien waivers, inspection
// reports, photos, each with what it belongs to and whether its copy is still in the documents
// folder as it was attached. Files dropped onto the view, or chosen with Attach..., are
// attached; Open shows a paper with the desktop's program for it.
class DocumentsView : public QWidget
{
    Q_OBJECT

public:
    using Opener = std::function<bool(const QUrl &)>;

    DocumentsView(PaperCommands &commands, FileDialogs &dialogs, MessageBoxes &messages, Opener opener,
                  QWidget *parent = nullptr);

    void refresh();
    // Asks what the files are and attaches them; nothing changes where the user cancels.
    void attachFiles(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPushButton *addButton(const QString &text, const QString &name);
    const Paper *selectedPaper() const;
    void updateButtons();
    void openSelected();
    void removeSelected();

    PaperCommands &m_commands;
    FileDialogs &m_dialogs;
    MessageBoxes &m_messages;
    Opener m_opener;
    QTableWidget *m_table = nullptr;
    QPushButton *m_attach = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_remove = nullptr;
};
