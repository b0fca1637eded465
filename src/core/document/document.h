#pragma once

#include "estimatecontent.h"
#include "estimatefile.h"
#include "filestamp.h"
#include "messageboxes.h"

#include <QObject>
#include <QString>

class EstimateSheet;
class FileDialogs;
class HeaderFields;

// The document state of the open estimate and the commands that load and store it:
// New, Open, Save, Save As and the save prompt that guards unsaved changes.
class Document : public QObject
{
    Q_OBJECT

public:
    enum class SaveOutcome { Saved, Cancelled, Failed };

    // The messages of a file that cannot be opened or saved.
    static QString fileErrorTitle();
    static QString openErrorText();
    static QString saveErrorText();

    Document(EstimateSheet &sheet, HeaderFields &header, FileDialogs &dialogs, MessageBoxes &messages,
             QObject *parent = nullptr);

    EstimateSheet &sheet() const { return m_sheet; }
    HeaderFields &header() const { return m_header; }

    // The file the estimate belongs to; empty for an estimate that has no file yet.
    const QString &CurrentFile() const { return m_currentFile; }
    // True when there is nothing to save.
    bool DocumentSaved() const { return m_documentSaved; }
    void markChanged();

    // The document named on the command line, opened once at the first activation.
    void setCommandLineDocument(const QString &path) { m_commandLineDocument = path; }
    const QString &commandLineDocument() const { return m_commandLineDocument; }
    bool CommandLineOpened() const { return m_commandLineOpened; }
    void setCommandLineOpened() { m_commandLineOpened = true; }

    // 6 (saved, or nothing to save), 7 (go on without saving) or 2 (cancel).
    int QuerySaveChanges();

    void newEstimate();
    void open();
    // Opens this file, as Open does after its dialog.
    void openFile(const QString &path);
    // Opens what the file holds as an estimate of no file, so that Save asks for a name and
    // the file itself is never written; a resource of the program may be read so.
    void openCopy(const QString &path);
    SaveOutcome save();
    SaveOutcome saveAs();
    // Brings back an estimate that was never saved, as belonging to its file (empty for
    // none): the sheet shows it, and it is still to be saved.
    // stamp is what the file held when this estimate last read or wrote it.
    void restore(const EstimateContent &copy, const QString &file, const FileStamp &stamp);
    const FileStamp &fileStamp() const { return m_fileStamp; }

    // The draws and change orders recorded for the estimate, kept in its file after the sheet.
    const EstimateHistory &history() const { return m_history; }
    // A command, or its Undo, changed the history: the estimate has changed.
    void setHistory(const EstimateHistory &history);

    EstimateContent content() const;
    static EstimateContent contentOf(const EstimateSheet &sheet, const HeaderFields &header);
    // Reads a file into the sheet as Open does, recalculated, and gives what it read, the
    // history with it; nothing changes on failure, and errorString, when given, learns why.
    static std::optional<EstimateContent> ReadEstimateFile(EstimateSheet &sheet, HeaderFields &header,
                                                           const QString &path, QString *errorString = nullptr);

signals:
    // The sheet now holds another estimate (New or Open); edits before it cannot be undone.
    void estimateReplaced();
    // A file was opened or saved.
    void fileUsed(const QString &path);
    // The estimate has changes that are not in its file.
    void changed();
    // Nothing is left to save: the estimate is in its file, or was replaced.
    void saved();
    // The history is another one: a draw was recorded or taken back, or another estimate came.
    void historyChanged();

private:
    void ClearEstimate();
    void markSaved();
    void replaceContent(const EstimateContent &content);
    bool refusesSaveOver() const;
    SaveOutcome saveLaterFileAs();
    void readFile(const QString &path);
    MessageBoxes::Answer askIfChangedElsewhere();
    static void fill(EstimateSheet &sheet, HeaderFields &header, const EstimateContent &content);
    bool WriteEstimateFile(const QString &path);
    SaveOutcome saveUnderChosenName();
    void copyPapersFrom(const QString &previousFile);
    void reportLostTexts(const QList<EstimateFile::LostText> &lostTexts);

    EstimateSheet &m_sheet;
    HeaderFields &m_header;
    FileDialogs &m_dialogs;
    MessageBoxes &m_messages;
    EstimateHistory m_history;
    // What followed the estimate in its file and could not be read, written back as it was,
    // and why it could not be read.
    QByteArray m_unreadLines;
    QString m_historyError;
    bool m_historyUnread = false;
    QString m_currentFile;
    // What the file held when this window read or wrote it last.
    FileStamp m_fileStamp;
    QString m_commandLineDocument;
    bool m_documentSaved = true;
    bool m_commandLineOpened = false;
};
