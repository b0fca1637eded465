#include "mainactions.h"

#include "core/document/recentfiles.h"
#include "frmmain.h"
#include "lazyiconengine.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

namespace {
// Long enough for "Typing in Permits, Fees, Surveys", short enough to keep the menu narrow.
constexpr qsizetype LongestChangeName = 40;

// The desktop's key for quitting; where it has none, Ctrl+Q, which no other command takes.
QKeySequence quitShortcut()
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(QKeySequence::Quit);
    return bindings.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : bindings.first();
}

// The fallback theme of every theme is hicolor, and it is what Qt names where no desktop set one.
bool hasDesktopIconTheme()
{
    const QString theme = QIcon::themeName();
    return !theme.isEmpty() && theme != QLatin1String("hicolor");
}

// "&Undo Typing in Roofing": the command with what it takes back, cut short where long.
QString undoCaption(const QString &command, QString change)
{
    if (change.isEmpty())
        return command;
    if (change.size() > LongestChangeName)
        change = change.left(LongestChangeName - 1).trimmed() + u'\u2026';
    return command + u' ' + change;
}
}

MainActions::MainActions(FrmMain &window)
    : QObject(&window)
    , m_window(window)
{
    m_window.menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    m_window.menuBar()->setAccessibleDescription(QStringLiteral("The File, Edit, View and Help menus"));
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createHelpMenu();
    createToolBar();
}

QAction *MainActions::addItem(QMenu *menu, const char *name, const QString &caption,
                              const QList<QKeySequence> &shortcuts, Handler handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(shortcuts);
    connect(action, &QAction::triggered, &m_window, handler);
    return action;
}

QAction *MainActions::addCommand(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                                 Handler handler)
{
    QAction *action = addItem(menu, name, caption, {shortcut}, handler);
    m_priorityActions << action;
    return action;
}

QList<QKeySequence> MainActions::priorityShortcuts() const
{
    QList<QKeySequence> shortcuts;
    for (const QAction *action : m_priorityActions)
        shortcuts << action->shortcuts();
    shortcuts.removeAll(QKeySequence());
    return shortcuts;
}

