#include "core/document/estimatefile.h"
#include "gui/editing/wheelhook.h"
#include "gui/sheet/celldelegate.h"
#include "gui/window/estimatestatusbar.h"
#include "report/cellpainter.h"
#include "support/paintedarea.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;

// The main window itself: its size and place on the screen, how its parts follow the size,
// the status bar below the sheet, the recent files of the File menu, files dropped on it, the
// mouse wheel turned over it, and what a screen reader learns of it.
class TestWindow : public QObject
{
    Q_OBJECT

private:
    static QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // The window left as the user leaves it, by File > Exit.
    static void leaveAt(const QRect &geometry)
    {
        WindowFixture f;
        f.window->setGeometry(geometry);
        QTRY_COMPARE(f.window->geometry(), geometry);
        f.trigger("mnuExit");
        QVERIFY(!f.window->isVisible());
    }

    // What the status bar says with nothing fleeting on it.
    static QString statusLasting(const WindowFixture &f)
    {
        QStringList texts;
        for (const QLabel *label : f.window->statusBar()->findChildren<QLabel *>()) {
            if (label->isVisible() && !label->text().isEmpty() && label->objectName() != u"lblNotice"_s)
                texts << label->text();
        }
        return texts.join(u'|');
    }

    static QStringList recentFiles(const WindowFixture &f)
    {
        QStringList files;
        for (const QAction *item : f.child<QMenu>("mnuFileTop")->actions()) {
            if (item->objectName().startsWith(QStringLiteral("mnuRecent")) && item->isVisible())
                files << item->data().toString();
        }
        return files;
    }

    // Drags the urls over the middle of target and drops them there, as the platform
    // delivers a drag: to the window, which finds the control under the mouse.
    static bool drop(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData mime;
        mime.setUrls(urls);
        QWindow *window = target->window()->windowHandle();
        const QPointF position = target->mapTo(target->window(), target->rect().center());
        QDragEnterEvent enter(position.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &enter);
        QDragMoveEvent move(position.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &move);
        QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &drop);
        return drop.isAccepted();
    }

    static EstimateContent fencedEstimate()
    {
        EstimateContent content;
        content.builder = QStringLiteral("Jo Fence");
        content.cells[0] = {"County Office", "", "$250.00"};
        return content;
    }

    static QString said(QObject *object, QAccessible::Text text)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(text) : QStringLiteral("<nothing>");
    }

    static QAccessibleInterface *currentCell(GridView *grid)
    {
        return QAccessible::queryAccessibleInterface(grid)->focusChild();
    }

    // Every interface under the window a screen reader can come across.
    static void collectShown(QAccessibleInterface *node, QList<QObject *> &objects)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            objects << child->object();
            if (child->object())
                collectShown(child, objects);
        }
    }

    // The current cell as it is read: its name, the headers of its row and column, its
    // text, and its description.
    static QStringList reading(GridView *grid)
    {
        QAccessibleInterface *cell = currentCell(grid);
        if (!cell)
            return {QStringLiteral("<no current cell>")};
        QAccessibleTableCellInterface *tableCell = cell->tableCellInterface();
        QAccessibleTextInterface *text = cell->textInterface();
        if (!tableCell || !text)
            return {cell->text(QAccessible::Name), QStringLiteral("<no table cell or text interface>")};
        const auto headers = [](const QList<QAccessibleInterface *> &cells) {
            return cells.size() == 1 ? cells.first()->text(QAccessible::Name) : QStringLiteral("<no header>");
        };
        return {cell->text(QAccessible::Name), headers(tableCell->rowHeaderCells()),
                headers(tableCell->columnHeaderCells()), text->text(0, text->characterCount()),
                cell->text(QAccessible::Description)};
    }

    QTemporaryDir m_folder;

