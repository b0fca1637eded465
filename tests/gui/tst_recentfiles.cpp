#include "support/windowfixture.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A settings store of the test's own, as a fresh user's.
        qputenv("XDG_CONFIG_HOME", m_settings.path().toUtf8());
    }

    void keptAcrossRestarts()
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
        QCOMPARE(restarted.window->findChild<QMenu *>(QStringLiteral("mnuFileTop"))->actions().last()->objectName(),
                 QStringLiteral("mnuExit"));
        restarted.window->findChild<QAction *>(QStringLiteral("mnuRecent3"))->trigger();
        QCOMPARE(restarted.window->document().CurrentFile(), paths[3]);
    }

    void missingFileIsRemoved()
    {
        WindowFixture f;
        const QString gone = m_folder.filePath(QStringLiteral("gone.vrn"));
        f.dialogs->savePaths = {gone};
        f.window->document().saveAs();
        QVERIFY(QFile::remove(gone));
        f.window->findChild<QAction *>(QStringLiteral("mnuRecent1"))->trigger();
        QCOMPARE(f.messages->texts(), QStringList{"An error as accured while trying to open this file."});
        QVERIFY(!recentFiles(f).contains(gone));
        WindowFixture restarted;
        QVERIFY(!recentFiles(restarted).contains(gone));
    }

private:
    static QStringList recentFiles(const WindowFixture &f);
    QTemporaryDir m_settings;
    QTemporaryDir m_folder;
};

QStringList TestRecentFiles::recentFiles(const WindowFixture &f)
{
    QStringList files;
    for (const QAction *item : f.window->findChild<QMenu *>(QStringLiteral("mnuFileTop"))->actions()) {
        if (item->objectName().startsWith(QStringLiteral("mnuRecent")) && item->isVisible())
            files << item->data().toString();
    }
    return files;
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
