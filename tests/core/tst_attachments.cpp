#include "core/document/attachmentfolder.h"
#include "core/document/estimatefile.h"
#include "faultinjection/faultinjection.h"
#include "support/files.h"
#include "support/histories.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {
// The SHA-256 as another program works it out.
QByteArray sha256sum(const QString &path)
{
    return QByteArray::fromHex(Programs::run("sha256sum", {path}).output.section(u' ', 0, 0).toLatin1());
}

QStringList everyFileIn(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        files << entry.fileName();
        if (entry.isDir())
            for (const QString &inner : everyFileIn(entry.filePath()))
                files << entry.fileName() + u'/' + inner;
    }
    return files;
}
}

// The papers attached to an estimate, copied into the folder beside it and found again there.
class TestAttachments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!Programs::installed({"sha256sum"}))
            QSKIP("sha256sum (coreutils) is needed");
    }

    void attach_data()
    {
        // attached: the names the files take in the folder, in order
        Rows::columns<QStringList, QStringList>("sources", "attached");
        QTest::newRow("one invoice") << QStringList{"invoice.pdf"} << QStringList{"house documents/invoice.pdf"};
        QTest::newRow("the same name twice")
            << QStringList{"invoice.pdf", "other/invoice.pdf", "third/invoice.pdf"}
            << QStringList{"house documents/invoice.pdf", "house documents/invoice (2).pdf",
                           "house documents/invoice (3).pdf"};
        QTest::newRow("no suffix") << QStringList{"waiver", "other/waiver"}
                                   << QStringList{"house documents/waiver", "house documents/waiver (2)"};
        QTest::newRow("an empty file") << QStringList{"empty.jpg"} << QStringList{"house documents/empty.jpg"};
    }

    // Each copy holds the bytes of its source, named by its path from the estimate's folder
    // and by the SHA-256 another program gives.
    void attach()
    {
        auto [sources, attached] = Rows::fetch<QStringList, QStringList>("sources", "attached");
        QTemporaryDir dir;
        const AttachmentFolder folder(dir.filePath(u"house.vrn"_s));
        QStringList names;
        for (int index = 0; index < sources.size(); ++index) {
            const QString source = dir.filePath(u"incoming/"_s + sources.at(index));
            QVERIFY(QDir().mkpath(QFileInfo(source).absolutePath()));
            const QByteArray bytes = sources.at(index) == u"empty.jpg" ? QByteArray() : QByteArray(100000 + index, 'x');
            QVERIFY(Files::write(source, bytes));
            QString errorString;
            const std::optional<AttachedFile> file = folder.attach(source, &errorString);
            QVERIFY2(file, qPrintable(errorString));
            names << file->relativePath;
            QCOMPARE(Files::read(dir.filePath(file->relativePath)), bytes);
            QCOMPARE(file->sha256, sha256sum(source));
            QCOMPARE(file->size, bytes.size());
            QCOMPARE(folder.stateOf(*file), AttachmentFolder::State::Present);
        }
        QCOMPARE(names, attached);
    }

    // Moved or backed up with its folder, the estimate finds each paper again; one deleted or
    // changed since it was attached is told apart, never taken for the paper.
    void foundAgain()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"build/2026"_s)));
        QVERIFY(Files::write(dir.filePath(u"receipt.png"_s), "receipt"));
        QVERIFY(Files::write(dir.filePath(u"photo.jpg"_s), "photo"));
        const AttachmentFolder folder(dir.filePath(u"build/2026/house.vrn"_s));
        const AttachedFile receipt = *folder.attach(dir.filePath(u"receipt.png"_s));
        const AttachedFile photo = *folder.attach(dir.filePath(u"photo.jpg"_s));
        QVERIFY(QDir().rename(dir.filePath(u"build"_s), dir.filePath(u"backup"_s)));
        const AttachmentFolder moved(dir.filePath(u"backup/2026/house.vrn"_s));
        QCOMPARE(moved.stateOf(receipt), AttachmentFolder::State::Present);
        QVERIFY(Files::write(moved.absolutePath(receipt), "receipt, edited"));
        QCOMPARE(moved.stateOf(receipt), AttachmentFolder::State::Changed);
        QVERIFY(QFile::remove(moved.absolutePath(photo)));
        QCOMPARE(moved.stateOf(photo), AttachmentFolder::State::Missing);
    }

    // A paper attached under a name the estimate's file could not hold (letters beyond its code
    // page, a double quote), beside an estimate so named, is found again once the estimate is
    // saved and read back.
    void foundAgainAfterSaving()
    {
        QTemporaryDir dir;
        const QString estimatePath = dir.filePath(u"dom łódź.vrn"_s);
        const QString source = dir.filePath(u"faktura \"7\" łódź 🏠.pdf"_s);
        QVERIFY(Files::write(source, "%PDF-1.4 invoice"));
        const AttachmentFolder folder(estimatePath);
        const std::optional<AttachedFile> attached = folder.attach(source);
        QVERIFY(attached);
        EstimateContent content = Histories::estimateWithDraws(1);
        Paper invoice;
        invoice.number = 1;
        invoice.title = u"Invoice 7"_s;
        invoice.subjectNumber = 1;
        invoice.file = *attached;
        content.history.papers = {invoice};
        QList<EstimateFile::LostText> lost;
        QVERIFY(EstimateFile::save(estimatePath, content, nullptr, &lost));
        QVERIFY(lost.isEmpty());
        const std::optional<EstimateContent> read = EstimateFile::load(estimatePath);
        QVERIFY(read);
        QCOMPARE(read->history.papers.value(0).file, *attached);
        QCOMPARE(AttachmentFolder(estimatePath).stateOf(read->history.papers.value(0).file),
                 AttachmentFolder::State::Present);
        QCOMPARE(attached->relativePath, u"dom _ód_ documents/faktura _7_ _ód_ _.pdf"_s);
    }

    void pathsOutOfTheFolder_data()
    {
        Rows::columns<QString>("path");
        QTest::newRow("up out of the estimate's folder") << u"../outside.pdf"_s;
        QTest::newRow("up out of the documents folder and more") << u"house documents/../../outside.pdf"_s;
        QTest::newRow("an absolute path") << u"ABSOLUTE"_s;
        QTest::newRow("a folder") << u"house documents"_s;
    }

    // A file that names a paper outside the estimate's folder, or what is not a file, is given
    // no paper there, however well the bytes match: Open and the package would read it.
    void pathsOutOfTheFolder()
    {
        auto [path] = Rows::fetch<QString>("path");
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"estimate/house documents"_s)));
        const QString outside = dir.filePath(u"outside.pdf"_s);
        QVERIFY(Files::write(outside, "%PDF-1.4 not the estimate's"));
        const AttachmentFolder folder(dir.filePath(u"estimate/house.vrn"_s));
        AttachedFile file{path == u"ABSOLUTE" ? outside : path, sha256sum(outside), QFileInfo(outside).size()};
        QCOMPARE(folder.stateOf(file), AttachmentFolder::State::Missing);
    }

    void refused_data()
    {
        Rows::columns<QString, QString, QString>("estimate", "source", "reason");
        QTest::newRow("an estimate never saved")
            << QString() << u"invoice.pdf"_s << u"the estimate has no file yet: save it first"_s;
        QTest::newRow("a source that is not there") << u"house.vrn"_s << u"gone.pdf"_s << u"gone.pdf cannot be read"_s;
    }

    // Refused, saying why, with nothing written.
    void refused()
    {
        auto [estimate, source, reason] = Rows::fetch<QString, QString, QString>("estimate", "source", "reason");
        QTemporaryDir dir;
        QVERIFY(Files::write(dir.filePath(u"invoice.pdf"_s), "invoice"));
        const AttachmentFolder folder(estimate.isEmpty() ? QString() : dir.filePath(estimate));
        QString errorString;
        QVERIFY(!folder.attach(dir.filePath(source), &errorString));
        QVERIFY2(errorString.contains(reason), qPrintable(errorString));
        QCOMPARE(everyFileIn(dir.path()), QStringList{u"invoice.pdf"_s});
    }

    void everyCallFailingOnce_data()
    {
        Rows::columns<QString>("call");
        for (const char *call : {"openat", "read", "write", "fsync", "close", "rename", "mkdir"})
            QTest::newRow(call) << QString::fromLatin1(call);
    }

    // Each call of the copy made to fail in turn: the attach either fails, saying so, and
    // leaves the folder as it was and the source whole, or the copy is the source's bytes.
    void everyCallFailingOnce()
    {
        auto [call] = Rows::fetch<QString>("call");
        QTemporaryDir dir;
        const QString source = dir.filePath(u"incoming/invoice.pdf"_s);
        QVERIFY(QDir().mkpath(dir.filePath(u"incoming"_s)));
        const QByteArray bytes(300000, 'i');
        QVERIFY(Files::write(source, bytes));
        const AttachmentFolder folder(dir.filePath(u"house.vrn"_s));
        const QByteArray armed = QFile::encodeName(dir.path());
        varn_fault_arm(armed.constData(), call.toLatin1().constData(), 0, ENOSPC);
        QVERIFY(folder.attach(source));
        const int calls = varn_fault_count(call.toLatin1().constData());
        QVERIFY(QDir(folder.path()).removeRecursively());
        const QStringList before = everyFileIn(dir.path());
        for (int nth = 1; nth <= calls; ++nth) {
            varn_fault_arm(armed.constData(), call.toLatin1().constData(), nth, ENOSPC);
            QString errorString;
            const std::optional<AttachedFile> file = folder.attach(source, &errorString);
            varn_fault_arm(armed.constData(), call.toLatin1().constData(), 0, ENOSPC);
            QCOMPARE(Files::read(source), bytes);
            if (file) {
                QCOMPARE(Files::read(folder.absolutePath(*file)), bytes);
                QVERIFY(QDir(folder.path()).removeRecursively());
            } else {
                QVERIFY2(!errorString.isEmpty(), qPrintable(call));
                QCOMPARE(everyFileIn(dir.path()), before);
            }
        }
    }

    void copiedAlongEveryCallFailingOnce_data() { everyCallFailingOnce_data(); }

    // The papers taken along to an estimate saved into another folder, with each call failing
    // in turn: the old copy stays whole, and each paper is copied whole or named with why, with
    // nothing of it left in the new folder.
    void copiedAlongEveryCallFailingOnce()
    {
        auto [call] = Rows::fetch<QString>("call");
        QTemporaryDir dir;
        QVERIFY(Files::write(dir.filePath(u"invoice.pdf"_s), QByteArray(300000, 'i')));
        const AttachmentFolder from(dir.filePath(u"site/house.vrn"_s));
        Paper invoice;
        invoice.number = 1;
        invoice.file = *from.attach(dir.filePath(u"invoice.pdf"_s));
        const AttachmentFolder to(dir.filePath(u"backup/house.vrn"_s));
        QVERIFY(QDir().mkpath(dir.filePath(u"backup"_s)));
        const QByteArray armed = QFile::encodeName(dir.filePath(u"backup"_s));
        varn_fault_arm(armed.constData(), call.toLatin1().constData(), 0, ENOSPC);
        QVERIFY(from.copyTo(to, {invoice}).isEmpty());
        const int calls = varn_fault_count(call.toLatin1().constData());
        QVERIFY(QDir(to.path()).removeRecursively());
        for (int nth = 1; nth <= calls; ++nth) {
            varn_fault_arm(armed.constData(), call.toLatin1().constData(), nth, ENOSPC);
            const PayeeChecks::UnavailablePapers notCopied = from.copyTo(to, {invoice});
            varn_fault_arm(armed.constData(), call.toLatin1().constData(), 0, ENOSPC);
            QCOMPARE(from.stateOf(invoice.file), AttachmentFolder::State::Present);
            if (notCopied.isEmpty()) {
                QCOMPARE(to.stateOf(invoice.file), AttachmentFolder::State::Present);
                QVERIFY(QDir(to.path()).removeRecursively());
            } else {
                QVERIFY2(!notCopied.value(1).isEmpty(), qPrintable(call));
                QCOMPARE(everyFileIn(dir.filePath(u"backup"_s)), QStringList());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAttachments)
#include "tst_attachments.moc"
