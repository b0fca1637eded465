#include "windowfixture.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keptAcrossRestarts();
    void missingFileIsRemoved();

private:
    static QStringList recentTexts(const WindowFixture &f);
    static QAction *recent(const WindowFixture &f, int number)
    {
        return f.window->findChild<QAction *>(QStringLiteral("mnuRecent%1").arg(number));
    }

    QTemporaryDir m_settings;
    QTemporaryDir m_folder;
};

void TestRecentFiles::initTestCase()
{
    // A settings store of the test's own, as a fresh user's.
    qputenv("XDG_CONFIG_HOME", m_settings.path().toUtf8());
}

QStringList TestRecentFiles::recentTexts(const WindowFixture &f)
{
    QStringList texts;
    for (int number = 1; number <= 4; ++number) {
        if (recent(f, number)->isVisible())
            texts << recent(f, number)->data().toString();
    }
    return texts;
}

void TestRecentFiles::keptAcrossRestarts()
{
    QStringList paths;
    for (const char *name : {"a.vrn", "b.vrn", "c.vrn", "d.vrn", "e.vrn"})
        paths << m_folder.filePath(QLatin1String(name));
    {
        WindowFixture f;
        QVERIFY(recentTexts(f).isEmpty());
        for (const QString &path : paths) {
            f.dialogs->savePaths = {path};
            f.window->document().saveAs();
        }
        QCOMPARE(recentTexts(f), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
        // Opening one brings it to the top.
        f.dialogs->openPaths = {paths[2]};
        f.window->document().open();
        QCOMPARE(recentTexts(f), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    }
    WindowFixture restarted;
    QCOMPARE(recentTexts(restarted), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    QVERIFY(recent(restarted, 1)->text().startsWith(QStringLiteral("&1 ")));
    // Above Exit, in the File menu.
    const QList<QAction *> items = restarted.window->findChild<QMenu *>(QStringLiteral("mnuFileTop"))->actions();
    QVERIFY(items.indexOf(recent(restarted, 4)) < items.size() - 1);
    QCOMPARE(items.last()->objectName(), QStringLiteral("mnuExit"));

    recent(restarted, 3)->trigger();
    QCOMPARE(restarted.window->document().CurrentFile(), paths[3]);
}

void TestRecentFiles::missingFileIsRemoved()
{
    WindowFixture f;
    const QString gone = m_folder.filePath(QStringLiteral("gone.vrn"));
    f.dialogs->savePaths = {gone};
    f.window->document().saveAs();
    QVERIFY(QFile::remove(gone));
    QCOMPARE(recentTexts(f).first(), gone);
    recent(f, 1)->trigger();
    QCOMPARE(f.messages->texts(), QStringList{"An error as accured while trying to open this file."});
    QVERIFY(!recentTexts(f).contains(gone));
    WindowFixture restarted;
    QVERIFY(!recentTexts(restarted).contains(gone));
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
