#include "papercommands.h"

#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/history/papers.h"
#include "core/reasons.h"
#include "gui/editing/historystepcommand.h"

#include <QFile>
#include <QFileInfo>

namespace {
// A copy made for a paper that is then not attached would lie in the folder, named by nothing.
void removeCopies(const AttachmentFolder &folder, const QList<Paper> &papers)
{
    for (const Paper &paper : papers)
        QFile::remove(folder.absolutePath(paper.file));
}
}

PaperCommands::PaperCommands(Document &document, QUndoStack &undoStack, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_undoStack(undoStack)
{
}

const EstimateHistory &PaperCommands::history() const
{
    return m_document.history();
}

bool PaperCommands::attach(const QStringList &sources, const Paper &paper, QString *errorString)
{
    if (m_document.CurrentFile().isEmpty())
        return Reasons::fail(errorString,
                             QStringLiteral("Save the estimate first: its papers are kept in a folder beside it."));
    const AttachmentFolder folder(m_document.CurrentFile());
    QList<Paper> attached;
    int number = Papers::nextNumber(history());
    for (const QString &source : sources) {
        const std::optional<AttachedFile> file = folder.attach(source, errorString);
        if (!file) {
            removeCopies(folder, attached);
            return false;
        }
        Paper copy = paper;
        copy.number = number++;
        copy.file = *file;
        if (copy.title.trimmed().isEmpty() || sources.size() > 1)
            copy.title = QFileInfo(source).completeBaseName();
        attached << copy;
    }
    const QString text = attached.size() == 1 ? QStringLiteral("Attach Paper %1").arg(attached.first().number)
                                              : QStringLiteral("Attach %1 Papers").arg(attached.size());
    const bool done = HistoryStepCommand::perform(m_undoStack, m_document, {}, text, [&](EstimateHistory &edited) {
        return std::all_of(attached.begin(), attached.end(),
                           [&](const Paper &one) { return Papers::add(edited, one, errorString); });
    });
    if (!done)
        removeCopies(folder, attached);
    return done;
}

bool PaperCommands::remove(int number, QString *errorString)
{
    return HistoryStepCommand::perform(
        m_undoStack, m_document, {}, QStringLiteral("Remove Paper %1").arg(number),
        [&](EstimateHistory &edited) { return Papers::remove(edited, number, errorString); });
}
