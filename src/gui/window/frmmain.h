#pragma once

#include "core/document/document.h"
#include "gui/draws/drawrequestoutput.h"
#include "gui/print/estimateprinter.h"

#include <QMainWindow>

#include <functional>

class ChangeOrderCommands;
class PaperCommands;
class ClipboardCommands;
class DrawCommands;
class EditHistory;
class EstimateForm;
class EstimateStatusBar;
class MainActions;
class QDockWidget;
struct PlatformServices;
class RecentFiles;
class RecoveryKeeper;
class SheetZoom;
class WheelHook;

// The main window: the estimate form, the menus and the toolbar over the open document,
// from start-up to the end of the program.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The document and the platform parts outlive the window.
    FrmMain(Document &document, PlatformServices &services, QWidget *parent = nullptr);

    Document &document() const { return m_document; }
    EstimateSheet &sheet() const { return m_document.sheet(); }
    HeaderFields &header() const { return m_document.header(); }

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
    void mnuExportDrawRequest_Click();
    void mnuExportBudget_Click();
    void mnuExportLoan_Click();
    void mnuExportDrawPackage_Click();
    void mnuExit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuRecordPayments_Click();
    void mnuReleaseRetainage_Click();
    void mnuEditCell_Click();
    void mnuAdvice_Click();
    void mnuZoomIn_Click();
    void mnuZoomOut_Click();
    void mnuActualSize_Click();
    void mnuUserGuide_Click();
    void mnuOpenExample_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(const QString &key);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    bool Form_Unload();

    void connectEditing();
    QDockWidget *addView(std::function<QWidget *()> makeView, const QString &caption, const char *name);
    void checkDocumentType();
    void greetNewUser();
    void applyZoom();
    void openRecentFile(const QString &path);
    void openFile(const QString &path);
    void commitOpenEdit();
    void exportAs(const QString &suffix);

    Document &m_document;
    PlatformServices &m_services;
    EstimatePrinter m_printer;
    DrawRequestOutput m_drawOutput;
    EstimateForm *m_form = nullptr;
    MainActions *m_actions = nullptr;
    EstimateStatusBar *m_statusBar = nullptr;
    ClipboardCommands *m_clipboard = nullptr;
    EditHistory *m_history = nullptr;
    DrawCommands *m_drawCommands = nullptr;
    ChangeOrderCommands *m_changeOrders = nullptr;
    PaperCommands *m_papers = nullptr;
    WheelHook *m_wheelHook = nullptr;
    RecentFiles *m_recentFiles = nullptr;
    RecoveryKeeper *m_recovery = nullptr;
    SheetZoom *m_zoom = nullptr;
    bool m_ending = false;
    bool m_activating = false;
    bool m_leftCopiesOffered = false;
};
