#include "document.h"

#include "attachmentfolder.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "filedialogs.h"
#include "historysection.h"
#include "messageboxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The file's rows and columns are the sheet's item rows and data columns, one for one.
static_assert(EstimateContent::RowCount == EstimateSheet::ItemRowCount);
static_assert(EstimateContent::ColumnCount == EstimateSheet::DataColumnCount);

namespace {
QString fieldName(const EstimateFile::LostText &lost)
{
    if (!lost.place.isEmpty())
        return lost.place;
    if (lost.row == 0) {
        static const char *const headerNames[] = {"Name", "Address", "Builder"};
        return QString::fromLatin1(headerNames[lost.column - 1]);
    }
    return QStringLiteral("Row %1, %2").arg(lost.row).arg(EstimateSheet::columnHeaders().at(lost.column - 1));
}
}

QString Document::fileErrorTitle()
{
    return QStringLiteral("File Error");
}

QString Document::openErrorText()
{
    return QStringLiteral("An error as accured while trying to open this file.");
}

QString Document::saveErrorText()
{
    return QStringLiteral("An error as accured while trying to save this file.");
}

Document::Document(EstimateSheet &sheet, HeaderFields &header, FileDialogs &dialogs, MessageBoxes &messages,
                   QObject *parent)
    : QObject(parent)
    , m_sheet(sheet)
    , m_header(header)
    , m_dialogs(dialogs)
    , m_messages(messages)
{
    // Every change of the current cell counts as a change of the document, edited or not,
    // and so does every change of a cell, whichever command made it.
    connect(&sheet.grid(), &Grid::leavingCell, this, &Document::markChanged);
    connect(&sheet.grid(), &Grid::cellChanged, this, &Document::markChanged);
}

void Document::markChanged()
{
    m_documentSaved = false;
    emit changed();
}

void Document::markSaved()
{
    m_documentSaved = true;
    emit saved();
}

void Document::setHistory(const EstimateHistory &history)
{
    m_history = history;
    emit historyChanged();
    markChanged();
}

void Document::replaceContent(const EstimateContent &content)
{
    m_history = content.history;
    m_unreadLines = content.unreadLines;
    m_historyError = content.historyError;
    m_historyUnread = content.historyUnread;
    emit historyChanged();
}

// A later VARN's file may say that this one may read it but must not save over it: what it
// keeps beside the records this one knows would no longer agree with them.
bool Document::refusesSaveOver() const
{
    return m_history.later.oldestSavingVersion > HistorySection::Version;
}

Document::SaveOutcome Document::saveLaterFileAs()
{
    const QString question =
        QStringLiteral("%1 was written by a later VARN (draw history version %2): this one may read it but must not "
                       "save over it.\n\nSave the estimate under another name with Save As...?")
            .arg(QFileInfo(m_currentFile).fileName())
            .arg(m_history.later.version);
    if (m_messages.askYesNo(question, QStringLiteral("Save")) != MessageBoxes::Yes)
        return SaveOutcome::Cancelled;
    return saveUnderChosenName();
}

int Document::QuerySaveChanges()
{
    if (m_documentSaved)
        return MessageBoxes::Yes;
    switch (m_messages.askYesNoCancel(QStringLiteral("Do you want to save your Current document?"),
                                      QStringLiteral("Stop"))) {
    case MessageBoxes::Yes:
        // Whoever said yes wants the estimate kept: a save that fails or is cancelled
        // stops the command that asked, rather than letting it discard the changes.
        return save() == SaveOutcome::Saved ? MessageBoxes::Yes : MessageBoxes::Cancel;
    case MessageBoxes::No:
        return MessageBoxes::No;
    default:
        return MessageBoxes::Cancel;
    }
}

void Document::newEstimate()
{
    if (QuerySaveChanges() == MessageBoxes::Cancel)
        return;
    ClearEstimate();
}

void Document::ClearEstimate()
{
    m_currentFile.clear();
    m_header.setText(HeaderFields::Name, QString());
    m_header.setText(HeaderFields::Builder, QString());
    m_header.setText(HeaderFields::Address, QString());
    m_sheet.clearItems();
    m_fileStamp = {};
    replaceContent({});
    markSaved();
    emit estimateReplaced();
}

void Document::open()
{
    if (QuerySaveChanges() == MessageBoxes::Cancel)
        return;
    const bool fromCommandLine = !m_commandLineDocument.isEmpty() && !m_commandLineOpened;
    const QString path = fromCommandLine ? m_commandLineDocument : m_dialogs.showOpen();
    if (!path.isEmpty())
        readFile(path);
}

