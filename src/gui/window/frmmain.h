#pragma once

#include "core/document/document.h"
#include "core/document/filedialogs.h"
#include "core/document/headerfields.h"
#include "core/document/messageboxes.h"
#include "core/registration/fileiconassociation.h"
#include "core/sheet/estimatesheet.h"
#include "gui/print/printerdialog.h"

#include <QMainWindow>

#include <memory>

class CellEditor;
class EditHistory;
class RecentFiles;
class RecoveryKeeper;
class ClipboardCommands;
class EstimatePrinter;
class HelpTips;
class MouseWheel;
class GridView;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolBar;

// The main window: the estimate sheet, the header fields, the menus and the toolbar. It
// owns the document for the life of the program.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The platform parts the window talks through; tests pass their own.
    struct Services
    {
        std::unique_ptr<FileDialogs> fileDialogs;
        std::unique_ptr<MessageBoxes> messageBoxes;
        std::unique_ptr<FileIconAssociation> fileIconAssociation;
        std::unique_ptr<PrinterDialog> printerDialog;
    };

    explicit FrmMain(const QString &commandLineDocument = QString(), Services services = {});
    ~FrmMain() override;

    EstimateSheet &sheet() { return m_sheet; }
    Document &document() { return *m_document; }
    HeaderFields &header() { return m_header; }

    // One wheel message: the sheet scrolls by one step, whatever the amount of the turn.
    void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos);

public slots:
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    void mnuPrintPreview_Click();
    void mnuExportPdf_Click();
    void mnuExportCsv_Click();
    void mnuExportXlsx_Click();
    void openRecentFile(const QString &path);
    void mnuExit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuRecordPayments_Click();
    void mnuAbout_Click();
    void mnuEditCell_Click();
    void Toolbar1_ButtonClick(const QString &key);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createToolBar();
    void bindHeaderFields();
    void setTabOrder();
    void describeControls();
    void place(QWidget *widget, int left, int top, int width, int height) const;

    void Form_Load();
    void checkDocumentType();
    void restoreWindowGeometry();
    void saveWindowGeometry() const;
    void Form_Resize();
    void Form_Activate();
    bool Form_Unload();

    void commitOpenEdit();
    void acceptDroppedEstimates();
    bool takeDroppedEstimate(QEvent *event);
    void openDroppedFile(const QString &path);
    void connectEditHistory();
    void showRecentFiles();
    void enableRecordPayments();
    // Writes the estimate in the export format of this suffix to a file the user picks.
    void exportTo(const QString &suffix);
    void showUndoState();
    // At the first start: large enough to show the whole sheet, as far as the screen allows.
    void showWholeSheet(const QMargins &frame);
    // The file an export proposes: the estimate's own folder and name, with the suffix.
    QString exportPreset(const QString &suffix) const;
    void showHeaderText(HeaderFields::Field field);
    QList<QKeySequence> menuShortcuts() const;

    EstimateSheet m_sheet;
    HeaderFields m_header;
    Services m_services;
    std::unique_ptr<Document> m_document;
    bool m_ending = false;
    bool m_activating = false;
    bool m_leftCopiesOffered = false;
    bool m_shownBefore = false;

    GridView *grdMain = nullptr;
    QLineEdit *txtCell = nullptr;
    QLineEdit *txtTemp = nullptr;
    QLineEdit *txtName = nullptr;
    QPlainTextEdit *txtAddress = nullptr;
    QLineEdit *txtBuilder = nullptr;
    QPlainTextEdit *txtHelp = nullptr;
    QGroupBox *fraLocation = nullptr;
    QGroupBox *fraBuilder = nullptr;
    QLabel *lblLogo = nullptr;
    QToolBar *Toolbar1 = nullptr;
    CellEditor *m_cellEditor = nullptr;
    ClipboardCommands *m_clipboard = nullptr;
    HelpTips *m_helpTips = nullptr;
    ::MouseWheel *m_wheelHook = nullptr;
    std::unique_ptr<EstimatePrinter> m_printer;
    EditHistory *m_history = nullptr;
    RecentFiles *m_recentFiles = nullptr;
    RecoveryKeeper *m_recovery = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_exitAction = nullptr;
    // The commands the toolbar shares with the File menu.
    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_recordPaymentsAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QList<QAction *> m_recentActions;
    QList<QAction *> m_menuActions;
};
