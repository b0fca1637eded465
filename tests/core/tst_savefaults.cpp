#include "core/document/estimatefile.h"
#include "faultinjection/faultinjection.h"
#include "support/documentfixture.h"
#include "support/files.h"
#include "support/programs.h"

#include <QDateTime>
#include <QDir>
#include <QScopeGuard>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QStringList FaultyCalls = {"write", "fsync", "close", "rename"};
constexpr uid_t Nobody = 65534;
constexpr gid_t Users = 100;

// What a failed call reports, as the user reads it.
QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString octal(uint mode)
{
    return QString::number(mode & 07777, 8);
}
}

// Saving when things go wrong underneath: the disk fills, a write or the flush fails, the
// folder cannot be written, the target is no ordinary file, the program is killed. The old
// file must stay whole every time, and a failure is reported and never taken for a save.
class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7755)));
        // Without a runtime folder of its own, a report's export makes one in the scratch folder.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QVERIFY(runtime.isEmpty()
                || (QDir().mkpath(runtime) && QFile::setPermissions(runtime, QFileDevice::Permissions(0x7700))));
        EstimateContent content;
        content.name = QStringLiteral("The old estimate");
        QVERIFY(EstimateFile::save(m_old, content));
        m_oldBytes = Files::read(m_old);
        content.name = QStringLiteral("The new estimate");
        content.cells[4][2] = QStringLiteral("$1,500.00");
        content.cells[4][5] = QStringLiteral("$250.00"); // a draw to request
        QVERIFY(EstimateFile::save(m_new, content));
        content.address = QString(200000, u'x'); // large, and kept as it is by Open
        for (auto &row : content.cells)
            row[0] = QString(2000, u'y');
        QVERIFY(EstimateFile::save(m_large, content));
        // As Open leaves them, recalculated: what every export of them writes.
        for (const QString &file : {m_new, m_large})
            QCOMPARE(Programs::run(VARN_EXECUTABLE, {"--export", file, file}).status, 0);
    }

    void failedSave_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        const QString varn = QStringLiteral(VARN_EXECUTABLE);
        // A file may grow to a few kilobytes only (RLIMIT_FSIZE), as on a disk that is nearly full.
        QTest::newRow("size limit, signal ignored")
            << QStringList{"sh", "-c", "trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\"", varn} << false
            << "File too large";
        // Past the limit the kernel sends SIGXFSZ, which would kill the program mid-save.
        QTest::newRow("size limit") << QStringList{"sh", "-c", "ulimit -f 8; exec \"$0\" \"$@\"", varn} << false
                                    << "File too large";
        // Root writes anywhere: the save then runs as an ordinary user.
        QTest::newRow("read-only folder and file") << asOrdinaryUser(varn) << true << "Permission denied";
    }

    void failedSave()
    {
        QFETCH(QStringList, command);
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        if (QStandardPaths::findExecutable(command.first()).isEmpty())
            QSKIP(qPrintable(command.first() + " is needed to run the save under this fault"));
        const QString folder = m_folder.filePath(QTest::currentDataTag());
        const QString target = folder + QStringLiteral("/old.vrn");
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_old, target));
        if (readOnly)
            QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions(0x4444))
                    && QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
        const QString program = command.takeFirst();
        const ProgramRun varn = Programs::run(program, command + QStringList{"--export", target, m_large});
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        QCOMPARE(varn.status, 1);
        QCOMPARE(varn.errors.count('\n'), 1);
        QVERIFY2(varn.errors.contains("cannot write") && varn.errors.contains(reason), qPrintable(varn.errors));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"old.vrn"});
    }

    // Every call an export makes on the disk, on its input, its output and its scratch files,
    // is made to fail once, each in turn: after each, either the whole new file is in place
    // and the export says done, or the old file is as it was and the export says why it
    // failed in one line; nothing else is left either way.
    void everyCallFailsOnce_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("error");
        for (const char *suffix : {"vrn", "csv", "pdf", "xlsx"}) {
            QTest::addRow("%s, disk full", suffix) << suffix << QStringList() << ENOSPC;
            QTest::addRow("%s, disk failing", suffix) << suffix << QStringList() << EIO;
        }
        const QStringList drawRequest{"--report", "draw-request"};
        QTest::newRow("draw request xlsx, disk full") << "xlsx" << drawRequest << ENOSPC;
        QTest::newRow("draw request xlsx, disk failing") << "xlsx" << drawRequest << EIO;
    }

    void everyCallFailsOnce()
    {
        QFETCH(QString, suffix);
        QFETCH(QStringList, options);
        QFETCH(int, error);
        const QString folder = m_folder.filePath(QStringLiteral("faults ") + QTest::currentDataTag());
        const QString target = folder + QStringLiteral("/old.") + suffix;
        const QString input = folder + QStringLiteral("/new.vrn");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/scratch")));
        QVERIFY(QFile::copy(m_old, target) && QFile::copy(m_new, input));
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        const QStringList arguments = QStringList{"--export", target} + options + QStringList{input};
        const QMap<QString, int> counts = callsOfExport(folder, arguments);
        for (const char *call : {"openat", "read", "write", "fsync", "close", "rename"})
            QVERIFY2(counts.value(call) > 0, call);
        const QByteArray complete = exportedBytes(suffix, options, folder);
        int runs = 0;
        for (auto kind = counts.cbegin(); kind != counts.cend(); ++kind) {
            for (int nth = 1; nth <= kind.value(); ++nth, ++runs) {
                const QString fault = QStringLiteral("%1 number %2 fails").arg(kind.key()).arg(nth);
                QProcessEnvironment environment = faultEnvironment(folder);
                environment.insert("VARN_FAULT_CALL", kind.key());
                environment.insert("VARN_FAULT_NTH", QString::number(nth));
                environment.insert("VARN_FAULT_ERRNO", QString::number(error));
                const ProgramRun varn = Programs::run(VARN_EXECUTABLE, arguments, environment);
                QVERIFY2(varn.status >= 0, qPrintable(fault + ": it hangs or crashes"));
                const QByteArray bytes = Files::read(target);
                if (varn.status == 0) {
                    QVERIFY2(isSameExport(bytes, complete, suffix), qPrintable(fault + ", yet the export said done"));
                    QVERIFY(QFile::remove(target) && QFile::copy(m_old, target));
                } else {
                    QCOMPARE(varn.status, 1);
                    QVERIFY2(varn.errors.count('\n') == 1 && varn.errors.contains(reasonOf(error)),
                             qPrintable(fault + ": " + varn.errors));
                    QVERIFY2(bytes == m_oldBytes, qPrintable(fault + ": the old file changed"));
                }
                QVERIFY2(QDir(folder).entryList(QDir::Files | QDir::Hidden) == files
                             && QDir(folder + QStringLiteral("/scratch"))
                                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                         qPrintable(fault + ": a temporary file is left"));
            }
        }
        qInfo("%s: %d runs, each with one call failing", QTest::currentDataTag(), runs);
    }

    // File > Save in the window under the same faults: the message box says why, the
    // estimate stays unsaved, and the save prompt stops the command that asked.
    void windowSaveUnderFaults_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("error");
        for (const QString &call : FaultyCalls) {
            QTest::addRow("%s, disk full", qPrintable(call)) << call << ENOSPC;
            QTest::addRow("%s, disk failing", qPrintable(call)) << call << EIO;
        }
    }

    void windowSaveUnderFaults()
    {
        QFETCH(QString, call);
        QFETCH(int, error);
        const QString folder = m_folder.filePath(QStringLiteral("window-") + call + QString::number(error));
        const QString target = folder + QStringLiteral("/house.vrn");
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_old, target));
        const QByteArray call8 = call.toLatin1();
        {
            WindowDocument window(target);
            window.change();
            varn_fault_arm(QFile::encodeName(folder).constData(), nullptr, 0, 0);
            QCOMPARE(window.document.save(), Document::SaveOutcome::Saved);
        }
        const int count = varn_fault_count(call8.constData());
        QVERIFY(count > 0);
        for (int nth = 1; nth <= count; ++nth) {
            QVERIFY(QFile::remove(target) && QFile::copy(m_old, target));
            for (const bool fromPrompt : {false, true}) {
                WindowDocument window(target);
                window.change();
                window.messages.answers = {MessageBoxes::Yes};
                varn_fault_arm(QFile::encodeName(folder).constData(), call8.constData(), nth, error);
                const bool saved = fromPrompt ? window.document.QuerySaveChanges() == MessageBoxes::Yes
                                              : window.document.save() == Document::SaveOutcome::Saved;
                varn_fault_arm(nullptr, nullptr, 0, 0);
                const QString fault = QStringLiteral("%1 number %2 fails").arg(call).arg(nth);
                QCOMPARE(saved, window.document.DocumentSaved());
                if (saved) {
                    QVERIFY2(Files::read(target) == window.expectedBytes(), qPrintable(fault + ", yet it was saved"));
                    QVERIFY(QFile::remove(target) && QFile::copy(m_old, target));
                    continue;
                }
                QVERIFY2(Files::read(target) == m_oldBytes, qPrintable(fault + ": the old file changed"));
                const FakeMessageBoxes::Shown box = window.messages.shown.value(window.messages.shown.size() - 1);
                QCOMPARE(box.kind, QStringLiteral("critical"));
                QCOMPARE(box.text, Document::saveErrorText());
                QCOMPARE(box.title, Document::fileErrorTitle());
                QCOMPARE(box.reason, reasonOf(error));
                QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"house.vrn"});
            }
        }
    }

    // A real file system run full, under the file written or under the scratch files of a
    // workbook: the export says why in one line and leaves nothing; so does the window's Save.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("targetOnIt");
        QTest::newRow("estimate") << "vrn" << true;
        QTest::newRow("workbook") << "xlsx" << true;
        QTest::newRow("workbook's scratch files") << "xlsx" << false;
    }

    void fullDisk()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, targetOnIt);
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        const QString folder = m_folder.filePath(QStringLiteral("full-") + QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/disk")));
        const QByteArray mountPoint = QFile::encodeName(folder + QStringLiteral("/disk"));
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8k") != 0)
            QSKIP(qPrintable("cannot mount a tmpfs here: " + reasonOf(errno)));
        const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });
        const QString target = folder + (targetOnIt ? QStringLiteral("/disk/old.") : QStringLiteral("/old.")) + suffix;
        QVERIFY(QFile::copy(m_old, target));
        QFile filler(folder + QStringLiteral("/disk/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(512, 'f')) == 512) { }
        filler.close();
        const QStringList before = QDir(folder + QStringLiteral("/disk")).entryList(QDir::AllEntries | QDir::Hidden);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", folder + QStringLiteral("/disk"));
        const ProgramRun varn = Programs::run(VARN_EXECUTABLE, {"--export", target, m_new}, environment);
        QCOMPARE(varn.status, 1);
        QVERIFY2(varn.errors.count('\n') == 1 && varn.errors.contains("No space left on device"),
                 qPrintable(varn.errors));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(QDir(folder + QStringLiteral("/disk")).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (suffix != u"vrn")
            return;

        WindowDocument window(target);
        window.change();
        QCOMPARE(window.document.save(), Document::SaveOutcome::Failed);
        QVERIFY(!window.document.DocumentSaved());
        QCOMPARE(window.messages.shown.value(window.messages.shown.size() - 1).reason,
                 QStringLiteral("No space left on device"));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(QDir(folder + QStringLiteral("/disk")).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    // A pipe, a device or a folder is no estimate: refused at once, to read or to write,
    // and left as it was.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("asTarget");
        QTest::addColumn<QString>("reason");
        QTest::newRow("open a pipe with no writer") << "fifo" << false << "not a regular file";
        QTest::newRow("open a device") << "device" << false << "not a regular file";
        QTest::newRow("open a folder") << "folder" << false << "It is a folder";
        QTest::newRow("save onto a pipe") << "fifo" << true << "not a regular file";
        QTest::newRow("save onto a folder") << "folder" << true << "It is a folder";
    }

    void specialFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, asTarget);
        QFETCH(QString, reason);
        const QString folder = m_folder.filePath(QStringLiteral("special-%1-%2").arg(kind).arg(asTarget));
        QVERIFY(QDir().mkpath(folder));
        QString special = folder + QStringLiteral("/estimate.vrn");
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0644), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(special));
        else
            special = QStringLiteral("/dev/zero");
        const QString output = asTarget ? special : folder + QStringLiteral("/out.csv");
        const ProgramRun varn = Programs::run(VARN_EXECUTABLE, {"--export", output, asTarget ? m_old : special});
        QCOMPARE(varn.status, 1);
        QVERIFY2(varn.errors.contains(reason), qPrintable(varn.errors));
        const QFileInfo after(special);
        QCOMPARE(after.isDir(), kind == u"folder");
        QVERIFY(!after.isFile() || kind == u"device");
        QVERIFY(!QFile::exists(folder + QStringLiteral("/out.csv")));
    }

    // The new file is what the old one was to the system: its mode, owner and group.
    void keepsWhatTheOldFileWas_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("group");
        QTest::addColumn<bool>("byMember");
        const uint me = geteuid();
        const uint myGroup = getegid();
        QTest::newRow("mode 0640") << 0640u << me << myGroup << false;
        if (me != 0)
            return;
        QTest::newRow("read-only to its owner, saved by root") << 0444u << me << myGroup << false;
        QTest::newRow("another user's file, saved by root") << 0640u << uint(Nobody) << uint(Users) << false;
        QTest::newRow("the group's file, saved by a member") << 0660u << uint(Nobody) << uint(Users) << true;
    }

    void keepsWhatTheOldFileWas()
    {
        QFETCH(uint, mode);
        QFETCH(uint, owner);
        QFETCH(uint, group);
        QFETCH(bool, byMember);
        const QString folder = m_folder.filePath(QStringLiteral("attributes-") + QTest::currentDataTag());
        const QString target = folder + QStringLiteral("/old.vrn");
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_old, target));
        const QByteArray path = QFile::encodeName(target);
        QCOMPARE(::chown(path.constData(), owner, group), 0);
        QCOMPARE(::chmod(path.constData(), mode), 0);
        QStringList command{VARN_EXECUTABLE};
        if (byMember) {
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), Nobody, Users), 0);
            command = {"setpriv", "--reuid=65534", "--regid=65534", "--groups=100", VARN_EXECUTABLE};
        }
        const QString program = command.takeFirst();
        const ProgramRun varn = Programs::run(program, command + QStringList{"--export", target, m_new});
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(Files::read(target), Files::read(m_new));
        struct stat status = {};
        QCOMPARE(::stat(path.constData(), &status), 0);
        QCOMPARE(octal(status.st_mode), octal(mode));
        QCOMPARE(uint(status.st_uid), owner);
        QCOMPARE(uint(status.st_gid), group);
    }

    // Files that the replace by a temporary file cannot handle are saved all the same.
    void awkwardPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("sharedFolder");
        QTest::newRow("file name of 255 bytes") << QString(251, u'n') + QStringLiteral(".vrn") << false;
        QTest::newRow("name of 255 bytes, not ASCII") << QString(125, u'\u00e9') + QStringLiteral("n.vrn") << false;
        QTest::newRow("writable file in a read-only folder") << QStringLiteral("shared.vrn") << true;
    }

    void awkwardPlaces()
    {
        QFETCH(QString, name);
        QFETCH(bool, sharedFolder);
        const QString folder = m_folder.filePath(QStringLiteral("awkward-") + QTest::currentDataTag());
        const QString target = folder + u'/' + name;
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_old, target));
        QStringList command{VARN_EXECUTABLE};
        if (sharedFolder) {
            QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions(0x6666))
                    && QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
            command = asOrdinaryUser(VARN_EXECUTABLE);
        }
        const QString program = command.takeFirst();
        const ProgramRun varn = Programs::run(program, command + QStringList{"--export", target, m_new},
                                              ordinaryUserEnvironment(QTest::currentDataTag()));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(Files::read(target), Files::read(m_new));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }

    void rewriteInPlace_data()
    {
        QTest::addColumn<QString>("call");
        QTest::newRow("whole") << QString();
        QTest::newRow("write fails") << "write";
        QTest::newRow("ftruncate fails") << "ftruncate";
        QTest::newRow("fsync fails") << "fsync";
    }

    // A file in a folder the user may not write is rewritten in place: its old content is kept
    // in the user's own folder first, named when the rewrite fails part-way and gone once the
    // rewrite is whole.
    void rewriteInPlace()
    {
        QFETCH(QString, call);
        const QString folder = m_folder.filePath(QStringLiteral("in place ") + QTest::currentDataTag());
        const QString target = folder + QStringLiteral("/shared.vrn");
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_large, target));
        QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions(0x6666))
                && QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
        QProcessEnvironment environment = faultEnvironment(folder);
        environment.insert("XDG_DATA_HOME", ordinaryUserEnvironment(QTest::currentDataTag()).value("XDG_DATA_HOME"));
        environment.insert("VARN_FAULT_CALL", call);
        environment.insert("VARN_FAULT_NTH", QStringLiteral("1"));
        environment.insert("VARN_FAULT_ERRNO", QString::number(EIO));
        QStringList command = asOrdinaryUser(VARN_EXECUTABLE);
        const QString program = command.takeFirst();
        const ProgramRun varn = Programs::run(program, command + QStringList{"--export", target, m_new}, environment);
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        const QDir kept(environment.value("XDG_DATA_HOME") + QStringLiteral("/VARN"));
        const QStringList copies = kept.entryList(QDir::Files | QDir::Hidden);
        if (call.isEmpty()) {
            QVERIFY2(varn.status == 0, qPrintable(varn.errors));
            QCOMPARE(Files::read(target), Files::read(m_new));
            QCOMPARE(copies, QStringList());
            return;
        }
        QCOMPARE(varn.status, 1);
        QCOMPARE(copies.size(), 1);
        const QString copy = kept.filePath(copies.first());
        QVERIFY2(varn.errors.count('\n') == 1 && varn.errors.contains(reasonOf(EIO)) && varn.errors.contains(copy),
                 qPrintable(varn.errors));
        QCOMPARE(Files::read(copy), Files::read(m_large));
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(copy).constData(), &status), 0);
        QCOMPARE(octal(status.st_mode), octal(0600));
    }

    // The box says why, below the message the user knows.
    void reasonIsShown_data()
    {
        QTest::addColumn<bool>("opening");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("save into a missing folder") << false << "missing/house.vrn"
                                                    << "The folder does not exist";
        QTest::newRow("open a missing file") << true << "missing.vrn"
                                             << "The file does not exist";
        QTest::newRow("open a file over 1 MiB") << true << "huge.vrn"
                                                << "The file is larger than 1 MiB";
        QTest::newRow("open a file cut short") << true << "short.vrn"
                                               << "It is not a whole estimate file: it is cut short, or it is not text";
    }

    void reasonIsShown()
    {
        QFETCH(bool, opening);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        const QString folder = m_folder.filePath(QStringLiteral("reasons"));
        QVERIFY(QDir().mkpath(folder));
        // Its address alone runs past the limit; what follows the last field is never read.
        const QByteArray huge = "2,4,6\r\n\"Pat\",\"" + QByteArray(EstimateFile::MaximumSize, 'x') + "\",\"\"\r\n";
        QVERIFY(Files::write(folder + QStringLiteral("/huge.vrn"), huge));
        QVERIFY(Files::write(folder + QStringLiteral("/short.vrn"), m_oldBytes.left(m_oldBytes.size() / 2)));
        WindowDocument window;
        window.dialogs.savePaths = {folder + u'/' + path};
        if (opening)
            window.document.openFile(folder + u'/' + path);
        else
            QCOMPARE(window.document.saveAs(), Document::SaveOutcome::Failed);
        QCOMPARE(window.messages.shown.size(), 1);
        const FakeMessageBoxes::Shown box = window.messages.shown.first();
        QCOMPARE(box.text, opening ? Document::openErrorText() : Document::saveErrorText());
        QCOMPARE(box.title, Document::fileErrorTitle());
        QCOMPARE(box.reason, reason);
    }

    // What a killed save or export left behind goes with the next run: the temporary files of
    // the file's own pattern older than a few minutes, and the scratch folders of runs that ended.
    void leftBehindTemporaries()
    {
        const QDir folder(m_folder.filePath(QStringLiteral("left behind")));
        const QDir scratch(folder.filePath(QStringLiteral("scratch")));
        QVERIFY(scratch.mkpath(QStringLiteral("."))
                && QFile::copy(m_old, folder.filePath(QStringLiteral("house.vrn"))));
        QProcess ended;
        ended.start(QStringLiteral("true"), QStringList());
        QVERIFY(ended.waitForStarted());
        const qint64 endedRun = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString running = QStringLiteral("VARN-%1-LiVeAb").arg(QCoreApplication::applicationPid());
        for (const QString &kept : {running, QStringLiteral("VARN-%1-DeAdAb").arg(endedRun)})
            QVERIFY(scratch.mkpath(kept)
                    && QFile(scratch.filePath(kept + QStringLiteral("/part"))).open(QIODevice::WriteOnly));
        const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
        for (const char *name : {".house.vrn.AbC123", ".house.vrn.XyZ789", ".house.vrn.notes"}) {
            QFile file(folder.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (name != std::string_view(".house.vrn.XyZ789"))
                QVERIFY(file.setFileTime(anHourAgo, QFileDevice::FileModificationTime));
        }

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", scratch.path());
        const ProgramRun varn = Programs::run(
            VARN_EXECUTABLE, {"--export", folder.filePath(QStringLiteral("house.vrn")), m_new}, environment);
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden),
                 (QStringList{".house.vrn.notes", ".house.vrn.XyZ789", "house.vrn"}));
        QCOMPARE(scratch.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{running});
    }

    void killedDuringSave()
    {
        const QByteArray newBytes = Files::read(m_large);
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
            const QByteArray bytes = Files::read(target);
            QVERIFY2(bytes == m_oldBytes || bytes == newBytes, "the estimate file is neither old nor new");
        }
    }

