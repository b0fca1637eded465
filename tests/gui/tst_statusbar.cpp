#include "support/windowfixture.h"

#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>

// The line below the sheet: the estimate's file, what was just saved or exported, and the
// sum of the selected amounts.
class TestStatusBar : public QObject
{
    Q_OBJECT

private:
    static QString shown(const WindowFixture &f) { return f.window->statusBar()->currentMessage(); }

    // What the line says with nothing fleeting on it.
    static QString lasting(const WindowFixture &f)
    {
        QStringList texts;
        for (const QLabel *label : f.window->statusBar()->findChildren<QLabel *>()) {
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        }
        return texts.join(u'|');
    }

private slots:
    void tellsWhatHappened()
    {
        WindowFixture f;
        const QTemporaryDir folder;
        QVERIFY(f.window->statusBar()->isVisible());
        QCOMPARE(lasting(f), QStringLiteral("Untitled"));

        f.enter(5, 3, QStringLiteral("100"));
        f.enter(6, 3, QStringLiteral("250.5"));
        f.enter(7, 3, QStringLiteral("TBD"));
        f.clickCell(5, 3);
        f.press(Qt::Key_Down, Qt::ShiftModifier);
        f.press(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(lasting(f), QStringLiteral("Untitled|Sum: $350.50"));
        f.press(Qt::Key_Up);
        QCOMPARE(lasting(f), QStringLiteral("Untitled"));

        f.dialogs->savePaths = {folder.filePath("house.vrn")};
        f.press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shown(f), QStringLiteral("Saved house.vrn"));
        QTRY_COMPARE_WITH_TIMEOUT(shown(f), QString(), 10000);
        QCOMPARE(lasting(f), QStringLiteral("house.vrn"));

        f.dialogs->exportPaths = {folder.filePath("for the bank.csv")};
        f.window->findChild<QAction *>(QStringLiteral("mnuExportCsv"))->trigger();
        QCOMPARE(shown(f), QStringLiteral("Exported for the bank.csv"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Cost Estimate"));
    }

    // The line takes its height from the grid, which ends above it.
    void gridEndsAboveIt()
    {
        WindowFixture f;
        f.window->resize(700, 560);
        const QStatusBar *bar = f.window->statusBar();
        QTRY_VERIFY(bar->isVisible());
        const int gridBottom = f.grid->mapTo(f.window.get(), f.grid->rect().bottomLeft()).y();
        QVERIFY2(gridBottom < bar->y(), qPrintable(QStringLiteral("%1 below %2").arg(gridBottom).arg(bar->y())));
    }
};

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
