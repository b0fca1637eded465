#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class FrmMain;
class QAction;
class QMenu;
class QToolBar;
class QUndoStack;
class RecentFiles;

// The main window's commands: one action each, in the menus, the toolbar sharing the File
// menu's, Undo and Redo naming what they take back, and the estimates used last.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(FrmMain &window);

    QToolBar *toolBar() const { return m_toolBar; }
    QAction *recordPayments() const { return m_recordPayments; }
    QAction *releaseRetainage() const { return m_releaseRetainage; }
    // The commands of the menu at hand in the sheet and the header fields.
    QList<QAction *> editingActions() const { return m_editingActions; }
    // The shortcuts that act before a focused text box sees their keys.
    QList<QKeySequence> priorityShortcuts() const;

    // Adds the action that shows or hides a view beside the sheet to the View menu.
    void addView(QAction *toggle);
    void followUndoStack(const QUndoStack &stack);
    void followRecentFiles(const RecentFiles &recentFiles);

signals:
    void recentFileChosen(const QString &path);

private:
    using Handler = void (FrmMain::*)();

    QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &shortcuts,
                     Handler handler);
    // An item whose shortcut the menu takes before the focused text box.
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                        Handler handler);
    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createHelpMenu();
    void createToolBar();
    void addRecentFileItems(QMenu *file);
    void showRecentFiles(const QStringList &files);

    FrmMain &m_window;
    QToolBar *m_toolBar = nullptr;
    QAction *m_new = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_print = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_recordPayments = nullptr;
    QAction *m_releaseRetainage = nullptr;
    QMenu *m_viewMenu = nullptr;
    QList<QAction *> m_recentFiles;
    QAction *m_recentFilesEnd = nullptr;
    QList<QAction *> m_priorityActions;
    QList<QAction *> m_editingActions;
};
