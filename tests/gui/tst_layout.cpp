#include "core/sheet/twips.h"
#include "support/windowfixture.h"

#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
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

        auto *builder = f.window->findChild<QGroupBox *>(QStringLiteral("fraBuilder"));

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

        QVERIFY(builder->geometry().contains(f.window->findChild<QLineEdit *>(QStringLiteral("txtTemp"))->geometry()));
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

    // The toolbar takes the desktop's icons where its theme has them, and otherwise draws its
    // own, sharp at the screen's density.
    void toolbarIcons()
    {
        const QTemporaryDir theme;
        const QString themeFolder = theme.filePath("desk");
        QFile index(themeFolder + "/index.theme");
        QVERIFY(QDir().mkpath(themeFolder) && index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=desk\nDirectories=16x16/actions,32x32/actions\n");
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
        const QString themeName = QIcon::themeName();
        QIcon::setThemeSearchPaths({theme.path()});
        QIcon::setThemeName("desk");
        WindowFixture f;

        auto *toolBar = f.window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
        const qreal density = f.window->devicePixelRatio();
        QStringList icons;
        for (const QAction *button : toolBar->actions()) {
            if (button->isSeparator())
                continue;
            const QPixmap pixmap = button->icon().pixmap(toolBar->iconSize(), density);
            const bool sharp = pixmap.size() == toolBar->iconSize() * density;
            icons << button->data().toString() + u' '
                    + (button->icon().name().isEmpty() ? "own" : button->icon().name()) + (sharp ? "" : " blurred");
        }
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(themeName);
        QCOMPARE(icons, (QStringList{"New own", "Open document-open", "Save own", "Print own"}));
    }

    void sheetSizesOnScreen()

    {

        WindowFixture f;

        const Grid &grid = f.model();

        // The header row is twice the default height, the Total row the default, items 280 twips.

        QCOMPARE(f.grid->horizontalHeader()->height(), Twips::Scale::of(*f.window).y(2 * grid.defaultRowHeight()));

        QCOMPARE(f.grid->rowHeight(0), Twips::Scale::of(*f.window).y(280));

        QCOMPARE(f.grid->rowHeight(36), Twips::Scale::of(*f.window).y(grid.defaultRowHeight()));

        QCOMPARE(f.grid->verticalHeader()->width(), Twips::Scale::of(*f.window).x(400));

        QCOMPARE(f.grid->model()->headerData(6, Qt::Vertical).toString(), QStringLiteral(" 7"));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
