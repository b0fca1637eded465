#include "documentsview.h"

#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "core/history/papers.h"
#include "core/sheet/estimatesheet.h"
#include "papercommands.h"
#include "paperdialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Papers");

QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

QString stateText(AttachmentFolder::State state)
{
    switch (state) {
    case AttachmentFolder::State::Present:
        return QStringLiteral("In the folder");
    case AttachmentFolder::State::Missing:
        return QStringLiteral("Missing");
    case AttachmentFolder::State::Changed:
        return QStringLiteral("Changed since attached");
    }
    return {};
}
}

DocumentsView::DocumentsView(PaperCommands &commands, FileDialogs &dialogs, MessageBoxes &messages, Opener opener,
                             QWidget *parent)
    : QWidget(parent)
    , m_commands(commands)
    , m_dialogs(dialogs)
    , m_messages(messages)
    , m_opener(std::move(opener))
    , m_table(new QTableWidget(0, int(Papers::registerTitles().size()), this))
{
    setObjectName(QStringLiteral("documentsView"));
    setAcceptDrops(true);
    m_table->setObjectName(QStringLiteral("tblPapers"));
    m_table->setAccessibleName(Title);
    m_table->setHorizontalHeaderLabels(Papers::registerTitles());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_attach = addButton(QStringLiteral("&Attach..."), QStringLiteral("cmdAttachPaper"));
    m_open = addButton(QStringLiteral("&Open"), QStringLiteral("cmdOpenPaper"));
    m_remove = addButton(QStringLiteral("&Remove"), QStringLiteral("cmdRemovePaper"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_attach, m_open, m_remove})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_attach, &QPushButton::clicked, this, [this] {
        const QStringList paths = m_dialogs.showAttach();
        if (!paths.isEmpty())
            attachFiles(paths);
    });
    connect(m_open, &QPushButton::clicked, this, &DocumentsView::openSelected);
    connect(m_table, &QTableWidget::cellDoubleClicked, m_open, &QPushButton::click);
    connect(m_remove, &QPushButton::clicked, this, &DocumentsView::removeSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &DocumentsView::updateButtons);
    connect(&m_commands.document(), &Document::historyChanged, this, &DocumentsView::refresh);
    // Saved, not only written: a Save As into another folder copies the papers after the write.
    connect(&m_commands.document(), &Document::saved, this, &DocumentsView::refresh);
    refresh();
}

QPushButton *DocumentsView::addButton(const QString &text, const QString &name)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    return button;
}

void DocumentsView::refresh()
{
    const int selected = selectedPaper() ? selectedPaper()->number : 0;
    const Document &document = m_commands.document();
    const EstimateHistory &history = document.history();
    const AttachmentFolder folder(document.CurrentFile());
    m_table->setRowCount(int(history.papers.size()));
    for (int index = 0; index < history.papers.size(); ++index) {
        const Paper &paper = history.papers.at(index);
        const QStringList texts =
            Papers::registerTexts(document.sheet().grid(), history, paper, stateText(folder.stateOf(paper.file)));
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setData(Qt::UserRole, paper.number);
            m_table->setItem(index, column, item);
        }
        if (paper.number == selected)
            m_table->selectRow(index);
    }
    m_table->resizeColumnsToContents();
    updateButtons();
}

const Paper *DocumentsView::selectedPaper() const
{
    const QList<QTableWidgetItem *> items = m_table->selectedItems();
    return items.isEmpty() ? nullptr : Papers::find(m_commands.history(), items.first()->data(Qt::UserRole).toInt());
}

void DocumentsView::updateButtons()
{
    m_open->setEnabled(selectedPaper());
    m_remove->setEnabled(selectedPaper());
}

void DocumentsView::attachFiles(const QStringList &paths)
{
    const Document &document = m_commands.document();
    if (document.CurrentFile().isEmpty()) {
        m_messages.showWarning(QStringLiteral("Save the estimate first: its papers are kept in a folder beside it."),
                               Title);
        return;
    }
    Paper proposed;
    proposed.date = QDate::currentDate();
    proposed.subjectNumber = document.history().nextDrawNumber();
    if (paths.size() == 1)
        proposed.title = QFileInfo(paths.first()).completeBaseName();
    PaperDialog dialog(document.sheet().grid(), document.history(), proposed, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString errorString;
    if (!m_commands.attach(paths, dialog.paper(), &errorString))
        m_messages.showWarning(QStringLiteral("The paper could not be attached: %1").arg(errorString), Title);
}

void DocumentsView::openSelected()
{
    const Paper *paper = selectedPaper();
    if (!paper)
        return;
    const AttachmentFolder folder(m_commands.document().CurrentFile());
    if (folder.stateOf(paper->file) == AttachmentFolder::State::Missing) {
        m_messages.showWarning(QStringLiteral("%1 is missing from the documents folder:\n%2")
                                   .arg(paper->title, folder.absolutePath(paper->file)),
                               Title);
        return;
    }
    if (!m_opener(QUrl::fromLocalFile(folder.absolutePath(paper->file))))
        m_messages.showWarning(QStringLiteral("No program on this computer opens %1.").arg(paper->title), Title);
}

void DocumentsView::removeSelected()
{
    const Paper *paper = selectedPaper();
    if (!paper)
        return;
    const int number = paper->number;
    const QString question = QStringLiteral("Take paper %1, \"%2\", off the estimate? Its copy stays in the "
                                            "documents folder.")
                                 .arg(number)
                                 .arg(paper->title);
    if (m_messages.askYesNoDefaultNo(question, Title) != MessageBoxes::Yes)
        return;
    QString errorString;
    if (!m_commands.remove(number, &errorString))
        m_messages.showWarning(errorString, Title);
}

void DocumentsView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void DocumentsView::dropEvent(QDropEvent *event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    attachFiles(paths);
}
