#include "frmmain.h"

#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "core/document/recentfiles.h"
#include "core/document/recoverykeeper.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/money.h"
#include "core/sheet/twips.h"
#include "gui/about/frmabout.h"
#include "gui/dialogs/qtfiledialogs.h"
#include "gui/dialogs/qtmessageboxes.h"
#include "gui/editing/celleditor.h"
#include "gui/editing/clipboardcommands.h"
#include "gui/editing/edithistory.h"
#include "gui/editing/helptips.h"
#include "gui/editing/mousewheel.h"
#include "gui/print/estimateprinter.h"
#include "gui/sheet/gridview.h"
#include "report/cellpainter.h"
#include "report/exportformats.h"
#include "report/productinfo.h"
#include "shortcutpriorityfilter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>
#include <QWindow>

namespace {
// The design's client area, and the toolbar along its top edge.
constexpr int DesignClientWidth = 9885;
constexpr int DesignClientHeight = 7950;
constexpr int DesignToolBarHeight = 420;
constexpr int GridLeft = 120;
constexpr int GridTop = 1800;
// Up to the text box beside it, so that the caption fits in fonts wider than the design's.
constexpr int LabelWidth = 720;

qreal screenDpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

// The grid's natural row height: one line of its font with a little air.
int defaultRowHeight()
{
    const QFontMetrics metrics(CellPainter::sheetFont());
    return Twips::fromPixels(metrics.height() + 4, screenDpiY());
}

// The settings and the document type are named after the executable, as it is called.
QString settingsName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

// The rectangle moved and, where it must be, shrunk to lie whole on the free area of the
// screen it was on, or of the main screen when that one is gone.
QRect clampedToScreen(const QRect &geometry)
{
    const QScreen *screen = QGuiApplication::screenAt(geometry.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return geometry;
    const QRect available = screen->availableGeometry();
    QRect clamped(geometry.topLeft(), geometry.size().boundedTo(available.size()));
    clamped.moveLeft(qBound(available.left(), clamped.left(), available.right() - clamped.width() + 1));
    clamped.moveTop(qBound(available.top(), clamped.top(), available.bottom() - clamped.height() + 1));
    return clamped;
}

// The desktop's key for quitting; where it has none, Ctrl+Q, which no other command takes.
QKeySequence quitShortcut()
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(QKeySequence::Quit);
    return bindings.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : bindings.first();
}

// The one estimate file a drag carries, or nothing.
QString estimateFileOf(const QMimeData *mime)
{
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return path.endsWith(QStringLiteral(".vrn"), Qt::CaseInsensitive) ? path : QString();
}

FrmMain::Services withDefaults(FrmMain::Services services, QWidget *owner)
{
    if (!services.fileDialogs)
        services.fileDialogs = std::make_unique<QtFileDialogs>(owner);
    if (!services.messageBoxes)
        services.messageBoxes = std::make_unique<QtMessageBoxes>(owner);
    if (!services.fileIconAssociation)
        services.fileIconAssociation = FileIconAssociation::forThisPlatform();
    if (!services.printerDialog)
        services.printerDialog = std::make_unique<PrinterDialog>();
    return services;
}
}

FrmMain::FrmMain(const QString &commandLineDocument, Services services)
    : m_sheet(defaultRowHeight())
    , m_services(withDefaults(std::move(services), this))
    , m_document(std::make_unique<Document>(m_sheet, m_header, *m_services.fileDialogs, *m_services.messageBoxes))
{
    setObjectName(QStringLiteral("frmMain"));
    setFont(CellPainter::sheetFont());
    m_document->setCommandLineDocument(commandLineDocument);
    createMenus();
    createToolBar();
    createControls();
    bindHeaderFields();
    Form_Load();
}

FrmMain::~FrmMain()
{
    // The controls refer to the sheet and the document, which die before the window's
    // children do: the controls go first, without asking to save.
    m_ending = true;
    m_wheelHook->UnhookWheel();
    delete m_helpTips;
    delete m_clipboard;
    delete m_cellEditor;
    delete takeCentralWidget();
}

void FrmMain::place(QWidget *widget, int left, int top, int width, int height) const
{
    widget->setGeometry(Twips::Scale::of(*this).rect(left, top, width, height));
}