void MainActions::createFileMenu()
{
    QMenu *file = m_window.menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFileTop"));
    m_new =
        addCommand(file, "mnuNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), &FrmMain::mnuNew_Click);
    m_open = addCommand(file, "mnuOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                        &FrmMain::mnuOpen_Click);
    m_save = addCommand(file, "mnuSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                        &FrmMain::mnuSave_Click);
    QAction *saveAs = addCommand(file, "mnuSaveAs", QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_A),
                                 &FrmMain::mnuSaveAs_Click);
    // The key other programs take for Save As works beside the program's own.
    QList<QKeySequence> saveAsKeys = saveAs->shortcuts() << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::SaveAs)) {
        if (!saveAsKeys.contains(key))
            saveAsKeys << key;
    }
    saveAs->setShortcuts(saveAsKeys);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeperator1"));
    m_print = addCommand(file, "mnuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                         &FrmMain::mnuPrint_Click);
    addItem(file, "mnuPrintPreview", QStringLiteral("Print Pre&view..."), {}, &FrmMain::mnuPrintPreview_Click);
    addItem(file, "mnuExportPdf", QStringLiteral("Export as P&DF..."), {}, &FrmMain::mnuExportPdf_Click);
    addItem(file, "mnuExportCsv", QStringLiteral("Export as &CSV..."), {}, &FrmMain::mnuExportCsv_Click);
    addItem(file, "mnuExportXlsx", QStringLiteral("Export as Sp&readsheet..."), {}, &FrmMain::mnuExportXlsx_Click);
    addItem(file, "mnuExportDrawRequest", QStringLiteral("Export Draw Re&quest..."), {},
            &FrmMain::mnuExportDrawRequest_Click);
    addItem(file, "mnuExportBudget", QStringLiteral("Export Bud&get Summary..."), {}, &FrmMain::mnuExportBudget_Click);
    addItem(file, "mnuExportLoan", QStringLiteral("Export &Loan Statement..."), {}, &FrmMain::mnuExportLoan_Click);
    addItem(file, "mnuExportDrawPackage", QStringLiteral("Export Draw Pac&kage..."), {},
            &FrmMain::mnuExportDrawPackage_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeperator2"));
    addRecentFileItems(file);
    addCommand(file, "mnuExit", QStringLiteral("E&xit"), quitShortcut(), &FrmMain::mnuExit_Click);
}

void MainActions::addRecentFileItems(QMenu *file)
{
    for (int i = 0; i < RecentFiles::MaximumCount; ++i) {
        QAction *recent = file->addAction(QString());
        recent->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this,
                [this, recent] { emit recentFileChosen(recent->data().toString()); });
        m_recentFiles << recent;
    }
    m_recentFilesEnd = file->addSeparator();
    m_recentFilesEnd->setVisible(false);
}

void MainActions::createEditMenu()
{
    QMenu *edit = m_window.menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEditTop"));
    // Text boxes keep their own undo: these keys reach the menu only from the sheet.
    m_undo = addItem(edit, "mnuUndo", QStringLiteral("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                     &FrmMain::mnuUndo_Click);
    m_redo = addItem(edit, "mnuRedo", QStringLiteral("&Redo"),
                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                     &FrmMain::mnuRedo_Click);
    edit->addSeparator();
    m_editingActions << addCommand(edit, "mnuCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
                                   &FrmMain::mnuCut_Click)
                     << addCommand(edit, "mnuCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                                   &FrmMain::mnuCopy_Click)
                     << addCommand(edit, "mnuPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                                   &FrmMain::mnuPaste_Click)
                     << addCommand(edit, "mnuDelete", QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete),
                                   &FrmMain::mnuDelete_Click);
    edit->addSeparator();
    m_recordPayments = addItem(edit, "mnuRecordPayments", QStringLiteral("Rec&ord Current Payments"), {},
                               &FrmMain::mnuRecordPayments_Click);
    m_releaseRetainage = addItem(edit, "mnuReleaseRetainage", QStringLiteral("Re&lease Retainage..."), {},
                                 &FrmMain::mnuReleaseRetainage_Click);
    edit->addSeparator()->setObjectName(QStringLiteral("mnuSeperator3"));
    m_editingActions << addCommand(edit, "mnuEditCell", QStringLiteral("Edit Cell"), QKeySequence(Qt::Key_F2),
                                   &FrmMain::mnuEditCell_Click);
}

void MainActions::createViewMenu()
{
    m_viewMenu = m_window.menuBar()->addMenu(QStringLiteral("&View"));
    m_viewMenu->setObjectName(QStringLiteral("mnuViewTop"));
    // Where + needs Shift, Ctrl and the key beside it zoom in all the same.
    m_priorityActions << addItem(m_viewMenu, "mnuZoomIn", QStringLiteral("Zoom &In"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                                 &FrmMain::mnuZoomIn_Click)
                      << addItem(m_viewMenu, "mnuZoomOut", QStringLiteral("Zoom &Out"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &FrmMain::mnuZoomOut_Click)
                      << addItem(m_viewMenu, "mnuActualSize", QStringLiteral("&Actual Size"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_0)}, &FrmMain::mnuActualSize_Click);
    m_viewMenu->addSeparator();
}

void MainActions::addView(QAction *toggle)
{
    m_viewMenu->addAction(toggle);
}

void MainActions::createHelpMenu()
{
    QMenu *help = m_window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpTop"));
    m_editingActions << addItem(help, "mnuAdvice", QStringLiteral("Advice for This Category"),
                                {QKeySequence(Qt::Key_F1)}, &FrmMain::mnuAdvice_Click);
    // F1 is the advice beside the cell; the handbook is the key beside it.
    addItem(help, "mnuUserGuide", QStringLiteral("VARN User &Guide"), {QKeySequence(Qt::SHIFT | Qt::Key_F1)},
            &FrmMain::mnuUserGuide_Click);
    addItem(help, "mnuOpenExample", QStringLiteral("Open &Example Estimate"), {}, &FrmMain::mnuOpenExample_Click);
    help->addSeparator();
    addItem(help, "mnuAbout", QStringLiteral("&About"), {}, &FrmMain::mnuAbout_Click);
}

void MainActions::createToolBar()
{
    m_toolBar = m_window.addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setAccessibleName(m_toolBar->windowTitle());
    m_toolBar->setAccessibleDescription(QStringLiteral("New, Open, Save and Print"));
    // A button is the menu's own command, so both are one action with one handler. Its picture
    // is the desktop's, where its icon theme has one, so that the toolbar looks like the other
    // programs'; otherwise the program's own, at every size it is drawn in, each read when it is
    // first drawn. Without a desktop theme Qt names hicolor, which holds programs' icons and no
    // toolbar pictures, and a look-up there probes every folder of it for nothing at every start.
    const bool desktopTheme = hasDesktopIconTheme();
    const auto addButton = [this, desktopTheme](QAction *command, const QString &key, const char *themeName) {
        const QString themeIcon = QLatin1String(themeName);
        QIcon icon;
        if (desktopTheme && QIcon::hasThemeIcon(themeIcon)) {
            icon = QIcon::fromTheme(themeIcon);
        } else {
            icon = QIcon(new LazyIconEngine);
            for (const int size : {16, 24, 32, 48, 64})
                icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(key.toLower()).arg(size), QSize(size, size));
        }
        command->setIcon(icon);
        command->setIconVisibleInMenu(false);
        command->setData(key);
        command->setToolTip(key);
        m_toolBar->addAction(command);
    };
    addButton(m_new, QStringLiteral("New"), "document-new");
    addButton(m_open, QStringLiteral("Open"), "document-open");
    addButton(m_save, QStringLiteral("Save"), "document-save");
    m_toolBar->addSeparator();
    addButton(m_print, QStringLiteral("Print"), "document-print");
}

void MainActions::followUndoStack(const QUndoStack &stack)
{
    // Greyed with nothing to take back, and otherwise naming what they take back.
    const auto showUndo = [this, &stack] {
        m_undo->setEnabled(stack.canUndo());
        m_undo->setText(undoCaption(QStringLiteral("&Undo"), stack.undoText()));
    };
    const auto showRedo = [this, &stack] {
        m_redo->setEnabled(stack.canRedo());
        m_redo->setText(undoCaption(QStringLiteral("&Redo"), stack.redoText()));
    };
    connect(&stack, &QUndoStack::indexChanged, m_undo, showUndo);
    connect(&stack, &QUndoStack::indexChanged, m_redo, showRedo);
    showUndo();
    showRedo();
}

void MainActions::followRecentFiles(const RecentFiles &recentFiles)
{
    connect(&recentFiles, &RecentFiles::changed, this, [this, &recentFiles] { showRecentFiles(recentFiles.files()); });
    showRecentFiles(recentFiles.files());
}

void MainActions::showRecentFiles(const QStringList &files)
{
    for (int i = 0; i < RecentFiles::MaximumCount; ++i) {
        QAction *recent = m_recentFiles.at(i);
        recent->setVisible(i < files.size());
        if (i < files.size()) {
            recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))));
            recent->setData(files.at(i));
        }
    }
    m_recentFilesEnd->setVisible(!files.isEmpty());
}
