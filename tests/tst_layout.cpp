#include "app/twips.h"
#include "windowfixture.h"

#include <QGroupBox>
#include <QHeaderView>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void gridFollowsWindow_data();
    void gridFollowsWindow();
    void smallWindowKeepsGridSize();
    void veryWideWindow();
    void otherControlsStayPut();
    void sheetSizesOnScreen();
};

namespace {
int outerWidthTwips(const QWidget &window)
{
    return Twips::fromPixels(window.frameGeometry().width(), window.logicalDpiX());
}

int outerHeightTwips(const QWidget &window)
{
    return Twips::fromPixels(window.frameGeometry().height(), window.logicalDpiY());
}
}

void TestLayout::gridFollowsWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("narrow: first column at its minimum") << QSize(500, 400);
    QTest::newRow("wide: first column takes the rest") << QSize(1200, 900);
    QTest::newRow("just over the limits") << QSize(201, 201);
}

void TestLayout::gridFollowsWindow()
{
    QFETCH(QSize, size);
    WindowFixture f;
    f.window->resize(size);
    const Grid &grid = f.model();
    QCOMPARE(grid.width(), outerWidthTwips(*f.window) - 500);
    QCOMPARE(grid.height(), outerHeightTwips(*f.window) - 2700);
    QCOMPARE(grid.columnWidth(1), std::max(1500, grid.width() - 10100));
    QCOMPARE(f.grid->width(), f.window->twipsToPixelsX(grid.width()));
    QCOMPARE(f.grid->height(), f.window->twipsToPixelsY(grid.height()));
}

void TestLayout::smallWindowKeepsGridSize()
{
    WindowFixture f;
    f.window->resize(800, 600);
    const int width = f.model().width();
    const int height = f.model().height();
    // 3000 twips or less in a dimension leaves the grid's size in that dimension alone.
    f.window->resize(800, 150);
    QCOMPARE(f.model().height(), height);
    QCOMPARE(f.model().width(), width);
    f.window->resize(150, 600);
    QCOMPARE(f.model().width(), width);
    QCOMPARE(f.model().height(), outerHeightTwips(*f.window) - 2700);
}

void TestLayout::veryWideWindow()
{
    WindowFixture f;
    f.window->resize(60000, 600);
    const Grid &grid = f.model();
    QVERIFY(grid.width() > 800000);
    QCOMPARE(grid.columnWidth(1), grid.width() - 10100);
    QCOMPARE(f.grid->columnWidth(0), f.window->twipsToPixelsX(grid.columnWidth(1)));
}

void TestLayout::otherControlsStayPut()
{
    WindowFixture f;
    auto *location = f.window->findChild<QGroupBox *>(QStringLiteral("fraLocation"));
    auto *builder = f.window->findChild<QGroupBox *>(QStringLiteral("fraBuilder"));
    const QRect locationBefore = location->geometry();
    const QRect builderBefore = builder->geometry();
    const QPoint gridBefore = f.grid->pos();
    f.window->resize(1300, 1000);
    QCOMPARE(location->geometry(), locationBefore);
    QCOMPARE(builder->geometry(), builderBefore);
    QCOMPARE(f.grid->pos(), gridBefore);
    // The tab trap stays hidden behind the builder frame.
    auto *trap = f.window->findChild<QLineEdit *>(QStringLiteral("txtTemp"));
    QVERIFY(trap->isVisible());
    QVERIFY(builder->geometry().contains(trap->geometry()));
}

void TestLayout::sheetSizesOnScreen()
{
    WindowFixture f;
    const Grid &grid = f.model();
    // The header row is twice the default height, the Total row the default, items 280 twips.
    QCOMPARE(grid.rowHeight(0), 2 * grid.defaultRowHeight());
    QCOMPARE(f.grid->rowHeight(0), f.window->twipsToPixelsY(280));
    QCOMPARE(f.grid->rowHeight(36), f.window->twipsToPixelsY(grid.defaultRowHeight()));
    QCOMPARE(f.grid->horizontalHeader()->height(), f.window->twipsToPixelsY(grid.rowHeight(0)));
    QCOMPARE(f.grid->verticalHeader()->width(), f.window->twipsToPixelsX(400));
    QCOMPARE(f.grid->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Estimated Cost to Complete"));
    QCOMPARE(f.grid->model()->headerData(6, Qt::Vertical).toString(), QStringLiteral(" 7"));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
