#include "document/estimatefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <unistd.h>

// Saving when things go wrong underneath: the disk fills, the folder cannot be written, the program
// is killed. The old file must stay whole every time, and a failure is reported.
class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7755)));
        EstimateContent content;
        content.name = QStringLiteral("The old estimate");
        QVERIFY(EstimateFile::save(m_old, content).saved);
        m_oldBytes = read(m_old);
        content.address = QString(200000, u'x'); // large, and kept as it is by Open
        for (auto &row : content.cells)
            row[0] = QString(2000, u'y');
        QVERIFY(EstimateFile::save(m_large, content).saved);
    }

    void failedSave_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<bool>("readOnly");
        const QString varn = QStringLiteral(VARN_EXECUTABLE);
        // A file may grow to a few kilobytes only (RLIMIT_FSIZE), as on a disk that is nearly full.
        QTest::newRow("disk fills part-way")
                << QStringList{"sh", "-c", "trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\"", varn} << false;
        // Root writes anywhere: the save then runs as an ordinary user.
        QTest::newRow("read-only folder")
                << (geteuid() == 0 ? QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", varn}
                                   : QStringList{varn})
                << true;
    }

    void failedSave()
    {
        QFETCH(QStringList, command);
        QFETCH(bool, readOnly);
        if (QStandardPaths::findExecutable(command.first()).isEmpty())
            QSKIP(qPrintable(command.first() + " is needed to run the save under this fault"));
        const QString folder = m_folder.filePath(QTest::currentDataTag());
        const QString target = folder + QStringLiteral("/old.vrn");
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_old, target));
        if (readOnly)
            QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions(0x4444))
                    && QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
        const QString program = command.takeFirst();
        QProcess varn;
        varn.start(program, command + QStringList{"--export", target, m_large});
        QVERIFY(varn.waitForFinished());
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        QCOMPARE(varn.exitCode(), 1);
        QVERIFY(varn.readAllStandardError().contains("cannot write"));
        QCOMPARE(read(target), m_oldBytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"old.vrn"});
    }

    void killedDuringSave()
    {
        const QByteArray newBytes = read(m_large);
        const QString target = m_folder.filePath(QStringLiteral("target.vrn"));
        for (int attempt = 0; attempt < 40; ++attempt) {
            QFile::remove(target);
            QVERIFY(QFile::copy(m_old, target));
            QProcess varn;
            varn.start(QStringLiteral(VARN_EXECUTABLE), {"--export", target, m_large});
            QVERIFY(varn.waitForStarted());
            QThread::usleep(5000 * attempt); // from at once to well after the save has finished
            varn.kill();
            varn.waitForFinished();
            const QByteArray bytes = read(target);
            QVERIFY2(bytes == m_oldBytes || bytes == newBytes, "the estimate file is neither old nor new");
        }
    }

private:
    static QByteArray read(const QString &path);

    QTemporaryDir m_folder;
    const QString m_old = m_folder.filePath(QStringLiteral("old.vrn"));
    const QString m_large = m_folder.filePath(QStringLiteral("large.vrn"));
    QByteArray m_oldBytes;
};

QByteArray TestSaveFaults::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