private slots:
    // Each case starts as a fresh user's first start.
    void init()
    {
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        QSettings(name, name).clear();
    }
    void cleanupTestCase() { init(); }

    // On a screen with room for it, the first window shows the whole sheet, the Total row
    // too; a later first start comes back at that size.
    void firstStart()
    {
        QSize designed;
        {
            WindowFixture f;
            designed = f.window->size();
            // Wider than the design, to show the whole sheet, but no wider than the screen.
            QVERIFY(designed.width() > Twips::Scale::of(*f.window).x(9885));
            QVERIFY(available().contains(f.window->frameGeometry()));
            for (int column = 1; column <= EstimateSheet::CostToCompleteColumn && available().width() >= 1280; ++column)
                QVERIFY2(f.cellArea().contains(f.shownCell(EstimateSheet::TotalRow, column)),
                         qPrintable(QString::number(column)));
        }
        leaveAt(QRect(QPoint(20, 30), designed - QSize(100, 80)));
        init();
        WindowFixture f;
        QCOMPARE(f.window->size(), designed);
    }

    void remembered()
    {
        const QRect left(available().topLeft() + QPoint(40, 30), QSize(520, 400));
        leaveAt(left);
        WindowFixture f;
        QCOMPARE(f.window->geometry(), left);
    }

    void clampedToTheScreen_data()
    {
        Rows::columns<QRect, bool>("left", "fits");
        QTest::newRow("past the right and bottom")
            << QRect(available().bottomRight() - QPoint(40, 30), QSize(520, 400)) << true;
        QTest::newRow("past the left and top")
            << QRect(available().topLeft() - QPoint(400, 300), QSize(520, 400)) << true;
        QTest::newRow("larger than the screen") << QRect(available().topLeft(), available().size() * 2) << false;
    }

    // Left where the screen is no more (a smaller screen, one taken away), the window comes
    // back whole on the screen there is.
    void clampedToTheScreen()
    {
        auto [left, fits] = Rows::fetch<QRect, bool>("left", "fits");
        leaveAt(left);
        WindowFixture f;
        QVERIFY(available().contains(f.window->frameGeometry()));
        if (fits)
            QCOMPARE(f.window->size(), left.size());
    }

    void gridFollowsWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("narrow: first column at its minimum") << QSize(500, 400);
        QTest::newRow("wide: first column takes the rest") << QSize(1200, 900);
        QTest::newRow("just over the limits") << QSize(201, 201);
        QTest::newRow("very wide") << QSize(60000, 600);
    }

    void gridFollowsWindow()
    {
        QFETCH(QSize, size);
        WindowFixture f;
        auto *builder = f.child<QGroupBox>("fraBuilder");
        const QRect builderBefore = builder->geometry();
        const QPoint gridBefore = f.grid->pos();
        f.window->resize(size);
        const Grid &grid = f.model();
        const QRect outer = f.window->frameGeometry();
        QCOMPARE(grid.width(), Twips::fromPixels(outer.width(), f.window->logicalDpiX()) - 500);
        // The status bar takes its height from the grid's, as the controls above it do.
        QCOMPARE(grid.height(),
                 Twips::fromPixels(outer.height(), f.window->logicalDpiY()) - 2700
                     - Twips::fromPixels(f.window->statusBar()->height(), f.window->logicalDpiY()));
        QCOMPARE(grid.columnWidth(1), std::max(1500, grid.width() - 10100));
        QCOMPARE(f.grid->size(),
                 QSize(Twips::Scale::of(*f.window).x(grid.width()), Twips::Scale::of(*f.window).y(grid.height())));
        // Nothing else moves; the tab trap stays hidden behind the builder frame.
        QCOMPARE(builder->geometry(), builderBefore);
        QCOMPARE(f.grid->pos(), gridBefore);
        QVERIFY(builder->geometry().contains(f.child<QLineEdit>("txtTemp")->geometry()));
        // The grid ends above the status bar.
        const int gridBottom = f.grid->mapTo(f.window.get(), f.grid->rect().bottomLeft()).y();
        QVERIFY2(gridBottom < f.window->statusBar()->y(), qPrintable(QString::number(gridBottom)));
    }

    void smallWindowKeepsGridSize()
    {
        WindowFixture f;
        f.window->resize(800, 600);
        const int width = f.model().width();
        const int height = f.model().height();
        // 3000 twips or less in a dimension leaves the grid's size in that dimension alone.
        f.window->resize(800, 150);
        QCOMPARE(f.model().height(), height);
        f.window->resize(150, 600);
        QCOMPARE(f.model().width(), width);
    }

    // The header row is twice the default height, the Total row the default, items 280 twips.
    void sheetSizesOnScreen()
    {
        WindowFixture f;
        const Twips::Scale scale = Twips::Scale::of(*f.window);
        QCOMPARE(f.grid->horizontalHeader()->height(), scale.y(2 * f.model().defaultRowHeight()));
        QCOMPARE(f.grid->rowHeight(0), scale.y(280));
        QCOMPARE(f.grid->rowHeight(36), scale.y(f.model().defaultRowHeight()));
        QCOMPARE(f.grid->verticalHeader()->width(), scale.x(400));
        QCOMPARE(f.grid->model()->headerData(6, Qt::Vertical).toString(), QStringLiteral(" 7"));
    }

    void toolbarIcons_data()
    {
        QTest::addColumn<QString>("themeName");
        QTest::addColumn<QStringList>("icons");
        QTest::newRow("the desktop's theme")
            << "desk" << QStringList{"New own", "Open document-open", "Save own", "Print own"};
        // Qt names hicolor where no desktop set a theme; a picture there is some program's.
        QTest::newRow("no desktop theme") << "hicolor" << QStringList{"New own", "Open own", "Save own", "Print own"};
    }

    // The toolbar takes the desktop's icons where its theme has them, and otherwise draws its
    // own, sharp at the screen's density.
    void toolbarIcons()
    {
        QFETCH(QString, themeName);
        QFETCH(QStringList, icons);
        const QTemporaryDir theme;
        const QString themeFolder = theme.filePath(themeName);
        QFile index(themeFolder + "/index.theme");
        QVERIFY(QDir().mkpath(themeFolder) && index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=" + themeName.toUtf8() + "\nDirectories=16x16/actions,32x32/actions\n");
        for (const int size : {16, 32}) {
            const QString folder = QStringLiteral("%1x%1/actions").arg(size);
            index.write(QStringLiteral("[%1]\nSize=%2\n").arg(folder).arg(size).toUtf8());
            QImage picture(size, size, QImage::Format_ARGB32);
            picture.fill(Qt::green);
            QVERIFY(QDir().mkpath(themeFolder + u'/' + folder)
                    && picture.save(themeFolder + u'/' + folder + "/document-open.png"));
        }
        index.close();
        const QStringList searchPaths = QIcon::themeSearchPaths();
        const QString formerTheme = QIcon::themeName();
        QIcon::setThemeSearchPaths({theme.path()});
        QIcon::setThemeName(themeName);
        WindowFixture f;

        auto *toolBar = f.child<QToolBar>("Toolbar1");
        const qreal density = f.window->devicePixelRatio();
        QStringList shown;
        for (const QAction *button : toolBar->actions()) {
            if (button->isSeparator())
                continue;
            const QPixmap pixmap = button->icon().pixmap(toolBar->iconSize(), density);
            const bool sharp = pixmap.size() == toolBar->iconSize() * density;
            shown << button->data().toString() + u' '
                    + (button->icon().name().isEmpty() ? "own" : button->icon().name()) + (sharp ? "" : " blurred");
        }
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(formerTheme);
        QCOMPARE(shown, icons);
    }

    // The Return that commits an amount draws again the cells it changed and those the current
    // cell leaves and reaches, not the rest of the sheet.
    void commitRedrawsOnlyWhatChanged()
    {
        WindowFixture f;
        f.clickCell(5, 3);
        QTest::qWait(50);
        const auto *painted = new PaintedArea(f.grid->viewport());
        f.type(QStringLiteral("1500"));
        f.press(Qt::Key_Return);
        const auto centre = [&f](int row, int column) {
            return f.grid->viewport()->mapFrom(f.grid, f.grid->cellRect(row, column).center());
        };
        QTRY_VERIFY(painted->region().contains(centre(6, 3)));
        QTest::qWait(20);
        for (const auto &[row, column] : {std::pair(5, 3), std::pair(5, 4), std::pair(5, 7)})
            QVERIFY2(painted->region().contains(centre(row, column)), qPrintable(QString::number(column)));
        for (const auto &[row, column] : {std::pair(2, 1), std::pair(12, 2), std::pair(20, 6)})
            QVERIFY2(!painted->region().contains(centre(row, column)), qPrintable(QString::number(row)));
    }

    // A new user's first start points to the example and the guide; the next start does not.
    void firstStartPointsToTheExample()
    {
        {
            WindowFixture f;
            QCOMPARE(f.statusNotice(), EstimateStatusBar::firstStartHint());
            QVERIFY(f.statusNotice().contains(u"Help > Open Example Estimate"_s));
            // The first entry is the user at work: the pointer has done its part.
            f.enter(5, 3, u"100"_s);
            QCOMPARE(f.statusNotice(), QString());
            f.window->close();
        }
        WindowFixture again;
        QCOMPARE(again.statusNotice(), QString());
    }

    // View > Zoom In by either key draws the cells and the header fields larger and is kept
    // for the next start; Actual Size gives back the design's sizes.
    void zoomKeptAcrossRestarts_data()
    {
        Rows::columns<QKeySequence>("zoomIn");
        QTest::newRow("Ctrl+=") << QKeySequence(Qt::CTRL | Qt::Key_Equal);
        QTest::newRow("Ctrl++") << QKeySequence(Qt::CTRL | Qt::Key_Plus);
    }

    void zoomKeptAcrossRestarts()
    {
        const auto [zoomIn] = Rows::fetch<QKeySequence>("zoomIn");
        const auto sizes = [](const WindowFixture &f) {
            const auto *name = f.child<QLineEdit>("txtName");
            return QList<int>{f.grid->rowHeight(0),
                              f.grid->columnWidth(2),
                              name->height(),
                              name->width(),
                              name->mapTo(f.window.get(), QPoint()).y(),
                              int(name->font().pointSizeF() * 100)};
        };
        QList<int> design;
        QList<int> zoomed;
        {
            WindowFixture f;
            design = sizes(f);
            QCOMPARE(design.at(0), Twips::Scale::of(*f.window).y(EstimateSheet::ItemRowHeight));
            f.clickCell(5, 3);
            QTest::keySequence(QApplication::focusWidget(), zoomIn);
            zoomed = sizes(f);
            for (qsizetype size = 0; size < design.size(); ++size)
                QVERIFY2(zoomed.at(size) > design.at(size), qPrintable(QString::number(size)));
            f.window->close();
        }
        WindowFixture f;
        QCOMPARE(sizes(f), zoomed);
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QCOMPARE(sizes(f), design);
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QVERIFY(sizes(f).at(0) < design.at(0));
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(sizes(f), design);
    }

    // A desktop whose text is larger than the design's draws the sheet larger by as much; a
    // smaller one keeps the design's sizes.
    void followsLargerDesktopFont_data()
    {
        Rows::columns<qreal, qreal>("desktopPoints", "factor");
        QTest::newRow("the design's") << 9.0 << 1.0;
        QTest::newRow("smaller") << 7.0 << 1.0;
        QTest::newRow("twice as large") << 18.0 << 2.0;
    }

    void followsLargerDesktopFont()
    {
        const auto [desktopPoints, factor] = Rows::fetch<qreal, qreal>("desktopPoints", "factor");
        const QFont desktop = QApplication::font();
        QFont changed = desktop;
        changed.setPointSizeF(desktopPoints);
        QApplication::setFont(changed);
        {
            WindowFixture f;
            const Twips::Scale scale = Twips::Scale::of(*f.window);
            QCOMPARE(f.grid->rowHeight(0), scale.y(qRound(EstimateSheet::ItemRowHeight * factor)));
            QCOMPARE(f.child<QLineEdit>("txtName")->height(), scale.y(qRound(285 * factor)));
            QCOMPARE(f.grid->font().pointSizeF(), CellPainter::SheetFontPoints * factor);
        }
        QApplication::setFont(desktop);
    }

    // The line below the sheet: the estimate's file, what was just saved or exported, and the
    // sum of the selected amounts.
    void statusBarTellsWhatHappened()
    {
        WindowFixture f;
        QVERIFY(f.window->statusBar()->isVisible());
        QCOMPARE(statusLasting(f), QStringLiteral("Untitled"));

        f.enter(5, 3, QStringLiteral("100"));
        f.enter(6, 3, QStringLiteral("250.5"));
        f.enter(7, 3, QStringLiteral("TBD"));
        f.clickCell(5, 3);
        f.press(Qt::Key_Down, Qt::ShiftModifier);
        f.press(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(statusLasting(f), QStringLiteral("Untitled|Sum: $350.50"));
        f.press(Qt::Key_Up);
        QCOMPARE(statusLasting(f), QStringLiteral("Untitled"));

        f.dialogs->savePaths = {m_folder.filePath("house.vrn")};
        f.press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.statusNotice(), QStringLiteral("Saved house.vrn"));
        QTRY_COMPARE_WITH_TIMEOUT(f.statusNotice(), QString(), 10000);
        QCOMPARE(statusLasting(f), QStringLiteral("house.vrn"));

        f.dialogs->exportPaths = {m_folder.filePath("for the bank.csv")};
        f.trigger("mnuExportCsv");
        QCOMPARE(f.statusNotice(), QStringLiteral("Exported for the bank.csv"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Cost Estimate"));
    }

    void recentFilesKeptAcrossRestarts()
    {
        QStringList paths;
        for (const char *name : {"a.vrn", "b.vrn", "c.vrn", "d.vrn", "e.vrn"})
            paths << m_folder.filePath(QLatin1String(name));
        {
            WindowFixture f;
            QVERIFY(recentFiles(f).isEmpty());
            f.dialogs->savePaths = paths;
            for (int i = 0; i < paths.size(); ++i)
                f.window->document().saveAs();
            // Opening one brings it to the top; four are kept.
            f.dialogs->openPaths = {paths[2]};
            f.window->document().open();
        }
        WindowFixture restarted;
        QCOMPARE(recentFiles(restarted), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
        QCOMPARE(restarted.child<QMenu>("mnuFileTop")->actions().last()->objectName(), QStringLiteral("mnuExit"));
        restarted.trigger("mnuRecent3");
        QCOMPARE(restarted.window->document().CurrentFile(), paths[3]);
    }

    void missingRecentFileIsRemoved()
    {
        WindowFixture f;
        const QString gone = m_folder.filePath(QStringLiteral("gone.vrn"));
        f.dialogs->savePaths = {gone};
        f.window->document().saveAs();
        QVERIFY(QFile::remove(gone));
        f.trigger("mnuRecent1");
        QCOMPARE(f.messages->texts(), QStringList{"An error as accured while trying to open this file."});
        QVERIFY(!recentFiles(f).contains(gone));
        WindowFixture restarted;
        QVERIFY(!recentFiles(restarted).contains(gone));
    }
    void droppedOnto_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("the sheet") << QStringLiteral("grdMain");
        QTest::newRow("a text box") << QStringLiteral("txtName");
        QTest::newRow("the address") << QStringLiteral("txtAddress");
        QTest::newRow("a frame") << QStringLiteral("fraBuilder");
    }

    // An estimate file dragged from the file manager and dropped on the window: wherever it
    // lands, the file opens as File > Open opens it.
    void droppedOnto()
    {
        QFETCH(QString, control);
        WindowFixture f;
        const QString file = f.path(QStringLiteral("fence.vrn"));
        QVERIFY(EstimateFile::save(file, fencedEstimate()));

        QVERIFY(drop(f.window->findChild<QWidget *>(control), {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(f.text(1, 1), QStringLiteral("County Office"));
        QCOMPARE(f.text(37, 3), QStringLiteral("$250.00"));
        QCOMPARE(f.child<QLineEdit>("txtBuilder")->text(), QStringLiteral("Jo Fence"));
        QCOMPARE(f.child<QLineEdit>("txtName")->text(), QString());
        QCOMPARE(f.window->document().CurrentFile(), file);
        QVERIFY(f.window->document().DocumentSaved());
        QCOMPARE(f.messages->texts(), QStringList());
    }

    void unsavedChangesGuarded_data()
    {
        Rows::columns<MessageBoxes::Answer, bool>("answer", "opened");
        QTest::newRow("Yes") << MessageBoxes::Yes << true;
        QTest::newRow("No") << MessageBoxes::No << true;
        QTest::newRow("Cancel") << MessageBoxes::Cancel << false;
    }

    // The save prompt comes first, and its Cancel keeps the estimate on the screen.
    void unsavedChangesGuarded()
    {
        auto [answer, opened] = Rows::fetch<MessageBoxes::Answer, bool>("answer", "opened");
        WindowFixture f;
        const QString file = f.path(QStringLiteral("fence.vrn"));
        const QString typed = f.path(QStringLiteral("typed.vrn"));
        QVERIFY(EstimateFile::save(file, fencedEstimate()));
        f.enter(2, 1, QStringLiteral("Acme"));
        f.messages->answers = {answer};
        f.dialogs->savePaths = {typed};

        QVERIFY(drop(f.grid, {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(f.messages->texts(), QStringList{QStringLiteral("Do you want to save your Current document?")});
        QTRY_COMPARE(f.text(1, 1), opened ? QStringLiteral("County Office") : QString());
        QCOMPARE(f.text(2, 1), opened ? QString() : QStringLiteral("Acme"));
        QCOMPARE(QFileInfo::exists(typed), answer == MessageBoxes::Yes);
    }

    void notAnEstimate_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::newRow("a picture") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/house.png"))};
        QTest::newRow("two estimates") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.vrn")),
                                                      QUrl::fromLocalFile(QStringLiteral("/tmp/b.vrn"))};
        QTest::newRow("a web address") << QList<QUrl>{QUrl(QStringLiteral("https://varn.example/a.vrn"))};
    }

    void notAnEstimate()
    {
        QFETCH(QList<QUrl>, urls);
        WindowFixture f;
        QVERIFY(!drop(f.grid, urls));
        QTest::qWait(50);
        QCOMPARE(f.messages->texts(), QStringList());
        QCOMPARE(f.dialogs->openCount, 0);
    }

    // The wheel scrolls the sheet a step of rows a notch.
    void step_data()
    {
        Rows::columns<int, int, int, int>("topRow", "rotation", "headerHeight", "expected");
        // The grid is 6250 twips high throughout.
        QTest::newRow("12.5 header rows scroll 12") << 1 << -120 << 500 << 13;
        QTest::newRow("at least 10") << 1 << -120 << 1000 << 11;
        QTest::newRow("two notches in one message, one step") << 1 << -240 << 500 << 13;
        QTest::newRow("up stops at the first row") << 5 << 120 << 500 << 1;
        QTest::newRow("down asks for the last row at most") << 30 << -120 << 500 << 37;
        QTest::newRow("no header height") << 1 << -120 << 0 << 11;
    }

    void step()
    {
        auto [topRow, rotation, headerHeight, expected] =
            Rows::fetch<int, int, int, int>("topRow", "rotation", "headerHeight", "expected");
        QCOMPARE(WheelHook::scrolledTopRow(topRow, rotation, 6250, headerHeight, 38), expected);
    }

    void wheelOverTheWindow()
    {
        WindowFixture f;
        f.resizeToDesign();
        const int step = std::max(10, f.model().height() / f.model().rowHeight(0));
        f.clickCell(3, 3);
        f.type(QStringLiteral("4"));

        // One step per notch, with Ctrl and Shift too, instead of the grid's own scrolling.
        WindowFixture::turn(f.grid->viewport(), -120, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.model().topRow(), 1 + step);
        QCOMPARE(f.grid->rowAt(0) + 1, 1 + step);
        // The editor went out of view with its cell.
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.model().currentRow(), 3);

        // Over a label the wheel scrolls the sheet; the address box keeps it for its text.
        WindowFixture::turn(f.child<QLabel>("lblLogo"), 120);
        QCOMPARE(f.model().topRow(), 1);
        for (const char *textBox : {"txtAddress", "txtName", "txtBuilder"}) {
            WindowFixture::turn(f.window->findChild<QWidget *>(QLatin1String(textBox)), -120);
            QVERIFY2(f.model().topRow() == 1, textBox);
        }
        // A sideways turn leaves the rows alone.
        WindowFixture::turn(f.grid->viewport(), QPoint(-120, 0));
        QCOMPARE(f.model().topRow(), 1);

        // After a close cancelled at the save prompt the wheel still works.
        f.messages->answers = {MessageBoxes::Cancel};
        QVERIFY(!f.window->close());
        WindowFixture::turn(f.grid->viewport(), -120);
        QCOMPARE(f.model().topRow(), 1 + step);
    }

    // However far the wheel turns, the row under the header row shows whole: its grid line
    // lies where it lay before any turn, one row's height below the header.
    void scrollingLandsOnWholeRows()
    {
        WindowFixture f;
        f.resizeToDesign();
        int whole = -1;
        for (int notches = 0; notches <= 4; ++notches) {
            if (notches > 0)
                WindowFixture::turn(f.grid->viewport(), -120);
            const QImage shown = f.grid->viewport()->grab().toImage();
            // Along the left edge of the first column, clear of its text, the first row's line
            // ends: one pixel thick, or two on a dense screen.
            const int x = f.grid->columnViewportPosition(0) + 1;
            int firstLineEnd = 0;
            while (firstLineEnd + 1 < shown.height()
                   && (shown.pixelColor(x, firstLineEnd) != CellDelegate::gridLineColour()
                       || shown.pixelColor(x, firstLineEnd + 1) == CellDelegate::gridLineColour()))
                ++firstLineEnd;
            whole = notches == 0 ? firstLineEnd : whole;
            QCOMPARE(firstLineEnd, whole);
        }
        QVERIFY(whole > 0);
    }

    void touchpadAddsUp()
    {
        WindowFixture f;
        f.resizeToDesign();
        for (int i = 0; i < 7; ++i)
            WindowFixture::turn(f.grid->viewport(), -15);
        QCOMPARE(f.model().topRow(), 1);
        WindowFixture::turn(f.grid->viewport(), -15);
        QVERIFY(f.model().topRow() > 1);
        // Turning back starts counting afresh.
        for (int i = 0; i < 7; ++i)
            WindowFixture::turn(f.grid->viewport(), -15);
        WindowFixture::turn(f.grid->viewport(), 60);
        WindowFixture::turn(f.grid->viewport(), 60);
        QCOMPARE(f.model().topRow(), 1);
    }

    // What a screen reader learns of the window: every control by name and purpose, and each
    // cell of the sheet by what it holds, its row and column told apart from it.
    void everyControlNamed()
    {
        WindowFixture f;
        QStringList unnamed;
        QStringList undescribed;
        const QList<QWidget *> controls = f.window->findChildren<QWidget *>();
        for (QWidget *control : controls) {
            const bool takesFocus = control->focusPolicy() != Qt::NoFocus;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            if (!control->isVisibleTo(f.window.get()) || accessible->state().invisible
                || !(takesFocus || qobject_cast<QToolButton *>(control) || qobject_cast<QToolBar *>(control)))
                continue;
            const QString name = control->objectName().isEmpty()
                ? QString::fromLatin1(control->metaObject()->className())
                : control->objectName();
            if (said(control, QAccessible::Name).trimmed().isEmpty())
                unnamed << name;
            if (takesFocus && said(control, QAccessible::Description).trimmed().isEmpty())
                undescribed << name;
        }
        QCOMPARE(unnamed, QStringList());
        QCOMPARE(undescribed, QStringList());
        QCOMPARE(said(f.child<QLineEdit>("txtName"), QAccessible::Name), QStringLiteral("Owner's name"));
    }

    // What is read of the cell: its name, its row's header, its column's, its text and its
    // description. A screen reader speaks the text, so a negative amount's says "minus" too.
    void currentCell_data()
    {
        Rows::columns<int, int, QString>("row", "column", "read");
        const QString advice = EstimateSheet().CategoryHelpTexts.at(4);
        QTest::newRow("an amount") << 5 << 3 << u"$1,500.00|Rough Lumber|Original Cost Estimate|$1,500.00|"_s;
        QTest::newRow("a negative amount")
            << 6 << 7 << u"minus $50.00|Rough Labor|Estimated Cost to Complete|minus $50.00|"_s;
        QTest::newRow("an empty cell") << 1 << 1 << u"empty|Permits, Fees, Surveys|Subcontractor, Supplier||"_s;
        QTest::newRow("a category, with its advice")
            << 5 << 2 << u"Rough Lumber|Rough Lumber|Description|Rough Lumber|"_s + advice;
        QTest::newRow("a spare row") << 31 << 2 << u"empty|Row 31|Description||"_s;
        QTest::newRow("the total") << 37 << 4 << u"$1,450.00|Total|Adjusted Cost Estimate|$1,450.00|"_s;
        QTest::newRow("a note") << 6 << 6
                                << u"TBD. Not an amount: not counted|Rough Labor|Current Amounts to be Paid|TBD|"_s;
        QTest::newRow("an amount shown as ###") << 7 << 5
                                                << u"$123,456,789,012.00|Windows/Ext. Doors|Total of Previous Payment|"
                                                   "$123,456,789,012.00|$123,456,789,012.00"_s;
    }

    // Moved to by the keyboard, the current cell says its text; its row and column come from
    // the table's headers, which a screen reader speaks only when they change.
    void currentCell()
    {
        auto [row, column, read] = Rows::fetch<int, int, QString>("row", "column", "read");
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1500"));
        f.enter(6, 3, QStringLiteral("-50"));
        f.enter(7, 5, QStringLiteral("123456789012"));
        QGuiApplication::clipboard()->setText(QStringLiteral("TBD"));
        f.clickCell(6, 6);
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Home, Qt::ControlModifier);
        for (int down = 1; down < row; ++down)
            f.press(Qt::Key_Down);
        for (int right = 1; right < column; ++right)
            f.press(Qt::Key_Right);
        QCOMPARE(f.window->sheet().grid().currentRow(), row);
        QCOMPARE(reading(f.grid).join(u'|'), read);
    }

    // Tab from the builder's name into the sheet lands on its first cell, and the screen
    // reader hears of nothing in between: the tab trap is neither announced nor shown.
    void tabTrapUnheard()
    {
        WindowFixture f;
        auto *trap = f.child<QLineEdit>("txtTemp");
        QList<QObject *> shown;
        collectShown(QAccessible::queryAccessibleInterface(f.window.get()), shown);
        QVERIFY(!shown.isEmpty());
        QVERIFY(!shown.contains(trap));

        f.child<QLineEdit>("txtBuilder")->setFocus();
        // What takes the focus is what a screen reader announces.
        QList<QWidget *> focused;
        const QMetaObject::Connection watch =
            connect(qApp, &QApplication::focusChanged, this, [&focused](QWidget *, QWidget *now) { focused << now; });
        f.press(Qt::Key_Tab);
        disconnect(watch);
        QVERIFY(!focused.contains(trap));
        QCOMPARE(QApplication::focusWidget(), f.grid);
        QCOMPARE(currentCell(f.grid)->text(QAccessible::Name), QStringLiteral("empty"));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