void FrmMain::createMenus()
{
    const auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                                const QList<QKeySequence> &shortcuts, void (FrmMain::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(shortcuts);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    // The menu's own commands act before the focused text box sees their keys.
    const auto addCommand = [this, &addItem](QMenu *menu, const char *name, const QString &caption,
                                             const QKeySequence &shortcut, void (FrmMain::*handler)()) {
        QAction *action = addItem(menu, name, caption, {shortcut}, handler);
        m_menuActions << action;
        return action;
    };

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu *file = m_fileMenu;
    file->setObjectName(QStringLiteral("mnuFileTop"));
    m_newAction =
        addCommand(file, "mnuNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), &FrmMain::mnuNew_Click);
    m_openAction = addCommand(file, "mnuOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                              &FrmMain::mnuOpen_Click);
    m_saveAction = addCommand(file, "mnuSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                              &FrmMain::mnuSave_Click);
    addCommand(file, "mnuSaveAs", QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_A),
               &FrmMain::mnuSaveAs_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeperator1"));
    m_printAction = addCommand(file, "mnuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                               &FrmMain::mnuPrint_Click);
    addItem(file, "mnuPrintPreview", QStringLiteral("Print Pre&view..."), {}, &FrmMain::mnuPrintPreview_Click);
    addItem(file, "mnuExportPdf", QStringLiteral("Export as P&DF..."), {}, &FrmMain::mnuExportPdf_Click);
    addItem(file, "mnuExportCsv", QStringLiteral("Export as &CSV..."), {}, &FrmMain::mnuExportCsv_Click);
    addItem(file, "mnuExportXlsx", QStringLiteral("Export as Sp&readsheet..."), {}, &FrmMain::mnuExportXlsx_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeperator2"));
    for (int i = 0; i < RecentFiles::MaximumCount; ++i) {
        QAction *recent = file->addAction(QString());
        recent->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, recent] { openRecentFile(recent->data().toString()); });
        m_recentActions << recent;
    }
    m_recentActions << file->addSeparator();
    m_recentActions.last()->setVisible(false);
    m_exitAction = addCommand(file, "mnuExit", QStringLiteral("E&xit"), quitShortcut(), &FrmMain::mnuExit_Click);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEditTop"));
    // Text boxes keep their own undo: these keys reach the menu only from the sheet.
    m_undoAction = addItem(edit, "mnuUndo", QStringLiteral("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                           &FrmMain::mnuUndo_Click);
    m_redoAction = addItem(edit, "mnuRedo", QStringLiteral("&Redo"),
                           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                           &FrmMain::mnuRedo_Click);
    edit->addSeparator();
    addCommand(edit, "mnuCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), &FrmMain::mnuCut_Click);
    addCommand(edit, "mnuCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &FrmMain::mnuCopy_Click);
    addCommand(edit, "mnuPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
               &FrmMain::mnuPaste_Click);
    addCommand(edit, "mnuDelete", QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete), &FrmMain::mnuDelete_Click);
    edit->addSeparator();
    m_recordPaymentsAction = addItem(edit, "mnuRecordPayments", QStringLiteral("Rec&ord Current Payments"), {},
                                     &FrmMain::mnuRecordPayments_Click);
    edit->addSeparator()->setObjectName(QStringLiteral("mnuSeperator3"));
    addCommand(edit, "mnuEditCell", QStringLiteral("Edit Cell"), QKeySequence(Qt::Key_F2), &FrmMain::mnuEditCell_Click);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpTop"));
    addCommand(help, "mnuAbout", QStringLiteral("&About"), QKeySequence(), &FrmMain::mnuAbout_Click);
}

void FrmMain::createToolBar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    Toolbar1->setIconSize(QSize(16, 16));
    // A button is the menu's own command, so both are one action with one handler.
    const auto addButton = [this](QAction *command, const QString &key, const char *picture) {
        command->setIcon(QIcon(QLatin1String(picture)));
        command->setIconVisibleInMenu(false);
        command->setData(key);
        command->setToolTip(key);
        Toolbar1->addAction(command);
    };
    addButton(m_newAction, QStringLiteral("New"), ":/icons/new.xpm");
    addButton(m_openAction, QStringLiteral("Open"), ":/icons/open.xpm");
    addButton(m_saveAction, QStringLiteral("Save"), ":/icons/save.xpm");
    Toolbar1->addSeparator();
    addButton(m_printAction, QStringLiteral("Print"), ":/icons/print.xpm");
}

void FrmMain::createControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    // Controls are placed in the design's client coordinates, which count the toolbar.
    const auto placeInClient = [this](QWidget *widget, int left, int top, int width, int height) {
        place(widget, left, top - DesignToolBarHeight, width, height);
    };

    // Created from back to front: a control made later lies over one made earlier.
    lblLogo = new QLabel(client);
    lblLogo->setObjectName(QStringLiteral("lblLogo"));
    QFont logoFont = font();
    logoFont.setBold(true);
    lblLogo->setFont(logoFont);
    lblLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInClient(lblLogo, 6960, 600, 3255, 975);

    txtTemp = new QLineEdit(client);
    txtTemp->setObjectName(QStringLiteral("txtTemp"));
    placeInClient(txtTemp, 5760, 1200, 735, 375);

    fraBuilder = new QGroupBox(QStringLiteral("Builder"), client);
    fraBuilder->setObjectName(QStringLiteral("fraBuilder"));
    // Opaque, so that the tab trap behind it stays out of sight.
    fraBuilder->setAutoFillBackground(true);
    placeInClient(fraBuilder, 3720, 480, 3135, 1215);
    // Alt and the marked letter reach the text box; the letters are none of the menus'.
    auto *lblBuilder = new QLabel(QStringLiteral("Na&me:"), fraBuilder);
    lblBuilder->setObjectName(QStringLiteral("lblBuilder"));
    place(lblBuilder, 120, 240, LabelWidth, 255);
    txtBuilder = new QLineEdit(fraBuilder);
    txtBuilder->setObjectName(QStringLiteral("txtBuilder"));
    place(txtBuilder, 840, 240, 2175, 315);
    lblBuilder->setBuddy(txtBuilder);

    grdMain = new GridView(m_sheet.grid(), client);
    grdMain->setObjectName(QStringLiteral("grdMain"));
    placeInClient(grdMain, GridLeft, GridTop, EstimateSheet::DesignWidth, EstimateSheet::DesignHeight);

    fraLocation = new QGroupBox(QStringLiteral("Location"), client);
    fraLocation->setObjectName(QStringLiteral("fraLocation"));
    placeInClient(fraLocation, 120, 480, 3495, 1215);
    auto *lblName = new QLabel(QStringLiteral("&Name:"), fraLocation);
    lblName->setObjectName(QStringLiteral("lblName"));
    place(lblName, 120, 240, LabelWidth, 255);
    auto *lblAddress = new QLabel(QStringLiteral("A&ddress:"), fraLocation);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    place(lblAddress, 120, 600, LabelWidth, 255);
    txtName = new QLineEdit(fraLocation);
    txtName->setObjectName(QStringLiteral("txtName"));
    place(txtName, 840, 240, 2535, 285);
    txtAddress = new QPlainTextEdit(fraLocation);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setTabChangesFocus(true);
    place(txtAddress, 840, 600, 2535, 525);
    lblName->setBuddy(txtName);
    lblAddress->setBuddy(txtAddress);

    txtCell = new QLineEdit(client);
    txtCell->setObjectName(QStringLiteral("txtCell"));
    placeInClient(txtCell, 7200, 1920, 1215, 285);

    txtHelp = new QPlainTextEdit(client);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    placeInClient(txtHelp, 7200, 3120, 1575, 285);

    m_cellEditor = new CellEditor(m_sheet, grdMain, txtCell, txtTemp, this);
    connect(m_cellEditor, &CellEditor::committed, m_document.get(), &Document::markChanged);
    m_clipboard = new ClipboardCommands(m_sheet, this, this);
    m_helpTips = new HelpTips(m_sheet, grdMain, txtHelp, this);
    m_wheelHook = new ::MouseWheel(this);
    connect(m_wheelHook, &::MouseWheel::turned, this, [this](int mouseKeys, int rotation, const QPoint &position) {
        MouseWheel(mouseKeys, rotation, position.x(), position.y());
    });
    m_printer =
        std::make_unique<EstimatePrinter>(m_sheet, m_header, *m_services.printerDialog, *m_services.messageBoxes);
    connectEditHistory();

    auto *shortcutFilter = new ShortcutPriorityFilter(menuShortcuts(), this);
    for (QWidget *textBox :
         {static_cast<QWidget *>(txtCell), static_cast<QWidget *>(txtTemp), static_cast<QWidget *>(txtName),
          static_cast<QWidget *>(txtAddress), static_cast<QWidget *>(txtBuilder), static_cast<QWidget *>(grdMain)})
        textBox->installEventFilter(shortcutFilter);
    setTabOrder();
    describeControls();
    acceptDroppedEstimates();
    txtName->setFocus();
}

void FrmMain::describeControls()
{
    const auto describe = [](QWidget *control, const QString &name, const QString &description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    describe(txtName, QStringLiteral("Owner's name"), QStringLiteral("The name of the owner of the property"));
    describe(txtAddress, QStringLiteral("Property address"), QStringLiteral("The address of the property"));
    describe(txtBuilder, QStringLiteral("Builder's name"), QStringLiteral("The name of the builder"));
    describe(fraLocation, fraLocation->title(), QStringLiteral("The owner's name and the property address"));
    describe(fraBuilder, fraBuilder->title(), QStringLiteral("The builder's name"));
    describe(grdMain, QStringLiteral("Estimate sheet"),
             QStringLiteral("The cost categories with their estimates, payments and cost to complete. "
                            "Type to fill the current cell, F2 to edit it, Enter to put the entry in."));
    grdMain->setRowTitleColumn(EstimateSheet::DescriptionColumn);
    describe(txtCell, QStringLiteral("Cell entry"),
             QStringLiteral("The entry for the current cell of the sheet; Enter puts it in"));
    describe(txtTemp, QStringLiteral("Next cell"), QStringLiteral("Moves on to the next cell of the sheet"));
    describe(txtHelp, QStringLiteral("Category advice"), QStringLiteral("Advice for the category under the mouse"));
    describe(Toolbar1, Toolbar1->windowTitle(), QStringLiteral("New, Open, Save and Print"));
    describe(menuBar(), QStringLiteral("Menu bar"), QStringLiteral("The File, Edit and Help menus"));
}

void FrmMain::acceptDroppedEstimates()
{
    setAcceptDrops(true);
    // The text boxes take dropped text; an estimate file dropped on them is the window's.
    for (QWidget *control : findChildren<QWidget *>()) {
        if (control->acceptDrops())
            control->installEventFilter(this);
    }
}

QList<QKeySequence> FrmMain::menuShortcuts() const
{
    QList<QKeySequence> shortcuts;
    for (const QAction *action : m_menuActions) {
        if (!action->shortcut().isEmpty())
            shortcuts << action->shortcut();
    }
    return shortcuts;
}

void FrmMain::setTabOrder()
{
    // The tab trap lies between the editor and the grid, so Tab in the editor lands on it.
    QWidget::setTabOrder(txtName, txtAddress);
    QWidget::setTabOrder(txtAddress, txtBuilder);
    QWidget::setTabOrder(txtBuilder, txtCell);
    QWidget::setTabOrder(txtCell, txtTemp);
    QWidget::setTabOrder(txtTemp, grdMain);
}

void FrmMain::bindHeaderFields()
{
    const auto bindLine = [this](QLineEdit *edit, HeaderFields::Field field) {
        connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) {
            m_header.setText(field, text);
            m_document->markChanged();
        });
    };
    bindLine(txtName, HeaderFields::Name);
    bindLine(txtBuilder, HeaderFields::Builder);
    connect(txtAddress, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = txtAddress->toPlainText();
        if (text == m_header.text(HeaderFields::Address))
            return;
        m_header.setText(HeaderFields::Address, text);
        m_document->markChanged();
    });
    connect(&m_header, &HeaderFields::textChanged, this, &FrmMain::showHeaderText);
    txtAddress->installEventFilter(this);
    txtBuilder->installEventFilter(this);
}

void FrmMain::showHeaderText(HeaderFields::Field field)
{
    const QString &text = m_header.text(field);
    switch (field) {
    case HeaderFields::Name:
        if (txtName->text() != text)
            txtName->setText(text);
        break;
    case HeaderFields::Builder:
        if (txtBuilder->text() != text)
            txtBuilder->setText(text);
        break;
    case HeaderFields::Address:
        if (txtAddress->toPlainText() != text)
            txtAddress->setPlainText(text);
        break;
    }
}

void FrmMain::Form_Load()
{
    setWindowTitle(ProductInfo::applicationTitle());
    const QSize help(Twips::Scale::of(*this).x(HelpTips::BoxWidth),
                     Twips::Scale::of(*this).y(m_sheet.grid().rowHeight(2)));
    txtHelp->resize(help);
    lblLogo->setText(QStringLiteral("VARN\n") + ProductInfo::webAddress() + u'\n');
    checkDocumentType();
    m_wheelHook->HookWheel(this);
    m_recentFiles = new RecentFiles(settingsName(), this);
    connect(m_recentFiles, &RecentFiles::changed, this, &FrmMain::showRecentFiles);
    connect(m_document.get(), &Document::fileUsed, m_recentFiles, &RecentFiles::add);
    showRecentFiles();
    m_recovery = new RecoveryKeeper(*m_document, *m_services.messageBoxes,
                                    QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
                                    RecoveryKeeper::delayFromEnvironment(), this);
    resize(Twips::Scale::of(*this).x(DesignClientWidth),
           menuBar()->sizeHint().height() + Twips::Scale::of(*this).y(DesignClientHeight));
}

void FrmMain::restoreWindowGeometry()
{
    QSettings settings(settingsName(), settingsName());
    settings.beginGroup(QStringLiteral("Window"));
    const QRect geometry = settings.value(QStringLiteral("Geometry")).toRect();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!geometry.isValid()) {
        showWholeSheet(frame);
        return;
    }
    setGeometry(clampedToScreen(geometry.marginsAdded(frame)).marginsRemoved(frame));
    if (settings.value(QStringLiteral("Maximized")).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void FrmMain::showWholeSheet(const QMargins &frame)
{
    // The layout gives the grid the window's outer size less these margins, in twips.
    constexpr int OuterWidthBesideGrid = 500;
    constexpr int OuterHeightBesideGrid = 2700;
    // Room for the grid's border, so that the last column and row are not cut by it.
    constexpr int GridBorder = 300;
    const Grid &grid = m_sheet.grid();
    int sheetHeight = GridBorder;
    for (int row = 0; row < grid.rowCount(); ++row)
        sheetHeight += grid.rowHeight(row);
    const QSize outer(Twips::Scale::of(*this).x(EstimateSheet::minimumGridWidth() + OuterWidthBesideGrid),
                      Twips::Scale::of(*this).y(sheetHeight + OuterHeightBesideGrid));
    const QRect wanted(frameGeometry().topLeft(), outer.expandedTo(frameGeometry().size()));
    setGeometry(clampedToScreen(wanted).marginsRemoved(frame));
}

void FrmMain::saveWindowGeometry() const
{
    QSettings settings(settingsName(), settingsName());
    settings.beginGroup(QStringLiteral("Window"));
    settings.setValue(QStringLiteral("Geometry"), normalGeometry());
    settings.setValue(QStringLiteral("Maximized"), isMaximized());
}

void FrmMain::checkDocumentType()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString appName = settingsName();
    QSettings settings(appName, appName);
    m_services.fileIconAssociation->registerIfMoved(settings, appName, program.absolutePath());
}

void FrmMain::connectEditHistory()
{
    m_history = new EditHistory(m_sheet, this);
    connect(m_cellEditor, &CellEditor::committing, m_history, &EditHistory::beginChange);
    connect(m_cellEditor, &CellEditor::committed, m_history,
            [this](int row, int column) { m_history->endChange(row, column, QStringLiteral("Typing")); });
    connect(m_clipboard, &ClipboardCommands::replacingCell, m_history, &EditHistory::beginChange);
    connect(m_clipboard, &ClipboardCommands::replacedCell, m_history, &EditHistory::endChange);
    connect(m_clipboard, &ClipboardCommands::replacingRows, m_history, &EditHistory::beginRowsChange);
    connect(m_clipboard, &ClipboardCommands::replacedRows, m_history, &EditHistory::endRowsChange);
    showUndoState();
    connect(m_history, &EditHistory::applied, m_document.get(), &Document::markChanged);
    connect(m_history, &EditHistory::applied, grdMain, &GridView::scrollToCurrentCell);
    connect(m_document.get(), &Document::estimateReplaced, m_history, &EditHistory::clear);
    connect(&m_sheet.grid(), &Grid::cellChanged, this, [this](int, int column) {
        if (column == EstimateSheet::PreviousPaymentColumn || column == EstimateSheet::CurrentPaymentColumn)
            enableRecordPayments();
    });
    enableRecordPayments();
}

void FrmMain::showUndoState()
{
    // Greyed with nothing to take back, and otherwise naming what they take back.
    const QUndoStack &stack = m_history->stack();
    const auto caption = [](const QString &command, const QString &change) {
        return change.isEmpty() ? command : command + u' ' + change;
    };
    const auto showUndo = [this, &stack, caption] {
        m_undoAction->setEnabled(stack.canUndo());
        m_undoAction->setText(caption(QStringLiteral("&Undo"), stack.undoText()));
    };
    const auto showRedo = [this, &stack, caption] {
        m_redoAction->setEnabled(stack.canRedo());
        m_redoAction->setText(caption(QStringLiteral("&Redo"), stack.redoText()));
    };
    connect(&stack, &QUndoStack::indexChanged, m_undoAction, showUndo);
    connect(&stack, &QUndoStack::indexChanged, m_redoAction, showRedo);
    showUndo();
    showRedo();
}

void FrmMain::enableRecordPayments()
{
    m_recordPaymentsAction->setEnabled(!CurrentPayments::recordableRows(m_sheet.grid()).isEmpty());
}

void FrmMain::showRecentFiles()
{
    const QStringList &files = m_recentFiles->files();
    for (int i = 0; i < RecentFiles::MaximumCount; ++i) {
        QAction *recent = m_recentActions.at(i);
        recent->setVisible(i < files.size());
        if (i < files.size()) {
            recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))));
            recent->setData(files.at(i));
        }
    }
    m_recentActions.last()->setVisible(!files.isEmpty());
}

