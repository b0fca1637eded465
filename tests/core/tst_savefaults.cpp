#include "core/document/estimatefile.h"
#include "faultinjection/faultinjection.h"
#include "support/documentfixture.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QDateTime>
#include <QDir>
#include <QScopeGuard>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr uid_t Nobody = 65534;
constexpr gid_t Users = 100;
const QString Varn = QStringLiteral(VARN_EXECUTABLE);

// What a failed call reports, as the user reads it.
QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The permission bits of a file, as ls shows them; empty when it has none.
QString modeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? QString::number(status.st_mode & 07777, 8)
                                                                     : QString();
}

bool setMode(const QString &path, int qtPermissions)
{
    return QFile::setPermissions(path, QFileDevice::Permissions(qtPermissions));
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// A run that failed as a failure should: status 1 and one line on standard error, with the reason.
bool failedSaying(const ProgramRun &run, const QString &reason)
{
    return run.status == 1 && run.errors.count(u'\n') == 1 && run.errors.contains(reason);
}

// Root writes anywhere, so what a user may not do is tried as the user nobody.
QStringList asOrdinaryUser(const QStringList &arguments)
{
    return geteuid() != 0
        ? QStringList{Varn} + arguments
        : QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", Varn} + arguments;
}

ProgramRun runCommand(QStringList command, const QProcessEnvironment &settings = QProcessEnvironment())
{
    const QString program = command.takeFirst();
    return Programs::run(program, command, settings);
}

// The program under the fault library, its calls on files in the folder counted or failed, and
// its scratch files there too.
QProcessEnvironment faultEnvironment(const QString &folder)
{
    QProcessEnvironment environment;
    environment.insert("LD_PRELOAD", VARN_FAULT_LIBRARY);
    environment.insert("VARN_FAULT_DIR", QDir(folder).canonicalPath());
    environment.insert("TMPDIR", QDir(folder).canonicalPath() + u"/scratch"_s);
    // AddressSanitizer wants to be loaded first; here the fault library must be.
    environment.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + u":verify_asan_link_order=0"_s);
    return environment;
}

QProcessEnvironment failing(const QString &folder, const QString &call, int nth, int error)
{
    QProcessEnvironment environment = faultEnvironment(folder);
    environment.insert("VARN_FAULT_CALL", call);
    environment.insert("VARN_FAULT_NTH", QString::number(nth));
    environment.insert("VARN_FAULT_ERRNO", QString::number(error));
    return environment;
}

// A PDF file carries the time it was made; all else of it is the same every time. So does a
// workbook, in one part: every other part must be there and the same.
bool isSameExport(const QByteArray &bytes, const QByteArray &complete, const QString &suffix)
{
    if (suffix == u"pdf")
        return bytes.size() == complete.size() && bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
    if (suffix == u"xlsx")
        return Files::workbookParts(bytes).contains(u"xl/worksheets/sheet1.xml"_s)
            && Files::workbookParts(bytes) == Files::workbookParts(complete);
    return bytes == complete;
}

