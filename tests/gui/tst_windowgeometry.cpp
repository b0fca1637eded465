#include "support/windowfixture.h"

#include <QAction>
#include <QScreen>
#include <QSettings>

// Where the window was last left is where it comes back, on the screen.
class TestWindowGeometry : public QObject
{
    Q_OBJECT

private:
    static void forgetWindow()
    {
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        QSettings(name, name).remove(QStringLiteral("Window"));
    }

    // The window left as the user leaves it, by File > Exit.
    static void leaveAt(const QRect &geometry)
    {
        WindowFixture f;
        f.window->setGeometry(geometry);
        QTRY_COMPARE(f.window->geometry(), geometry);
        f.window->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(!f.window->isVisible());
    }

    static QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void init() { forgetWindow(); }
    void cleanupTestCase() { forgetWindow(); }

    void firstStart()
    {
        QSize designed;
        {
            WindowFixture f;
            designed = f.window->size();
            // Wider than the design, to show the whole sheet, but no wider than the screen.
            QVERIFY(designed.width() > Twips::Scale::of(*f.window).x(9885));
            QVERIFY(available().contains(f.window->frameGeometry()));
        }
        leaveAt(QRect(QPoint(20, 30), designed - QSize(100, 80)));
        forgetWindow();
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
        QTest::addColumn<QRect>("left");
        QTest::addColumn<bool>("fits");
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
        QFETCH(QRect, left);
        QFETCH(bool, fits);
        leaveAt(left);
        WindowFixture f;
        QVERIFY2(available().contains(f.window->frameGeometry()),
                 qPrintable(QStringLiteral("window at %1,%2 %3x%4")
                                .arg(f.window->x())
                                .arg(f.window->y())
                                .arg(f.window->width())
                                .arg(f.window->height())));
        if (fits)
            QCOMPARE(f.window->size(), left.size());
    }
};

QTEST_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
