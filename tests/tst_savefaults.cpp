#include "document/document.h"
#include "document/estimatefile.h"
#include "document/headerfields.h"
#include "fakes.h"
#include "sheet/estimatesheet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Saving when things go wrong underneath: the disk fills, the program is killed, the
// folder cannot be written. The old file must stay whole every time.
class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void diskFillsPartWay();
    void killedDuringSave();
    void folderBecomesReadOnly();

private:
    static QByteArray read(const QString &path);
    static EstimateContent largeEstimate();

    QTemporaryDir m_folder;
    QString m_old;
    QByteArray m_oldBytes;
};

QByteArray TestSaveFaults::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

EstimateContent TestSaveFaults::largeEstimate()
{
    EstimateContent content;
    content.address = QString(200000, u'x');
    for (auto &row : content.cells)
        row[0] = QString(2000, u'y');
    return content;
}

void TestSaveFaults::initTestCase()
{
    QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7755));
    m_old = m_folder.filePath(QStringLiteral("old.vrn"));
    EstimateContent content;
    content.name = QStringLiteral("The old estimate");
    QVERIFY(EstimateFile::save(m_old, content).saved);
    m_oldBytes = read(m_old);
}

void TestSaveFaults::diskFillsPartWay()
{
    EstimateSheet sheet;
    HeaderFields header;
    FakeFileDialogs dialogs;
    FakeMessageBoxes messages;
    Document document(sheet, header, dialogs, messages);
    header.setText(HeaderFields::Address, largeEstimate().address);
    sheet.grid().setCurrentCell(2, 2);
    dialogs.savePaths = {m_old};

    // A file may grow to a few kilobytes only, as on a disk that is nearly full.
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Document::SaveOutcome outcome = document.save();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(outcome, Document::SaveOutcome::Failed);
    QCOMPARE(messages.texts(), QStringList{"An error as accured while trying to save this file."});
    QVERIFY(!document.DocumentSaved());
    QCOMPARE(read(m_old), m_oldBytes);
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"old.vrn"});
}

void TestSaveFaults::killedDuringSave()
{
    const QString input = m_folder.filePath(QStringLiteral("large.vrn"));
    QVERIFY(EstimateFile::save(input, largeEstimate()).saved);
    const QByteArray newBytes = read(input);
    const QString target = m_folder.filePath(QStringLiteral("target.vrn"));
    bool sawOld = false;
    bool sawNew = false;
    for (int attempt = 0; attempt < 40; ++attempt) {
        QVERIFY(QFile::copy(m_old, target) || (QFile::remove(target) && QFile::copy(m_old, target)));
        QProcess varn;
        varn.start(QStringLiteral(VARN_EXECUTABLE), {"--export", target, input});
        QVERIFY(varn.waitForStarted());
        // From at once to well after the save has finished.
        QThread::usleep(1000 * 5 * attempt);
        varn.kill();
        varn.waitForFinished();
        const QByteArray bytes = read(target);
        QVERIFY2(bytes == m_oldBytes || bytes == newBytes, "the estimate file is neither old nor new");
        sawOld = sawOld || bytes == m_oldBytes;
        sawNew = sawNew || bytes == newBytes;
        QFile::remove(target);
    }
    qInfo("killed before the new file was in place: %s; after: %s", sawOld ? "seen" : "not seen",
          sawNew ? "seen" : "not seen");
}

void TestSaveFaults::folderBecomesReadOnly()
{
    const QString folder = m_folder.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/old.vrn");
    QVERIFY(QFile::copy(m_old, old));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(old, QFileDevice::Permissions(0x4444)));

    // Root writes anywhere: the save then runs as an ordinary user.
    QStringList command = {QStringLiteral(VARN_EXECUTABLE)};
    if (geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("running as root without setpriv to run the save as an ordinary user");
        command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
    }
    QProcess varn;
    varn.start(command.takeFirst(), command + QStringList{"--export", old, m_old});
    QVERIFY(varn.waitForFinished());
    QCOMPARE(varn.exitCode(), 1);
    QVERIFY(varn.readAllStandardError().contains("cannot write"));
    QCOMPARE(read(old), m_oldBytes);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