void Document::openFile(const QString &path)
{
    if (QuerySaveChanges() != MessageBoxes::Cancel)
        readFile(path);
}

void Document::openCopy(const QString &path)
{
    if (QuerySaveChanges() == MessageBoxes::Cancel)
        return;
    QFile file(path);
    std::optional<EstimateContent> content;
    if (file.open(QIODevice::ReadOnly))
        content = EstimateFile::decode(file);
    if (!content) {
        m_messages.showFailure(openErrorText(), fileErrorTitle(), file.errorString());
        return;
    }
    fill(m_sheet, m_header, *content);
    m_currentFile.clear();
    m_fileStamp = {};
    replaceContent(*content);
    markSaved();
    emit estimateReplaced();
}

void Document::readFile(const QString &path)
{
    // The document keeps its file until another one has been read whole, so that a later
    // Save never overwrites a file that could not be read.
    QString reason;
    // Stamped first: a change made while the file is read makes the next Save ask, not miss it.
    const FileStamp stamp = FileStamp::of(path);
    const std::optional<EstimateContent> content = ReadEstimateFile(m_sheet, m_header, path, &reason);
    if (!content) {
        m_messages.showFailure(openErrorText(), fileErrorTitle(), reason);
        return;
    }
    m_currentFile = path;
    m_fileStamp = stamp;
    replaceContent(*content);
    markSaved();
    emit estimateReplaced();
    emit fileUsed(path);
    if (const QString warning = content->openWarning(QStringLiteral("\n\n")); !warning.isEmpty())
        m_messages.showWarning(warning, QStringLiteral("Open"));
}

Document::SaveOutcome Document::save()
{
    if (m_currentFile.isEmpty())
        return saveAs();
    if (refusesSaveOver())
        return saveLaterFileAs();
    switch (askIfChangedElsewhere()) {
    case MessageBoxes::Yes:
        break;
    case MessageBoxes::No:
        return saveUnderChosenName();
    default:
        return SaveOutcome::Cancelled;
    }
    if (!WriteEstimateFile(m_currentFile))
        return SaveOutcome::Failed;
    markSaved();
    return SaveOutcome::Saved;
}

Document::SaveOutcome Document::saveAs()
{
    return saveUnderChosenName();
}

Document::SaveOutcome Document::saveUnderChosenName()
{
    const QString path = m_dialogs.showSave(m_currentFile);
    if (path.isEmpty())
        return SaveOutcome::Cancelled;
    if (refusesSaveOver() && QFileInfo(path) == QFileInfo(m_currentFile)) {
        m_messages.showWarning(QStringLiteral("%1 was written by a later VARN and cannot be saved over here: choose "
                                              "another name.")
                                   .arg(QFileInfo(path).fileName()),
                               QStringLiteral("Save"));
        return SaveOutcome::Cancelled;
    }
    const QString previousFile = m_currentFile;
    m_currentFile = path;
    // Whatever the old file held says nothing of the new one.
    m_fileStamp = {};
    if (!WriteEstimateFile(path))
        return SaveOutcome::Failed;
    // Before the views learn of the new file, so that they find the papers there.
    copyPapersFrom(previousFile);
    markSaved();
    return SaveOutcome::Saved;
}

// Saved into another folder, the estimate takes copies of its papers along, so that its paths
// lead to them there too; the papers beside the old file stay as they were.
void Document::copyPapersFrom(const QString &previousFile)
{
    if (previousFile.isEmpty() || m_history.papers.isEmpty())
        return;
    const PayeeChecks::UnavailablePapers notCopied =
        AttachmentFolder(previousFile).copyTo(AttachmentFolder(m_currentFile), m_history.papers);
    if (notCopied.isEmpty())
        return;
    QStringList papers;
    for (auto paper = notCopied.cbegin(); paper != notCopied.cend(); ++paper)
        papers << QStringLiteral("Paper %1: %2.").arg(paper.key()).arg(paper.value());
    m_messages.showWarning(QStringLiteral("The estimate is saved, but some of its papers could not be copied into its "
                                          "new folder. They are still beside %1.\n\n%2")
                               .arg(QDir::toNativeSeparators(previousFile), papers.join(u'\n')),
                           QStringLiteral("Save"));
}