void FrmMain::openRecentFile(const QString &path)
{
    commitOpenEdit();
    if (!QFileInfo::exists(path)) {
        m_services.messageBoxes->showCritical(Document::openErrorText(), Document::fileErrorTitle());
        m_recentFiles->remove(path);
        return;
    }
    m_document->openFile(path);
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void FrmMain::Form_Resize()
{
    if (!grdMain)
        return;
    // The layout rule is written for the window's outer size, frame and menu bar included.
    const QRect outer = frameGeometry();
    const int outerWidth = Twips::Scale::of(*this).twipsX(outer.width());
    const int outerHeight = Twips::Scale::of(*this).twipsY(outer.height());
    Grid &grid = m_sheet.grid();
    if (outerHeight > 3000)
        grid.setHeight(outerHeight - 2700);
    if (outerWidth > 3000) {
        grid.setWidth(outerWidth - 500);
        m_sheet.SetColumnWidths();
    }
    grdMain->resize(Twips::Scale::of(*this).x(grid.width()), Twips::Scale::of(*this).y(grid.height()));
}

void FrmMain::showEvent(QShowEvent *event)
{
    if (!m_shownBefore) {
        // Only now is the window's frame known, which is to fit on the screen too.
        m_shownBefore = true;
        restoreWindowGeometry();
    }
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
    if (m_document->commandLineDocument().isEmpty() || m_document->CommandLineOpened())
        return;
    mnuOpen_Click();
    m_document->setCommandLineOpened();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !Form_Unload()) {
        event->ignore();
        return;
    }
    m_wheelHook->UnhookWheel();
    m_recovery->end();
    saveWindowGeometry();
    event->accept();
}

