// Not a test: the pictures of the program that its AppStream metadata shows, made on the
// offscreen platform from the example estimate, into the folder VARN_SCREENSHOT_DIR names
// (scripts/make-screenshots.sh).
#include "support/windowfixture.h"

#include <QDockWidget>

class MakeScreenshots : public QObject
{
    Q_OBJECT

    static void save(QWidget &window, const QString &name)
    {
        const QString folder = qEnvironmentVariable("VARN_SCREENSHOT_DIR");
        QVERIFY(!folder.isEmpty());
        QVERIFY(window.grab().save(QDir(folder).filePath(name)));
    }

    static void shot(const char *view, const QString &name)
    {
        WindowFixture f;
        f.window->resize(1100, 660);
        f.trigger("mnuOpenExample");
        if (view)
            f.child<QDockWidget>(view)->toggleViewAction()->trigger();
        f.clickCell(6, EstimateSheet::OriginalEstimateColumn);
        QTest::qWait(0);
        save(*f.window, name);
    }

private slots:
    void sheet() { shot(nullptr, QStringLiteral("sheet.png")); }
    void draws() { shot("dckDraws", QStringLiteral("draws.png")); }
    void budget() { shot("dckBudget", QStringLiteral("budget.png")); }
};

QTEST_MAIN(MakeScreenshots)
#include "make_screenshots.moc"
