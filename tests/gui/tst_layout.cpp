#include "core/sheet/twips.h"
#include "support/windowfixture.h"

#include <QGroupBox>
#include <QHeaderView>

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

        QCOMPARE(grid.height(), Twips::fromPixels(outer.height(), f.window->logicalDpiY()) - 2700);

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