// Two windows on one file (a second double click on it in the file manager) would each save
// over the other's work without a word.
MessageBoxes::Answer Document::askIfChangedElsewhere()
{
    QString reason;
    switch (m_fileStamp.compare(m_currentFile, &reason)) {
    case FileStamp::Same:
        return MessageBoxes::Yes;
    case FileStamp::Unreadable:
        m_messages.showFailure(saveErrorText(), fileErrorTitle(), reason);
        return MessageBoxes::Cancel;
    case FileStamp::Changed:
        break;
    }
    return m_messages.askSaveOverOrSaveAs(
        QStringLiteral("%1 was changed by another program since you opened it. Save over it, or Save As...?")
            .arg(QFileInfo(m_currentFile).fileName()),
        QStringLiteral("Save"));
}

void Document::restore(const EstimateContent &copy, const QString &file, const FileStamp &stamp)
{
    EstimateContent content = copy;
    // A copy an older VARN kept holds none of the lines its file could not read: they are
    // taken from the file, so that the next Save does not leave them out.
    if (content.unreadLines.isEmpty() && !file.isEmpty()) {
        if (const std::optional<EstimateContent> original = EstimateFile::load(file)) {
            content.unreadLines = original->unreadLines;
            content.historyError = original->historyError;
            content.historyUnread = original->historyUnread && content.history.isEmpty();
        }
    }
    fill(m_sheet, m_header, content);
    replaceContent(content);
    m_currentFile = file;
    // The file as this estimate last read or wrote it: another program's save since then is
    // still to be asked about.
    m_fileStamp = stamp;
    emit estimateReplaced();
    markChanged();
    if (const QString unread = content.unreadWarning(); !unread.isEmpty())
        m_messages.showWarning(unread, QStringLiteral("Restore"));
}

EstimateContent Document::content() const
{
    EstimateContent content = contentOf(m_sheet, m_header);
    content.history = m_history;
    content.unreadLines = m_unreadLines;
    content.historyError = m_historyError;
    content.historyUnread = m_historyUnread;
    return content;
}

EstimateContent Document::contentOf(const EstimateSheet &sheet, const HeaderFields &header)
{
    EstimateContent content;
    content.name = header.text(HeaderFields::Name);
    content.address = header.text(HeaderFields::Address);
    content.builder = header.text(HeaderFields::Builder);
    const Grid &grid = sheet.grid();
    for (int row = 1; row <= EstimateContent::RowCount; ++row) {
        for (int column = 1; column <= EstimateContent::ColumnCount; ++column)
            content.cells[row - 1][column - 1] = grid.text(row, column);
    }
    return content;
}

bool Document::WriteEstimateFile(const QString &path)
{
    QString errorString;
    QList<EstimateFile::LostText> lostTexts;
    const QByteArray bytes = EstimateFile::encode(content(), &lostTexts);
    if (!EstimateFile::write(path, bytes, &errorString)) {
        m_messages.showFailure(saveErrorText(), fileErrorTitle(), errorString);
        return false;
    }
    // The bytes written, not the file read back: another program's save just after is to be noticed.
    m_fileStamp = FileStamp::ofBytes(bytes);
    reportLostTexts(lostTexts);
    emit fileUsed(path);
    return true;
}

void Document::reportLostTexts(const QList<EstimateFile::LostText> &lostTexts)
{
    if (lostTexts.isEmpty())
        return;
    QStringList lines;
    for (const EstimateFile::LostText &lost : lostTexts)
        lines << fieldName(lost) + QStringLiteral(": ") + lost.characters;
    m_messages.showWarning(QStringLiteral("These characters cannot be stored in an estimate file and were "
                                          "saved as question marks:\n\n")
                               + lines.join(u'\n'),
                           QStringLiteral("Save"));
}

std::optional<EstimateContent> Document::ReadEstimateFile(EstimateSheet &sheet, HeaderFields &header,
                                                          const QString &path, QString *errorString)
{
    std::optional<EstimateContent> content = EstimateFile::load(path, errorString);
    if (content)
        fill(sheet, header, *content);
    return content;
}

void Document::fill(EstimateSheet &sheet, HeaderFields &header, const EstimateContent &content)
{
    header.setText(HeaderFields::Name, content.name);
    header.setText(HeaderFields::Address, content.address);
    header.setText(HeaderFields::Builder, content.builder);
    Grid &grid = sheet.grid();
    for (int column = 1; column <= EstimateContent::ColumnCount; ++column) {
        for (int row = 1; row <= EstimateContent::RowCount; ++row)
            grid.setText(row, column, content.cells[row - 1][column - 1]);
    }
    // Every row is recalculated as it stands; the totals, which each row's recalculation
    // would add up anew, are added up once at the end, to the same result.
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
        sheet.recalculateRow(row);
    sheet.recalculateColumnTotals();
    grid.setCurrentCell(1, 1);
}