private:
    // The estimate of an open window, with one edit made since it was saved.
    struct WindowDocument : DocumentFixture
    {
        explicit WindowDocument(const QString &file = QString())
        {
            if (!file.isEmpty())
                document.openFile(file);
        }
        void change()
        {
            header.setText(HeaderFields::Name, QStringLiteral("Changed since"));
            document.markChanged();
        }
        QByteArray expectedBytes() const { return EstimateFile::encode(document.content()); }
    };

    static QStringList asOrdinaryUser(const QString &program);
    QProcessEnvironment ordinaryUserEnvironment(const QString &name) const;
    static QProcessEnvironment faultEnvironment(const QString &folder);
    QMap<QString, int> callsOfExport(const QString &folder, const QStringList &arguments) const;
    QByteArray exportedBytes(const QString &suffix, const QStringList &options, const QString &folder) const;
    static bool isSameExport(const QByteArray &bytes, const QByteArray &complete, const QString &suffix);

    QTemporaryDir m_folder;
    const QString m_old = m_folder.filePath(QStringLiteral("old.vrn"));
    const QString m_new = m_folder.filePath(QStringLiteral("new.vrn"));
    const QString m_large = m_folder.filePath(QStringLiteral("large.vrn"));
    QByteArray m_oldBytes;
};