// The estimate of an open window, with one edit made since it was saved.
struct WindowDocument : DocumentFixture
{
    explicit WindowDocument(const QString &file = QString())
    {
        if (!file.isEmpty())
            document.openFile(file);
        header.setText(HeaderFields::Name, u"Changed since"_s);
        document.markChanged();
    }
    FakeMessageBoxes::Shown lastBox() const { return messages.shown.value(messages.shown.size() - 1); }
};
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
        QVERIFY(setMode(m_folder.path(), 0x7755));
        // Without a runtime folder of its own, a report's export makes one in the scratch folder.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QVERIFY(runtime.isEmpty() || (QDir().mkpath(runtime) && setMode(runtime, 0x7700)));
        EstimateContent content;
        content.name = u"The old estimate"_s;
        QVERIFY(EstimateFile::save(m_old, content));
        m_oldBytes = Files::read(m_old);
        content.name = u"The new estimate"_s;
        content.cells[4][2] = u"$1,500.00"_s;
        content.cells[4][5] = u"$250.00"_s; // a draw to request
        QVERIFY(EstimateFile::save(m_new, content));
        content.address = QString(200000, u'x'); // large, and kept as it is by Open
        for (auto &row : content.cells)
            row[0] = QString(2000, u'y');
        QVERIFY(EstimateFile::save(m_large, content));
        // As Open leaves them, recalculated: what every export of them writes.
        QVERIFY(EstimateFile::save(m_history, Histories::estimateWithDraws(200)));
        for (const QString &file : {m_new, m_large, m_history})
            QCOMPARE(Programs::varn({"--export", file, file}).status, 0);
    }

    void failedSave_data()
    {
        Rows::columns<QStringList, bool, QString>("command", "readOnly", "reason");
        // A file may grow to a few kilobytes only (RLIMIT_FSIZE), as on a disk that is nearly full.
        QTest::newRow("size limit, signal ignored")
            << QStringList{"sh", "-c", "trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\"", Varn} << false
            << "File too large";
        // Past the limit the kernel sends SIGXFSZ, which would kill the program mid-save.
        QTest::newRow("size limit") << QStringList{"sh", "-c", "ulimit -f 8; exec \"$0\" \"$@\"", Varn} << false
                                    << "File too large";
        QTest::newRow("read-only folder and file") << asOrdinaryUser({}) << true << "Permission denied";
        // The failure is still one line.
        QTest::newRow("read-only folder of a name\nin two lines") << asOrdinaryUser({}) << true << "Permission denied";
    }

    void failedSave()
    {
        auto [command, readOnly, reason] = Rows::fetch<QStringList, bool, QString>("command", "readOnly", "reason");
        if (!Programs::installed({command.first()}))
            QSKIP(qPrintable(command.first() + " is needed to run the save under this fault"));
        const QString target = oldFileIn(QTest::currentDataTag());
        const QString folder = QFileInfo(target).path();
        QVERIFY(!readOnly || (setMode(target, 0x4444) && setMode(folder, 0x5555)));
        const ProgramRun varn = runCommand(command + QStringList{"--export", target, m_large});
        setMode(folder, 0x7755);
        QVERIFY2(failedSaying(varn, reason) && varn.errors.contains("cannot write"), qPrintable(varn.errors));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(filesIn(folder), QStringList{"old.vrn"});
    }

    // Every call an export makes on the disk, on its input, its output and its scratch files,
    // is made to fail once, each in turn: after each, either the whole new file is in place
    // and the export says done, or the old file is as it was and the export says why it
    // failed in one line; nothing else is left either way.
    void everyCallFailsOnce_data()
    {
        Rows::columns<QString, QStringList, int, QString>("suffix", "options", "error", "input");
        const QStringList drawRequest{"--report", "draw-request"};
        for (const auto &[name, suffix, options] : {std::tuple("vrn", "vrn", QStringList()),
                                                    {"csv", "csv", {}},
                                                    {"pdf", "pdf", {}},
                                                    {"xlsx", "xlsx", {}},
                                                    {"draw request xlsx", "xlsx", drawRequest}}) {
            QTest::addRow("%s, disk full", name) << suffix << options << ENOSPC << m_new;
            QTest::addRow("%s, disk failing", name) << suffix << options << EIO << m_new;
        }
        // An input of many read buffers, and worksheets of many write buffers.
        for (const auto &[name, suffix, options] :
             {std::tuple("vrn", "vrn", QStringList()),
              {"xlsx", "xlsx", {}},
              {"draw 200 again, csv", "csv", drawRequest + QStringList{"--draw", "200"}}})
            QTest::addRow("%s of 200 draws, disk failing", name) << suffix << options << EIO << m_history;
    }

    void everyCallFailsOnce()
    {
        auto [suffix, options, error, input] =
            Rows::fetch<QString, QStringList, int, QString>("suffix", "options", "error", "input");
        const QString target = oldFileIn(u"faults "_s + QTest::currentDataTag(), u"old."_s + suffix);
        const QString folder = QFileInfo(target).path();
        // The input lies in the folder too: its reads fail as the output's writes do.
        QVERIFY(QDir().mkpath(folder + u"/scratch"_s) && QFile::copy(input, folder + u"/new.vrn"_s));
        const QStringList files = filesIn(folder);
        const QStringList arguments = QStringList{"--export", target} + options + QStringList{folder + u"/new.vrn"_s};
        // How many calls of each kind the export makes on files in the folder.
        QProcessEnvironment counting = faultEnvironment(folder);
        counting.insert("VARN_FAULT_COUNTS", m_folder.filePath("counts"));
        QCOMPARE(Programs::varn(arguments, counting).status, 0);
        QMap<QString, int> counts;
        for (const QByteArray &line : Files::read(m_folder.filePath("counts")).split('\n')) {
            if (line.count(' ') == 1)
                counts.insert(QString::fromLatin1(line.split(' ').at(0)), line.split(' ').at(1).toInt());
        }
        for (const char *call : {"openat", "read", "write", "fsync", "close", "rename"})
            QVERIFY2(counts.value(call) > 0, call);
        // The file the export writes when nothing goes wrong, its scratch files where the faulty runs have theirs.
        QProcessEnvironment scratch;
        scratch.insert("TMPDIR", folder + u"/scratch"_s);
        const QString reference = m_folder.filePath(u"reference."_s + suffix);
        Programs::varn(QStringList{"--export", reference} + options + QStringList{input}, scratch);
        const QByteArray complete = Files::read(reference);
        if (input == m_history && suffix == u"vrn")
            QCOMPARE(EstimateFile::load(reference)->history, Histories::estimateWithDraws(200).history);
        int runs = 0;
        for (auto kind = counts.cbegin(); kind != counts.cend(); ++kind) {
            for (int nth = 1; nth <= kind.value(); ++nth, ++runs) {
                const QString fault = u"%1 number %2 fails"_s.arg(kind.key()).arg(nth);
                const ProgramRun varn = Programs::varn(arguments, failing(folder, kind.key(), nth, error));
                const QByteArray bytes = Files::read(target);
                if (varn.status == 0) {
                    QVERIFY2(isSameExport(bytes, complete, suffix), qPrintable(fault + ", yet the export said done"));
                    QVERIFY2(modeOf(target) == modeOf(m_old), qPrintable(fault + ", yet the file lost its mode"));
                    QVERIFY(QFile::remove(target) && QFile::copy(m_old, target));
                } else {
                    QVERIFY2(failedSaying(varn, reasonOf(error)), qPrintable(fault + ": " + varn.errors));
                    QVERIFY2(bytes == m_oldBytes, qPrintable(fault + ": the old file changed"));
                }
                QVERIFY2(
                    filesIn(folder) == files
                        && QDir(folder + u"/scratch"_s).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                    qPrintable(fault + ": a temporary file is left"));
            }
        }
        qInfo("%s: %d runs, each with one call failing", QTest::currentDataTag(), runs);
    }

    // File > Save in the window under the same faults: the message box says why, the
    // estimate stays unsaved, and the save prompt stops the command that asked.
    void windowSaveUnderFaults_data()
    {
        Rows::columns<QString, int>("call", "error");
        // A read fails as Save checks that no other program changed the file.
        for (const char *call : {"write", "fsync", "close", "rename", "read", "fchmod"}) {
            QTest::addRow("%s, disk full", call) << call << ENOSPC;
            QTest::addRow("%s, disk failing", call) << call << EIO;
        }
    }

    void windowSaveUnderFaults()
    {
        auto [call, error] = Rows::fetch<QString, int>("call", "error");
        const QString target = oldFileIn(u"window "_s + QTest::currentDataTag(), u"house.vrn"_s);
        const QByteArray folder = QFile::encodeName(QFileInfo(target).path());
        const QByteArray call8 = call.toLatin1();
        {
            WindowDocument window(target);
            varn_fault_arm(folder.constData(), nullptr, 0, 0);
            QCOMPARE(window.document.save(), Document::SaveOutcome::Saved);
        }
        const int count = varn_fault_count(call8.constData());
        QVERIFY(count > 0);
        for (int nth = 1; nth <= count; ++nth) {
            for (const bool fromPrompt : {false, true}) {
                QVERIFY(QFile::remove(target) && QFile::copy(m_old, target));
                WindowDocument window(target);
                window.messages.answers = {MessageBoxes::Yes};
                varn_fault_arm(folder.constData(), call8.constData(), nth, error);
                const bool saved = fromPrompt ? window.document.QuerySaveChanges() == MessageBoxes::Yes
                                              : window.document.save() == Document::SaveOutcome::Saved;
                varn_fault_arm(nullptr, nullptr, 0, 0);
                const QString fault = u"%1 number %2 fails"_s.arg(call).arg(nth);
                QCOMPARE(saved, window.document.DocumentSaved());
                const QByteArray expected = saved ? EstimateFile::encode(window.document.content()) : m_oldBytes;
                QVERIFY2(Files::read(target) == expected,
                         qPrintable(fault + (saved ? ", yet it was saved" : ": the old file changed")));
                QVERIFY2(modeOf(target) == modeOf(m_old), qPrintable(fault + ": the file lost its mode"));
                if (saved)
                    continue;
                QCOMPARE(
                    (QStringList{window.lastBox().kind, window.lastBox().text, window.lastBox().title,
                                 window.lastBox().reason}),
                    (QStringList{"critical", Document::saveErrorText(), Document::fileErrorTitle(), reasonOf(error)}));
                QCOMPARE(filesIn(QFile::decodeName(folder)), QStringList{"house.vrn"});
            }
        }
    }

    // A real file system run full, under the file written or under the scratch files of a
    // workbook: the export says why in one line and leaves nothing; so does the window's Save.
    void fullDisk_data()
    {
        Rows::columns<QString, bool>("suffix", "targetOnIt");
        QTest::newRow("estimate") << "vrn" << true;
        QTest::newRow("workbook") << "xlsx" << true;
        QTest::newRow("workbook's scratch files") << "xlsx" << false;
    }

    void fullDisk()
    {
        auto [suffix, targetOnIt] = Rows::fetch<QString, bool>("suffix", "targetOnIt");
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        const QString disk = m_folder.filePath(u"full "_s + QTest::currentDataTag()) + u"/disk"_s;
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=8k") != 0)
            QSKIP(qPrintable("cannot mount a tmpfs here: " + reasonOf(errno)));
        const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(disk).constData()); });
        const QString target = (targetOnIt ? disk : QFileInfo(disk).path()) + u"/old."_s + suffix;
        QVERIFY(QFile::copy(m_old, target));
        QFile filler(disk + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(512, 'f')) == 512) { }
        filler.close();
        const QStringList before = QDir(disk).entryList(QDir::AllEntries | QDir::Hidden);

        QProcessEnvironment scratch;
        scratch.insert("TMPDIR", disk);
        const ProgramRun varn = Programs::varn({"--export", target, m_new}, scratch);
        QVERIFY2(failedSaying(varn, reasonOf(ENOSPC)), qPrintable(varn.errors));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (suffix != u"vrn")
            return;

        WindowDocument window(target);
        QCOMPARE(window.document.save(), Document::SaveOutcome::Failed);
        QVERIFY(!window.document.DocumentSaved());
        QCOMPARE(window.lastBox().reason, reasonOf(ENOSPC));
        QCOMPARE(Files::read(target), m_oldBytes);
        QCOMPARE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    // A pipe, a device or a folder is no estimate: refused at once, to read or to write,
    // and left as it was.
    void specialFiles_data()
    {
        Rows::columns<QString, bool, QString>("kind", "asTarget", "reason");
        QTest::newRow("open a pipe with no writer") << "fifo" << false << "not a regular file";
        QTest::newRow("open a device") << "device" << false << "not a regular file";
        QTest::newRow("open a folder") << "folder" << false << "It is a folder";
        QTest::newRow("save onto a pipe") << "fifo" << true << "not a regular file";
        QTest::newRow("save onto a folder") << "folder" << true << "It is a folder";
    }

    void specialFiles()
    {
        auto [kind, asTarget, reason] = Rows::fetch<QString, bool, QString>("kind", "asTarget", "reason");
        const QString folder = m_folder.filePath(u"special "_s + QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        QString special = folder + u"/estimate.vrn"_s;
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0644), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(special));
        else
            special = u"/dev/zero"_s;
        const QString output = asTarget ? special : folder + u"/out.csv"_s;
        const ProgramRun varn = Programs::varn({"--export", output, asTarget ? m_old : special});
        QCOMPARE(varn.status, 1);
        QVERIFY2(varn.errors.contains(reason), qPrintable(varn.errors));
        const QFileInfo after(special);
        QCOMPARE(after.isDir(), kind == u"folder");
        QVERIFY(!after.isFile() || kind == u"device");
        QVERIFY(!QFile::exists(folder + u"/out.csv"_s));
    }

    // The new file is what the old one was to the system: its mode, owner and group.
    void keepsWhatTheOldFileWas_data()
    {
        Rows::columns<uint, uint, uint, bool>("mode", "owner", "group", "byMember");
        QTest::newRow("mode 0640") << 0640u << uint(geteuid()) << uint(getegid()) << false;
        if (geteuid() != 0)
            return;
        QTest::newRow("read-only to its owner, saved by root") << 0444u << 0u << uint(getegid()) << false;
        QTest::newRow("another user's file, saved by root") << 0640u << uint(Nobody) << uint(Users) << false;
        QTest::newRow("the group's file, saved by a member") << 0660u << uint(Nobody) << uint(Users) << true;
    }

    void keepsWhatTheOldFileWas()
    {
        auto [mode, owner, group, byMember] = Rows::fetch<uint, uint, uint, bool>("mode", "owner", "group", "byMember");
        const QString target = oldFileIn(u"attributes "_s + QTest::currentDataTag());
        const QByteArray path = QFile::encodeName(target);
        QCOMPARE(::chown(path.constData(), owner, group), 0);
        QCOMPARE(::chmod(path.constData(), mode), 0);
        QStringList command{Varn};
        if (byMember) {
            QCOMPARE(::chown(QFile::encodeName(QFileInfo(target).path()).constData(), Nobody, Users), 0);
            command = {"setpriv", "--reuid=65534", "--regid=65534", "--groups=100", Varn};
        }
        const ProgramRun varn = runCommand(command + QStringList{"--export", target, m_new});
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(Files::read(target), Files::read(m_new));
        struct stat status = {};
        QCOMPARE(::stat(path.constData(), &status), 0);
        QCOMPARE(modeOf(target), QString::number(mode, 8));
        QCOMPARE(QList<uint>({status.st_uid, status.st_gid}), QList<uint>({owner, group}));
    }

    // Files that the replace by a temporary file cannot handle are saved all the same.
    void awkwardPlaces_data()
    {
        Rows::columns<QString, bool>("name", "sharedFolder");
        QTest::newRow("file name of 255 bytes") << QString(251, u'n') + u".vrn"_s << false;
        QTest::newRow("name of 255 bytes, not ASCII") << QString(125, u'\u00e9') + u"n.vrn"_s << false;
        QTest::newRow("writable file in a read-only folder") << u"shared.vrn"_s << true;
    }

    void awkwardPlaces()
    {
        auto [name, sharedFolder] = Rows::fetch<QString, bool>("name", "sharedFolder");
        const QString target = oldFileIn(u"awkward "_s + QTest::currentDataTag(), name);
        const QString folder = QFileInfo(target).path();
        QVERIFY(!sharedFolder || (setMode(target, 0x6666) && setMode(folder, 0x5555)));
        const QStringList arguments{"--export", target, m_new};
        const ProgramRun varn =
            runCommand(sharedFolder ? asOrdinaryUser(arguments) : QStringList{Varn} + arguments, dataHome());
        setMode(folder, 0x7755);
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(Files::read(target), Files::read(m_new));
        QCOMPARE(filesIn(folder), QStringList{name});
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
        const QString folder = m_folder.filePath(u"in place "_s + QTest::currentDataTag());
        const QString target = folder + u"/shared.vrn"_s;
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_large, target));
        QVERIFY(setMode(target, 0x6666) && setMode(folder, 0x5555));
        QProcessEnvironment environment = failing(folder, call, 1, EIO);
        environment.insert(dataHome());
        const ProgramRun varn = runCommand(asOrdinaryUser({"--export", target, m_new}), environment);
        setMode(folder, 0x7755);
        const QDir kept(dataHome().value("XDG_DATA_HOME") + u"/VARN"_s);
        const QStringList copies = kept.entryList(QDir::Files | QDir::Hidden);
        if (call.isEmpty()) {
            QVERIFY2(varn.status == 0, qPrintable(varn.errors));
            QCOMPARE(Files::read(target), Files::read(m_new));
            QCOMPARE(copies, QStringList());
            return;
        }
        QCOMPARE(copies.size(), 1);
        const QString copy = kept.filePath(copies.first());
        QVERIFY2(failedSaying(varn, reasonOf(EIO)) && varn.errors.contains(copy), qPrintable(varn.errors));
        QCOMPARE(Files::read(copy), Files::read(m_large));
        QCOMPARE(modeOf(copy), u"600"_s);
    }

    // The box says why, below the message the user knows.
    void reasonIsShown_data()
    {
        Rows::columns<bool, QString, QString>("opening", "path", "reason");
        const auto row = [](const char *name, bool opening, const char *path, const char *reason) {
            QTest::newRow(name) << opening << path << reason;
        };
        row("save into a missing folder", false, "missing/house.vrn", "The folder does not exist");
        row("open a missing file", true, "missing.vrn", "The file does not exist");
        row("open a file over 1 MiB", true, "huge.vrn", "The file is larger than 1 MiB");
        row("open a file cut short", true, "short.vrn",
            "It is not a whole estimate file: it is cut short, or it is not text");
    }

    void reasonIsShown()
    {
        auto [opening, path, reason] = Rows::fetch<bool, QString, QString>("opening", "path", "reason");
        // Its address alone runs past the limit; what follows the last field is never read.
        const QByteArray huge = "2,4,6\r\n\"Pat\",\"" + QByteArray(EstimateFile::MaximumSize, 'x') + "\",\"\"\r\n";
        QVERIFY(Files::write(m_folder.filePath("huge.vrn"), huge));
        QVERIFY(Files::write(m_folder.filePath("short.vrn"), m_oldBytes.left(m_oldBytes.size() / 2)));
        DocumentFixture window;
        window.dialogs.savePaths = {m_folder.filePath(path)};
        if (opening)
            window.document.openFile(m_folder.filePath(path));
        else
            QCOMPARE(window.document.saveAs(), Document::SaveOutcome::Failed);
        QCOMPARE(window.messages.shown.size(), 1);
        const FakeMessageBoxes::Shown box = window.messages.shown.first();
        QCOMPARE((QStringList{box.text, box.title, box.reason}),
                 (QStringList{opening ? Document::openErrorText() : Document::saveErrorText(),
                              Document::fileErrorTitle(), reason}));
    }

    // What a killed save or export left behind goes with the next run: the temporary files of
    // the file's own pattern older than a few minutes, and the scratch folders of runs that ended.
    void leftBehindTemporaries()
    {
        const QDir folder = QFileInfo(oldFileIn(u"left behind"_s, u"house.vrn"_s)).dir();
        const QDir scratch(folder.filePath(u"scratch"_s));
        QVERIFY(scratch.mkpath(u"."_s));
        QProcess ended;
        ended.start(u"true"_s, QStringList());
        QVERIFY(ended.waitForStarted());
        const qint64 endedRun = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString running = u"VARN-%1-LiVeAb"_s.arg(QCoreApplication::applicationPid());
        // Old enough to be an older version's, but another program's: the case differs.
        const QString othersOwn = u"varn-aBc123"_s;
        for (const QString &kept : {running, u"VARN-%1-DeAdAb"_s.arg(endedRun), othersOwn})
            QVERIFY(scratch.mkpath(kept) && Files::write(scratch.filePath(kept + u"/part"_s), {}));
        QCOMPARE(QProcess::execute(u"touch"_s, {u"-d"_s, u"1 hour ago"_s, scratch.filePath(othersOwn)}), 0);
        for (const char *name : {".house.vrn.AbC123", ".house.vrn.XyZ789", ".house.vrn.notes"}) {
            QFile file(folder.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (name != std::string_view(".house.vrn.XyZ789"))
                QVERIFY(
                    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }

        QProcessEnvironment environment;
        environment.insert("TMPDIR", scratch.path());
        const ProgramRun varn = Programs::varn({"--export", folder.filePath(u"house.vrn"_s), m_new}, environment);
        QVERIFY2(varn.status == 0, qPrintable(varn.errors));
        QCOMPARE(filesIn(folder.path()), (QStringList{".house.vrn.notes", ".house.vrn.XyZ789", "house.vrn"}));
        QCOMPARE(scratch.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{running, othersOwn}));
    }

    void killedDuringSave()
    {
        const QByteArray newBytes = Files::read(m_large);
        const QString target = m_folder.filePath(u"target.vrn"_s);
        for (int attempt = 0; attempt < 40; ++attempt) {
            QFile::remove(target);
            QVERIFY(QFile::copy(m_old, target));
            QProcess varn;
            varn.start(Varn, {"--export", target, m_large});
            QVERIFY(varn.waitForStarted());
            QThread::usleep(5000 * attempt); // from at once to well after the save has finished
            varn.kill();
            varn.waitForFinished();
            const QByteArray bytes = Files::read(target);
            QVERIFY2(bytes == m_oldBytes || bytes == newBytes, "the estimate file is neither old nor new");
        }
    }

private:
    // A folder of the case's own holding a copy of the old estimate under the name: its path.
    QString oldFileIn(const QString &folder, const QString &name = u"old.vrn"_s) const
    {
        const QString target = m_folder.filePath(folder) + u'/' + name;
        return QDir().mkpath(QFileInfo(target).path()) && QFile::copy(m_old, target) ? target : QString();
    }

    // A data folder of the ordinary user's own, where old content is kept while a file is
    // rewritten in place.
    QProcessEnvironment dataHome() const
    {
        const QString data = m_folder.filePath(u"data of "_s + QTest::currentDataTag());
        QDir().mkpath(data);
        if (geteuid() == 0 && ::chown(QFile::encodeName(data).constData(), Nobody, Nobody) != 0)
            qWarning("the data folder stays root's: %s", std::strerror(errno));
        QProcessEnvironment environment;
        environment.insert("XDG_DATA_HOME", data);
        return environment;
    }

    QTemporaryDir m_folder;
    const QString m_old = m_folder.filePath(u"old.vrn"_s);
    const QString m_new = m_folder.filePath(u"new.vrn"_s);
    const QString m_large = m_folder.filePath(u"large.vrn"_s);
    const QString m_history = m_folder.filePath(u"history.vrn"_s);
    QByteArray m_oldBytes;
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
