#include "frmmain.h"

#include "core/document/document.h"
#include "core/document/programsettings.h"
#include "core/document/recentfiles.h"
#include "core/document/recoverykeeper.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/twips.h"
#include "editcontextmenu.h"
#include "estimatedropfilter.h"
#include "estimateform.h"
#include "estimatestatusbar.h"
#include "gui/about/frmabout.h"
#include "gui/budget/budgetview.h"
#include "gui/budget/changeordercommands.h"
#include "gui/budget/changeorderregister.h"
#include "gui/dialogs/platformservices.h"
#include "gui/documents/documentsview.h"
#include "gui/documents/papercommands.h"
#include "gui/draws/drawcommands.h"
#include "gui/draws/drawsview.h"
#include "gui/editing/celleditor.h"
#include "gui/editing/clipboardcommands.h"
#include "gui/editing/edithistory.h"
#include "gui/editing/headerfieldchange.h"
#include "gui/editing/wheelhook.h"
#include "gui/help/userguide.h"
#include "gui/payees/payeesview.h"
#include "gui/sheet/gridview.h"
#include "mainactions.h"
#include "report/cellpainter.h"
#include "report/exportcommand.h"
#include "report/productinfo.h"
#include "report/reports.h"
#include "sheetzoom.h"
#include "shortcutpriorityfilter.h"
#include "windowgeometry.h"
#include "windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

