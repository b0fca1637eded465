#include "core/sheet/estimatesheet.h"
#include "support/windowfixture.h"

#include <QScreen>
#include <QSettings>

// The window at its first start, on a desktop screen with room for it: the whole sheet in view.
class TestFirstWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        QSettings(name, name).remove(QStringLiteral("Window"));
    }

    void showsEveryColumnAndTheTotal()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(1920, 1200));
        WindowFixture f;
        const QRect viewport = f.grid->viewport()->rect();
        for (int column = 1; column <= EstimateSheet::CostToCompleteColumn; ++column) {
            const QRect inGrid = f.grid->cellRect(EstimateSheet::TotalRow, column);
            const QRect cell(f.grid->viewport()->mapFrom(f.grid, inGrid.topLeft()), inGrid.size());
            QVERIFY2(viewport.contains(cell), qPrintable(QStringLiteral("column %1").arg(column)));
        }
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(f.window->frameGeometry()));
    }
};

QTEST_MAIN(TestFirstWindow)
#include "tst_firstwindow.moc"