bool FrmMain::Form_Unload()
{
    commitOpenEdit();
    return m_document->QuerySaveChanges() != MessageBoxes::Cancel;
}

void FrmMain::mnuExit_Click()
{
    commitOpenEdit();
    if (m_document->QuerySaveChanges() == MessageBoxes::Cancel)
        return;
    // The question has been asked; closing must not ask it again.
    m_ending = true;
    close();
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (takeDroppedEstimate(event))
        return true;
    if (event->type() == QEvent::FocusOut && (watched == txtAddress || watched == txtBuilder)) {
        // Leaving the field for another control counts as a change; a menu opening or
        // another program taking the focus does not leave it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            m_document->markChanged();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FrmMain::takeDroppedEstimate(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
        dragEnterEvent(static_cast<QDragEnterEvent *>(event));
        break;
    case QEvent::DragMove:
        dragMoveEvent(static_cast<QDragMoveEvent *>(event));
        break;
    case QEvent::Drop:
        dropEvent(static_cast<QDropEvent *>(event));
        break;
    default:
        return false;
    }
    return event->isAccepted();
}

void FrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void FrmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (estimateFileOf(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent *event)
{
    const QString path = estimateFileOf(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: the file manager is not to wait on the save prompt.
    QMetaObject::invokeMethod(
        this, [this, path] { openDroppedFile(path); }, Qt::QueuedConnection);
}

void FrmMain::openDroppedFile(const QString &path)
{
    commitOpenEdit();
    m_document->openFile(path);
}

void FrmMain::commitOpenEdit()
{
    m_cellEditor->commitInPlace();
}

void FrmMain::mnuNew_Click()
{
    commitOpenEdit();
    m_document->newEstimate();
}

void FrmMain::mnuOpen_Click()
{
    commitOpenEdit();
    m_document->open();
}

void FrmMain::mnuSave_Click()
{
    commitOpenEdit();
    m_document->save();
}

void FrmMain::mnuSaveAs_Click()
{
    commitOpenEdit();
    m_document->saveAs();
}

void FrmMain::mnuPrint_Click()
{
    commitOpenEdit();
    m_printer->mnuPrint_Click(this);
}

void FrmMain::mnuPrintPreview_Click()
{
    commitOpenEdit();
    m_printer->preview(this);
}

QString FrmMain::exportPreset(const QString &suffix) const
{
    if (m_document->CurrentFile().isEmpty())
        return {};
    const QFileInfo estimate(m_document->CurrentFile());
    return estimate.dir().filePath(estimate.completeBaseName() + u'.' + suffix);
}

void FrmMain::exportTo(const QString &suffix)
{
    const ExportFormat &format = *ExportFormats::forSuffix(suffix);
    commitOpenEdit();
    const QString path =
        m_services.fileDialogs->showExport(format.dialogTitle, format.dialogFilter, suffix, exportPreset(suffix));
    QString errorString;
    if (!path.isEmpty() && !format.write(path, m_sheet, m_header, &errorString))
        m_services.messageBoxes->showCritical(QStringLiteral("The estimate could not be exported to %1: %2")
                                                  .arg(QDir::toNativeSeparators(path), errorString),
                                              Document::fileErrorTitle());
}

void FrmMain::mnuExportPdf_Click()
{
    exportTo(QStringLiteral("pdf"));
}

void FrmMain::mnuExportCsv_Click()
{
    exportTo(QStringLiteral("csv"));
}

void FrmMain::mnuExportXlsx_Click()
{
    exportTo(QStringLiteral("xlsx"));
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
    m_clipboard->mnuCut_Click();
}

void FrmMain::mnuCopy_Click()
{
    m_clipboard->mnuCopy_Click();
}

void FrmMain::mnuPaste_Click()
{
    m_clipboard->mnuPaste_Click();
}

void FrmMain::mnuDelete_Click()
{
    m_clipboard->mnuDelete_Click();
}

void FrmMain::mnuRecordPayments_Click()
{
    commitOpenEdit();
    const QList<int> rows = CurrentPayments::recordableRows(m_sheet.grid());
    if (rows.isEmpty())
        return;
    const QString total = Money::moneyText(CurrentPayments::total(m_sheet.grid(), rows));
    const QString question = QStringLiteral("Add the current amounts, %1 in all, to the previous payments?").arg(total);
    if (m_services.messageBoxes->askYesNo(question, ProductInfo::applicationTitle()) != MessageBoxes::Yes)
        return;
    const QString commandName = m_recordPaymentsAction->text().remove(u'&');
    m_history->beginRowsChange(rows);
    CurrentPayments::record(m_sheet, rows);
    m_history->endRowsChange(EstimateSheet::PreviousPaymentColumn, commandName);
    m_document->markChanged();
}

void FrmMain::mnuAbout_Click()
{
    FrmAbout::showModal(this, *m_services.messageBoxes);
}

void FrmMain::MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos)
{
    Q_UNUSED(MouseKeys);
    Q_UNUSED(Xpos);
    Q_UNUSED(Ypos);
    Grid &grid = m_sheet.grid();
    grid.setTopRow(
        ::MouseWheel::scrolledTopRow(grid.topRow(), Rotation, grid.height(), grid.rowHeight(0), grid.rowCount()));
}

void FrmMain::mnuEditCell_Click()
{
    m_cellEditor->mnuEditCell_Click();
}

void FrmMain::Toolbar1_ButtonClick(const QString &key)
{
    for (QAction *button : Toolbar1->actions()) {
        if (button->data() == key)
            button->trigger();
    }
}