FrmMain::FrmMain(Document &document, PlatformServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
    , m_services(services)
    , m_printer(document.sheet(), document.header(), *services.printerDialog, *services.messageBoxes)
    , m_drawOutput(document, *services.fileDialogs, *services.messageBoxes, *services.printerDialog, this)
{
    setObjectName(QStringLiteral("frmMain"));
    m_zoom = new SheetZoom(this);
    // The menus, the status bar and the views follow a desktop's larger text; the user's zoom
    // is for the sheet and its header fields.
    QFont windowFont = CellPainter::sheetFont();
    windowFont.setPointSizeF(CellPainter::SheetFontPoints * SheetZoom::desktopFactor());
    setFont(windowFont);
    m_actions = new MainActions(*this);
    m_form = new EstimateForm(document, this);
    m_form->setZoom(m_zoom->factor());
    connect(m_zoom, &SheetZoom::changed, this, &FrmMain::applyZoom);
    setCentralWidget(m_form);
    // A view opened or closed beside the sheet changes the room the sheet has.
    connect(m_form, &EstimateForm::resized, this, &FrmMain::Form_Resize);
    m_statusBar = new EstimateStatusBar(document, document.sheet().grid(), m_form->grid(), this);
    setStatusBar(m_statusBar);
    greetNewUser();
    new EditContextMenu(m_actions->editingActions(), m_form->editingControls(), this);
    connectEditing();
    m_drawCommands = new DrawCommands(document, m_history->stack(), *m_services.messageBoxes, this);
    m_drawCommands->keepEnabled(m_actions->recordPayments());
    m_drawCommands->keepReleaseEnabled(m_actions->releaseRetainage());
    addView([this] { return new DrawsView(m_document, *m_drawCommands, m_drawOutput); }, QStringLiteral("&Draws"),
            "dckDraws");
    m_changeOrders = new ChangeOrderCommands(document, m_history->stack(), this);
    addView([this] { return new ChangeOrderRegister(*m_changeOrders, *m_services.messageBoxes); },
            QStringLiteral("&Change Orders"), "dckChangeOrders");
    addView([this] { return new BudgetView(m_document); }, QStringLiteral("&Budget"), "dckBudget");
    addView([this] { return new PayeesView(m_document, m_history->stack(), *m_services.messageBoxes); },
            QStringLiteral("&Payees"), "dckPayees");
    m_papers = new PaperCommands(document, m_history->stack(), this);
    addView(
        [this] {
            return new DocumentsView(*m_papers, *m_services.fileDialogs, *m_services.messageBoxes,
                                     [](const QUrl &url) { return QDesktopServices::openUrl(url); });
        },
        QStringLiteral("Pape&rs"), "dckPapers");
    auto *shortcutFilter = new ShortcutPriorityFilter(m_actions->priorityShortcuts(), this);
    for (QWidget *control : m_form->textControls())
        control->installEventFilter(shortcutFilter);
    connect(new EstimateDropFilter(this), &EstimateDropFilter::estimateDropped, this, &FrmMain::openFile);
    new WindowPlacement(*this, [this] { return m_form->outerSizeForWholeSheet(m_statusBar->sizeHint().height()); });
    Form_Load();
}

void FrmMain::connectEditing()
{
    m_clipboard = new ClipboardCommands(sheet(), m_form->cellEditor(), this, this);
    connect(m_clipboard, &ClipboardCommands::rowsLeftOut, m_statusBar, &EstimateStatusBar::showRowsLeftOut);
    m_history = new EditHistory(sheet(), this);
    m_history->follow(m_form->cellEditor(), *m_clipboard);
    connect(m_history, &EditHistory::applied, &m_document, &Document::markChanged);
    connect(m_history, &EditHistory::applied, m_form->grid(), &GridView::scrollToCurrentCell);
    connect(&m_document, &Document::estimateReplaced, m_history, &EditHistory::clear);
    connect(m_form, &EstimateForm::headerEdited, this,
            [this](HeaderFields::Field field, const QString &before, const QString &after, const QString &name) {
                m_history->stack().push(new HeaderFieldChange(m_document, field, before, after, name));
            });
    m_actions->followUndoStack(m_history->stack());
}

// A view beside the sheet, closed at first so that the sheet has the window as designed; the
// View menu opens it. It is made when first opened: a start-up that makes views nobody opens,
// a chart among them, keeps the user waiting for nothing.
QDockWidget *FrmMain::addView(std::function<QWidget *()> makeView, const QString &caption, const char *name)
{
    auto *dock = new QDockWidget(QString(caption).remove(u'&'), this);
    dock->setObjectName(QLatin1String(name));
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    dock->toggleViewAction()->setText(caption);
    m_actions->addView(dock->toggleViewAction());
    // Made and opened wide enough to read the first time; the user's width stays after that.
    connect(dock->toggleViewAction(), &QAction::toggled, this, [this, dock, makeView](bool shown) {
        if (!shown || dock->widget())
            return;
        dock->setWidget(makeView());
        resizeDocks({dock}, {width() * 2 / 5}, Qt::Horizontal);
    });
    return dock;
}

void FrmMain::Form_Load()
{
    setWindowTitle(ProductInfo::applicationTitle());
    // The first registration waits for the desktop's tools to bring their databases up to date,
    // some hundred milliseconds in which the window would not yet show; nothing in the window
    // depends on it, so it follows once the window is up.
    QTimer::singleShot(0, this, &FrmMain::checkDocumentType);
    m_wheelHook = new WheelHook(this);
    connect(m_wheelHook, &WheelHook::turned, this, [this](int mouseKeys, int rotation, const QPoint &position) {
        MouseWheel(mouseKeys, rotation, position.x(), position.y());
    });
    m_wheelHook->HookWheel(this);
    m_recentFiles = new RecentFiles(this);
    connect(&m_document, &Document::fileUsed, m_recentFiles, &RecentFiles::add);
    m_actions->followRecentFiles(*m_recentFiles);
    connect(m_actions, &MainActions::recentFileChosen, this, &FrmMain::openRecentFile);
    m_recovery = new RecoveryKeeper(m_document, *m_services.messageBoxes,
                                    QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
                                    RecoveryKeeper::delayFromEnvironment(), this);
    const Twips::Scale scale = m_form->scale();
    resize(scale.x(EstimateForm::DesignWidth),
           menuBar()->sizeHint().height() + scale.y(EstimateForm::DesignHeight) + m_statusBar->sizeHint().height());
}

// A start without settings is a new user's first: the window's place, kept when it closes,
// and the file type's registration leave settings for every later one.
void FrmMain::greetNewUser()
{
    if (ProgramSettings().allKeys().isEmpty())
        m_statusBar->showFirstStartHint();
}

void FrmMain::applyZoom()
{
    m_form->setZoom(m_zoom->factor());
    Form_Resize();
}

void FrmMain::checkDocumentType()
{
    ProgramSettings settings;
    m_services.fileIconAssociation->registerIfMoved(settings, ProgramSettings::applicationName(),
                                                    QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void FrmMain::Form_Resize()
{
    if (!m_form)
        return;
    // The layout rule is for the window's size; an open view beside the sheet takes its share,
    // and the status bar below it its height.
    const int besideTheSheet = width() - m_form->width();
    m_form->fitGridToWindow(frameGeometry().size() - QSize(besideTheSheet, 0),
                            m_statusBar->isVisible() ? m_statusBar->height() : 0);
}

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Opened once the window is on screen and laid out, even where no window manager
    // ever activates it.
    QTimer::singleShot(0, this, &FrmMain::Form_Activate);
}

bool FrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

void FrmMain::Form_Activate()
{
    // The window is activated again when a question on top of it closes; that is no new
    // start-up.
    if (m_activating)
        return;
    const QScopedValueRollback<bool> activating(m_activating, true);
    if (!m_leftCopiesOffered) {
        // Before the command line's document, so that a restored estimate is guarded by
        // the save prompt when that document opens.
        m_leftCopiesOffered = true;
        m_recovery->offerLeftCopies();
    }
    if (m_document.commandLineDocument().isEmpty() || m_document.CommandLineOpened())
        return;
    mnuOpen_Click();
    m_document.setCommandLineOpened();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !Form_Unload()) {
        event->ignore();
        return;
    }
    m_wheelHook->UnhookWheel();
    m_recovery->end();
    WindowGeometry::save(*this);
    event->accept();
}

bool FrmMain::Form_Unload()
{
    commitOpenEdit();
    return m_document.QuerySaveChanges() != MessageBoxes::Cancel;
}

void FrmMain::mnuExit_Click()
{
    commitOpenEdit();
    if (m_document.QuerySaveChanges() == MessageBoxes::Cancel)
        return;
    // The question has been asked; closing must not ask it again.
    m_ending = true;
    close();
}

void FrmMain::commitOpenEdit()
{
    m_form->cellEditor().commitInPlace();
    m_form->finishHeaderEdit();
}

void FrmMain::openRecentFile(const QString &path)
{
    if (QFileInfo::exists(path)) {
        openFile(path);
        return;
    }
    m_services.messageBoxes->showCritical(Document::openErrorText(), Document::fileErrorTitle());
    m_recentFiles->remove(path);
}

void FrmMain::openFile(const QString &path)
{
    commitOpenEdit();
    m_document.openFile(path);
}

void FrmMain::mnuNew_Click()
{
    commitOpenEdit();
    m_document.newEstimate();
}

void FrmMain::mnuOpen_Click()
{
    commitOpenEdit();
    m_document.open();
}

void FrmMain::mnuSave_Click()
{
    commitOpenEdit();
    if (m_document.save() == Document::SaveOutcome::Saved)
        m_statusBar->showSaved(m_document.CurrentFile());
}

void FrmMain::mnuSaveAs_Click()
{
    commitOpenEdit();
    if (m_document.saveAs() == Document::SaveOutcome::Saved)
        m_statusBar->showSaved(m_document.CurrentFile());
}

void FrmMain::mnuPrint_Click()
{
    commitOpenEdit();
    m_printer.print(this);
}

void FrmMain::mnuPrintPreview_Click()
{
    commitOpenEdit();
    m_printer.preview(this);
}

void FrmMain::exportAs(const QString &suffix)
{
    commitOpenEdit();
    m_statusBar->showExported(
        ExportCommand::run(Reports::estimate(), suffix, m_document, *m_services.fileDialogs, *m_services.messageBoxes));
}

void FrmMain::mnuExportPdf_Click()
{
    exportAs(QStringLiteral("pdf"));
}

void FrmMain::mnuExportCsv_Click()
{
    exportAs(QStringLiteral("csv"));
}

void FrmMain::mnuExportXlsx_Click()
{
    exportAs(QStringLiteral("xlsx"));
}

void FrmMain::mnuExportDrawRequest_Click()
{
    commitOpenEdit();
    m_statusBar->showExported(m_drawOutput.exportRequest(0, m_drawCommands->nextRequestDate()));
}

void FrmMain::mnuExportBudget_Click()
{
    commitOpenEdit();
    m_statusBar->showExported(ExportCommand::run(Reports::budget(), QStringLiteral("pdf"), m_document,
                                                 *m_services.fileDialogs, *m_services.messageBoxes));
}

void FrmMain::mnuExportLoan_Click()
{
    commitOpenEdit();
    m_statusBar->showExported(ExportCommand::run(Reports::loan(), QStringLiteral("pdf"), m_document,
                                                 *m_services.fileDialogs, *m_services.messageBoxes));
}

void FrmMain::mnuExportDrawPackage_Click()
{
    commitOpenEdit();
    QStringList notices;
    const QString path = ExportCommand::run(Reports::drawPackage(), QStringLiteral("pdf"), m_document,
                                            *m_services.fileDialogs, *m_services.messageBoxes, &notices);
    m_statusBar->showExported(path, notices);
}

void FrmMain::mnuUndo_Click()
{
    commitOpenEdit();
    m_history->stack().undo();
}

void FrmMain::mnuRedo_Click()
{
    commitOpenEdit();
    m_history->stack().redo();
}

void FrmMain::mnuCut_Click()
{
    m_clipboard->cut();
}

void FrmMain::mnuCopy_Click()
{
    m_clipboard->copy();
}

void FrmMain::mnuPaste_Click()
{
    m_clipboard->paste();
}

void FrmMain::mnuDelete_Click()
{
    m_clipboard->deleteSelection();
}

void FrmMain::mnuRecordPayments_Click()
{
    commitOpenEdit();
    m_drawCommands->recordCurrentPayments();
}

void FrmMain::mnuReleaseRetainage_Click()
{
    commitOpenEdit();
    m_drawCommands->releaseRetainage();
}

void FrmMain::mnuEditCell_Click()
{
    m_form->cellEditor().editCurrentCell();
}

void FrmMain::mnuAdvice_Click()
{
    m_form->showAdvice();
}

void FrmMain::mnuZoomIn_Click()
{
    m_zoom->zoomIn();
}

void FrmMain::mnuZoomOut_Click()
{
    m_zoom->zoomOut();
}

void FrmMain::mnuActualSize_Click()
{
    m_zoom->actualSize();
}

void FrmMain::mnuUserGuide_Click()
{
    UserGuide::showFor(this);
}

// A copy, so that nothing the user saves can ever take the example's place.
void FrmMain::mnuOpenExample_Click()
{
    commitOpenEdit();
    m_document.openCopy(QStringLiteral(":/example/example.vrn"));
}

void FrmMain::mnuAbout_Click()
{
    FrmAbout::showModal(this, *m_services.messageBoxes);
}

// Only the turn's direction counts: a notch or two, a key held or not, the sheet scrolls one step.
void FrmMain::MouseWheel(int /*MouseKeys*/, int Rotation, int /*Xpos*/, int /*Ypos*/)
{
    Grid &grid = sheet().grid();
    grid.setTopRow(
        WheelHook::scrolledTopRow(grid.topRow(), Rotation, grid.height(), grid.rowHeight(0), grid.rowCount()));
}

void FrmMain::Toolbar1_ButtonClick(const QString &key)
{
    for (QAction *button : m_actions->toolBar()->actions()) {
        if (button->data() == key)
            button->trigger();
    }
}