// Root writes anywhere, so what a user may not do is tried as the user nobody.
QStringList TestSaveFaults::asOrdinaryUser(const QString &program)
{
    if (geteuid() != 0)
        return {program};
    return {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", program};
}

// The library's scratch files go into the folder too, as the scratch folder beside it.
// A data folder of the user's own, where old content is kept while a file is rewritten in place.
QProcessEnvironment TestSaveFaults::ordinaryUserEnvironment(const QString &name) const
{
    const QString data = m_folder.filePath(QStringLiteral("data of ") + name);
    QDir().mkpath(data);
    if (geteuid() == 0 && ::chown(QFile::encodeName(data).constData(), Nobody, Nobody) != 0)
        qWarning("the data folder stays root's: %s", std::strerror(errno));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", data);
    return environment;
}

QProcessEnvironment TestSaveFaults::faultEnvironment(const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_PRELOAD", VARN_FAULT_LIBRARY);
    environment.insert("VARN_FAULT_DIR", QDir(folder).canonicalPath());
    environment.insert("TMPDIR", QDir(folder).canonicalPath() + QStringLiteral("/scratch"));
    // AddressSanitizer wants to be loaded first; here the fault library must be.
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    return environment;
}

// How many calls of each kind a run of the program makes on files in the folder; none when
// it fails without a fault.
QMap<QString, int> TestSaveFaults::callsOfExport(const QString &folder, const QStringList &arguments) const
{
    QProcessEnvironment environment = faultEnvironment(folder);
    const QString countsFile = m_folder.filePath(QStringLiteral("counts"));
    environment.insert("VARN_FAULT_COUNTS", countsFile);
    QMap<QString, int> counts;
    if (Programs::run(VARN_EXECUTABLE, arguments, environment).status != 0)
        return counts;
    for (const QByteArray &line : Files::read(countsFile).split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            counts.insert(QString::fromLatin1(fields.at(0)), fields.at(1).toInt());
    }
    return counts;
}

// The file an export writes when nothing goes wrong, its scratch files where the faulty
// runs have theirs.
QByteArray TestSaveFaults::exportedBytes(const QString &suffix, const QStringList &options, const QString &folder) const
{
    const QString reference = m_folder.filePath(QStringLiteral("reference.") + suffix);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", folder + QStringLiteral("/scratch"));
    Programs::run(VARN_EXECUTABLE, QStringList{"--export", reference} + options + QStringList{m_new}, environment);
    return Files::read(reference);
}

// A PDF file carries the time it was made; all else of it is the same every time. So does a
// workbook, in one part: every other part must be there and the same.
bool TestSaveFaults::isSameExport(const QByteArray &bytes, const QByteArray &complete, const QString &suffix)
{
    if (suffix == u"pdf")
        return bytes.size() == complete.size() && bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
    if (suffix == u"xlsx")
        return Files::workbookParts(bytes).contains(QStringLiteral("xl/worksheets/sheet1.xml"))
            && Files::workbookParts(bytes) == Files::workbookParts(complete);
    return bytes == complete;
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
