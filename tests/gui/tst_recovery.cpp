#include "core/document/estimatefile.h"
#include "faultinjection/faultinjection.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cerrno>

// The recovery copies as the disk holds them: the estimate's bytes, the path of its file
// beside them, and the lock of the run that wrote them.
class TestRecovery : public QObject
{
    Q_OBJECT

private:
    static QDir dataFolder()
    {
        const QString path = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir().mkpath(path);
        return QDir(path);
    }

    static QStringList copies() { return dataFolder().entryList({QStringLiteral("*.vrn")}, QDir::Files); }
    static QStringList allFiles() { return dataFolder().entryList(QDir::Files | QDir::Hidden); }

    static EstimateContent lumberEstimate()
    {
        EstimateContent content;
        content.name = QStringLiteral("Dana Fox");
        content.cells[4] = {"Hill Lumber", "Rough Lumber", "$1,500.00", "$1,500.00", "", "", "$1,500.00"};
        return content;
    }

    // A copy as a run leaves it that ends without exiting: no one holds its lock.
    static QString leaveCopy(const QString &name, const QString &originalPath)
    {
        const QString copy = dataFolder().filePath(name + QStringLiteral(".vrn"));
        return Files::write(copy, EstimateFile::encode(lumberEstimate()))
                && Files::write(dataFolder().filePath(name + QStringLiteral(".path")), originalPath.toUtf8())
            ? copy
            : QString();
    }

    static QString question(const QString &copy)
    {
        return QStringLiteral("VARN did not close normally. Restore the unsaved estimate from %1?")
            .arg(QLocale().toString(QFileInfo(copy).lastModified(), QLocale::ShortFormat));
    }

private slots:
    void init()
    {
        dataFolder().removeRecursively();
        qputenv("VARN_RECOVERY_DELAY_MS", "50");
    }

    void cleanupTestCase() { dataFolder().removeRecursively(); }

    void leftCopyOffered_data()
    {
        Rows::columns<MessageBoxes::Answer, QString>("answer", "originalPath");
        QTest::newRow("restored, with its file") << MessageBoxes::Yes << QStringLiteral("/home/dana/house.vrn");
        QTest::newRow("restored, never saved") << MessageBoxes::Yes << QString();
        QTest::newRow("declined") << MessageBoxes::No << QStringLiteral("/home/dana/house.vrn");
    }

    // Yes brings back the estimate unsaved, belonging to its file; either answer settles
    // the copy for good.
    void leftCopyOffered()
    {
        auto [answer, originalPath] = Rows::fetch<MessageBoxes::Answer, QString>("answer", "originalPath");
        const QString copy = leaveCopy(QStringLiteral("4242-1"), originalPath);
        QVERIFY(!copy.isEmpty());
        const QString expectedQuestion = question(copy);

        WindowFixture f(QString(), {answer});
        QTRY_COMPARE(f.messages->shown.size(), 1);
        QCOMPARE(f.messages->shown.first().kind, QStringLiteral("yes/no question"));
        QCOMPARE(f.messages->shown.first().text, expectedQuestion);
        const bool restored = answer == MessageBoxes::Yes;
        QCOMPARE(f.text(5, 1), restored ? QStringLiteral("Hill Lumber") : QString());
        QCOMPARE(f.text(37, 3), restored ? QStringLiteral("$1,500.00") : QStringLiteral("0"));
        QCOMPARE(f.child<QLineEdit>("txtName")->text(), restored ? QStringLiteral("Dana Fox") : QString());
        QCOMPARE(f.window->document().CurrentFile(), restored ? originalPath : QString());
        QCOMPARE(f.window->document().DocumentSaved(), !restored);
        QCOMPARE(dataFolder().entryList({QStringLiteral("4242-1*")}, QDir::Files | QDir::Hidden), QStringList());
    }

    void restoredEstimateKeptAtOnce_data()
    {
        Rows::columns<bool, QByteArray>("folderWritable", "delay");
        QTest::newRow("copy written") << true << QByteArray("600000");
        QTest::newRow("folder full") << false << QByteArray("50");
    }

