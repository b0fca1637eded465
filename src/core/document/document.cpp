#include "document.h"

#include "core/sheet/estimatesheet.h"
#include "filedialogs.h"
#include "headerfields.h"
#include "messageboxes.h"

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
    replaceHistory(history, m_historyError);
    markChanged();
}

void Document::replaceHistory(const EstimateHistory &history, const QString &error)
{
    m_history = history;
    m_historyError = error;
    emit historyChanged();
}

// A file whose history could not be read is written without it only when the user says so.
bool Document::mayLeaveHistoryOut()
{
    if (m_historyError.isEmpty())
        return true;
    const QString question = QStringLiteral("The draw history in this estimate's file could not be read when it "
                                            "was opened (%1). Saving writes the file without it.\n\nSave anyway?")
                                 .arg(m_historyError);
    // Asked again until a file is written: a save cancelled or failed leaves nothing decided.
    return m_messages.askYesNo(question, QStringLiteral("Save")) == MessageBoxes::Yes;
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
    replaceHistory({}, {});
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
    replaceHistory(content->history, content->historyError);
    markSaved();
    emit estimateReplaced();
    emit fileUsed(path);
    if (!content->damageWarning.isEmpty())
        m_messages.showWarning(content->damageWarning, QStringLiteral("Open"));
    if (!m_historyError.isEmpty())
        m_messages.showWarning(QStringLiteral("The draw history in this file could not be read: %1.\n\nThe estimate "
                                              "is shown without it; saving asks before the file is written "
                                              "without it.")
                                   .arg(m_historyError),
                               QStringLiteral("Open"));
}

Document::SaveOutcome Document::save()
{
    if (m_currentFile.isEmpty())
        return saveAs();
    if (!mayLeaveHistoryOut())
        return SaveOutcome::Cancelled;
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
    if (!mayLeaveHistoryOut())
        return SaveOutcome::Cancelled;
    return saveUnderChosenName();
}

Document::SaveOutcome Document::saveUnderChosenName()
{
    const QString path = m_dialogs.showSave(m_currentFile);
    if (path.isEmpty())
        return SaveOutcome::Cancelled;
    m_currentFile = path;
    // Whatever the old file held says nothing of the new one.
    m_fileStamp = {};
    if (!WriteEstimateFile(path))
        return SaveOutcome::Failed;
    markSaved();
    return SaveOutcome::Saved;
}

// Two windows on one file (a second double click on it in the file manager) would each save
// over the other's work without a word.
MessageBoxes::Answer Document::askIfChangedElsewhere()
{
    if (m_fileStamp.matches(m_currentFile))
        return MessageBoxes::Yes;
    return m_messages.askSaveOverOrSaveAs(
        QStringLiteral("%1 was changed by another program since you opened it. Save over it, or Save As...?")
            .arg(QFileInfo(m_currentFile).fileName()),
        QStringLiteral("Save"));
}

void Document::restore(const EstimateContent &content, const QString &file)
{
    fill(m_sheet, m_header, content);
    // A history the file held but could not be read from it is not in the copy either: the
    // file's is still not to be written over unasked.
    const std::optional<EstimateContent> original = file.isEmpty() ? std::nullopt : EstimateFile::load(file);
    replaceHistory(content.history, original ? original->historyError : QString());
    m_currentFile = file;
    m_fileStamp = {};
    emit estimateReplaced();
    markChanged();
}

EstimateContent Document::content() const
{
    EstimateContent content = contentOf(m_sheet, m_header);
    content.history = m_history;
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
    m_historyError.clear();
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