    // A restored estimate has a copy of this run's own at once, not only a delay later, and
    // the copy it came from stays until then: a second crash soon after loses nothing. The
    // folder and every file in it are the user's alone. When no copy can be written, the
    // window says so, once.
    void restoredEstimateKeptAtOnce()
    {
        auto [folderWritable, delay] = Rows::fetch<bool, QByteArray>("folderWritable", "delay");
        qputenv("VARN_RECOVERY_DELAY_MS", delay);
        QVERIFY(!leaveCopy(QStringLiteral("4242-1"), QStringLiteral("/home/dana/house.vrn")).isEmpty());
        const QString question = TestRecovery::question(dataFolder().filePath(QStringLiteral("4242-1.vrn")));
        const QByteArray folder = QFile::encodeName(dataFolder().path());
        if (!folderWritable)
            varn_fault_arm(folder.constData(), "rename", -1, ENOSPC);
        const auto disarm = qScopeGuard([] { varn_fault_arm(nullptr, nullptr, 0, 0); });

        WindowFixture f(QString(), {MessageBoxes::Yes});
        QTRY_VERIFY(!f.window->document().DocumentSaved());
        if (folderWritable) {
            QCOMPARE(copies().size(), 1);
            QVERIFY(copies().first() != u"4242-1.vrn");
            QCOMPARE(Files::read(dataFolder().filePath(copies().first())), EstimateFile::encode(lumberEstimate()));
            QCOMPARE(f.messages->texts(), QStringList{question});
            QCOMPARE(QFileInfo(dataFolder().path()).permissions() & 0x0777, QFileDevice::Permissions(0x0700));
            for (const QString &file : allFiles())
                QCOMPARE(QFileInfo(dataFolder().filePath(file)).permissions() & 0x0777,
                         QFileDevice::Permissions(0x0600));
            return;
        }
        f.enter(6, 1, QStringLiteral("Acme"));
        QTest::qWait(200);
        QCOMPARE(copies(), QStringList{"4242-1.vrn"});
        QCOMPARE(f.messages->texts(),
                 (QStringList{question,
                              QStringLiteral("Unsaved changes cannot be kept safe: %1: No space left on device")
                                  .arg(dataFolder().path())}));
    }

    // A running program's copy is its own: another one neither offers nor removes it.
    void copyOfARunningProgramLeftAlone()
    {
        const QString copy = leaveCopy(QStringLiteral("4343-1"), QString());
        QLockFile stillRunning(dataFolder().filePath(QStringLiteral("4343-1.lock")));
        QVERIFY(stillRunning.tryLock(0));

        {
            WindowFixture f(QString(), {MessageBoxes::Yes});
            QTest::qWait(100);
            QCOMPARE(f.messages->texts(), QStringList());
            QCOMPARE(f.text(5, 1), QString());
        }
        QVERIFY(QFileInfo::exists(copy));
    }

    void copyWrittenAfterAChange_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Save") << QStringLiteral("mnuSave");
        QTest::newRow("New") << QStringLiteral("mnuNew");
        QTest::newRow("Open") << QStringLiteral("mnuOpen");
        QTest::newRow("Exit") << QStringLiteral("mnuExit");
    }

    // Typed entries reach the disk without a save, as Save would write them, and are gone
    // once the estimate is saved, replaced or the program ends as it should.
    void copyWrittenAfterAChange()
    {
        QFETCH(QString, command);
        WindowFixture f;
        const QString file = f.path(QStringLiteral("house.vrn"));
        QVERIFY(EstimateFile::save(file, lumberEstimate()));
        f.dialogs->openPaths = {file};
        f.dialogs->savePaths = {file};
        f.messages->answers = {MessageBoxes::No};
        f.enter(5, 3, QStringLiteral("1500"));
        f.enter(6, 1, QStringLiteral("Acme"));
        QTRY_COMPARE(copies().size(), 1);
        QCOMPARE(Files::read(dataFolder().filePath(copies().first())),
                 EstimateFile::encode(f.window->document().content()));
        QCOMPARE(f.messages->texts(), QStringList());

        f.window->findChild<QAction *>(command)->trigger();
        QCOMPARE(allFiles(), QStringList());
        QTest::qWait(100);
        QCOMPARE(allFiles(), QStringList());
    }

    // A copy of a run that ended well, found by nobody: the window's end removes it.
    void copyRemovedWhenTheWindowEnds()
    {
        {
            WindowFixture f;
            f.enter(5, 3, QStringLiteral("1500"));
            QTRY_COMPARE(copies().size(), 1);
        }
        QCOMPARE(allFiles(), QStringList());
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
