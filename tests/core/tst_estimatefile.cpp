#include "core/document/estimatefile.h"
#include "core/sheet/categorytable.h"
#include "support/documentfixture.h"
#include "support/rows.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QStringDecoder>

#include <numeric>

using namespace Qt::StringLiterals;

namespace {

EstimateContent freshEstimate(const QString &address = QString())
{
    EstimateContent content;
    content.address = address;
    for (int k = 0; k < CategoryTable::names().size(); ++k)
        content.cells[k][1] = CategoryTable::names().at(k);
    return content;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The estimate file as it is written and read, and the document that opens and saves it.
class TestEstimateFile : public QObject
{
    Q_OBJECT

private slots:
    void freshEstimateFile()
    {
        QByteArray expected = "2,4,6\r\n\"\",\"\",\"\"\r\n";
        for (int row = 0; row < EstimateContent::RowCount; ++row)
            expected += "\"\",\"" + CategoryTable::names().value(row).toLatin1() + "\",\"\",\"\",\"\",\"\",\"\"\r\n";
        // As the format's example shows it.
        QVERIFY(expected.startsWith("2,4,6\r\n\"\",\"\",\"\"\r\n"
                                    "\"\",\"Permits, Fees, Surveys\",\"\",\"\",\"\",\"\",\"\"\r\n"));
        const QString path = m_dir.filePath(u"fresh.vrn"_s);
        QVERIFY(writeFile(path, "an older, longer file in its place"));
        QVERIFY(EstimateFile::save(path, freshEstimate()));
        QCOMPARE(readAll(path), expected);
        QCOMPARE(EstimateFile::load(path), std::optional(freshEstimate()));
    }

    // Texts come back as written, but for line breaks, the double quote, and characters that
    // Windows-1252 or an estimate file cannot hold (control characters): each of those becomes "?"
    // and is reported once, in order, for its text.
    void roundTrip()
    {
        QByteArray codePage(255, '\0');
        std::iota(codePage.begin(), codePage.end(), 1);
        EstimateContent content = freshEstimate(u"Main St\nTown"_s);
        content.name = u"Li \u5F20\u4F1F, \u03A9\u5F20"_s;
        content.builder = u"Bob \"B\""_s;
        content.cells[0][2] = u"$1,234.50"_s;
        content.cells[1][0] = u"x"_s + QChar(0xD800);
        content.cells[1][1] = u"a"_s + QChar(0) + QChar(7) + QChar(0x81);
        content.cells[2][0] = u"a\r\nb\rc"_s;
        // All of Windows-1252 but what the file stores differently: control characters, line breaks, quote.
        content.cells[29][0] = QStringDecoder("windows-1252").decode(codePage);
        content.cells[29][0].removeIf([](QChar c) { return c.category() == QChar::Other_Control || c == u'"'; });
        content.cells[29][0] += u'\t';
        content.cells[35][6] = u"($75.00)\U0001F600"_s;
        const QString path = m_dir.filePath(u"round-trip.vrn"_s);
        QList<EstimateFile::LostText> lostTexts;
        QVERIFY(EstimateFile::save(path, content, nullptr, &lostTexts));
        QCOMPARE(lostTexts,
                 (QList<EstimateFile::LostText>{{0, 1, u"\u5F20\u4F1F\u03A9"_s, {}},
                                                {2, 1, QString(QChar(0xD800)), {}},
                                                {2, 2, QString(QChar(0)) + QChar(7) + QChar(0x81), {}},
                                                {36, 7, u"\U0001F600"_s, {}}}));
        content.name = u"Li ??, ??"_s;
        content.builder = u"Bob \u201DB\u201D"_s;
        content.cells[1][0] = u"x?"_s;
        content.cells[1][1] = u"a???"_s;
        content.cells[2][0] = u"a\nb\nc"_s;
        content.cells[35][6] = u"($75.00)?"_s;
        QCOMPARE(EstimateFile::load(path), std::optional(content));
    }

    void readFile_data()
    {
        Rows::columns<QByteArray, bool, QByteArray>("bytes", "opens", "unread");
        const QByteArray written = EstimateFile::encode(freshEstimate(u"Main St\nTown"_s));
        const auto changed = [&](QByteArrayView from, QByteArrayView to) {
            return QByteArray(written).replace(from, to);
        };
        const QByteArray none;
        QTest::newRow("LF line ends") << changed("\r\n", "\n") << true << none;
        QTest::newRow("CR line ends") << changed("\r\n", "\r") << true << none;
        QTest::newRow("junk after quotes") << changed("\",", "\"junk,").replace("\"\r\n", "\" x\r\n") << true << none;
        // Another program's records are no history, but kept, to be written back.
        const QByteArray extra = QByteArray("\"extra\"\r\n").repeated(3);
        QTest::newRow("more records") << written + extra << true << extra;
        QTest::newRow("empty") << QByteArray() << false << none;
        QTest::newRow("one field short") << written.chopped(5) << false << none;
        QTest::newRow("quote never closed") << written.chopped(3) << false << none;
        QTest::newRow("NUL") << changed("Utilities", QByteArray("Util\0ties", 9)) << false << none;
        QTest::newRow("NUL in last field") << written.chopped(4) + QByteArray("x\0y", 3) << false << none;
        // What lies beyond the limit could be neither read nor kept.
        const QByteArray beyondTheLimit(2 * EstimateFile::MaximumSize, 'x');
        QTest::newRow("huge, estimate first") << written + beyondTheLimit << false << none;
        QTest::newRow("huge, quote never closed") << "\"" + beyondTheLimit << false << none;
    }

    void readFile()
    {
        auto [bytes, opens, unread] = Rows::fetch<QByteArray, bool, QByteArray>("bytes", "opens", "unread");
        QFile file(m_dir.filePath(u"read.vrn"_s));
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        // A huge file (sparse, so quick to make) costs no more to read or to turn down than a small one.
        QVERIFY(file.resize(bytes.size() > EstimateFile::MaximumSize ? qint64(1) << 30 : bytes.size()) && file.seek(0));
        EstimateContent content = freshEstimate(u"Main St\nTown"_s);
        const std::optional<EstimateContent> read = EstimateFile::decode(file);
        QCOMPARE(read.has_value(), opens);
        if (read) {
            content.unreadLines = unread;
            content.historyError = read->historyError;
            content.historyUnread = read->historyUnread;
            QCOMPARE(*read, content);
            QCOMPARE(read->historyError.isEmpty(), unread.isEmpty());
        }
        QVERIFY(file.pos() <= 2 * EstimateFile::MaximumSize);
    }

    void sizeLimit_data()
    {
        Rows::columns<int, bool>("excess", "read");
        QTest::newRow("exactly the limit") << 0 << true;
        QTest::newRow("line end beyond the limit") << 1 << false;
        QTest::newRow("closing quote beyond the limit") << 3 << false;
    }

    // No file larger than the limit is saved, nor read: what lies beyond it could not be kept.
    void sizeLimit()
    {
        auto [excess, read] = Rows::fetch<int, bool>("excess", "read");
        EstimateContent content = freshEstimate();
        const qsizetype freshSize = EstimateFile::encode(content).size();
        content.cells[35][6] = QString(EstimateFile::MaximumSize + excess - freshSize, u'x');
        QBuffer buffer;
        buffer.setData(EstimateFile::encode(content));
        QCOMPARE(buffer.size(), EstimateFile::MaximumSize + excess);
        QCOMPARE(EstimateFile::save(m_dir.filePath(u"limit.vrn"_s), content), excess == 0);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(EstimateFile::decode(buffer).has_value(), read);
    }

    void failedSave_data()
    {
        Rows::columns<QString, int>("path", "addressLength");
        QVERIFY(writeFile(m_dir.filePath(u"old.vrn"_s), "old estimate") && QDir(m_dir.path()).mkpath(u"folder"_s));
        QTest::newRow("missing folder") << m_dir.filePath(u"missing/new.vrn"_s) << 0;
        QTest::newRow("path is a folder") << m_dir.filePath(u"folder"_s) << 0;
        QTest::newRow("too large to open") << m_dir.filePath(u"old.vrn"_s) << int(EstimateFile::MaximumSize);
    }

    // A failed save leaves the old file whole and no new entry in the folder.
    void failedSave()
    {
        auto [path, addressLength] = Rows::fetch<QString, int>("path", "addressLength");
        const QDir dir(m_dir.path());
        const auto snapshot = [&dir] {
            return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                << QString::fromLatin1(readAll(dir.filePath(u"old.vrn"_s)));
        };
        const QStringList before = snapshot();
        QString errorString;
        QVERIFY(!EstimateFile::save(path, freshEstimate(QString(addressLength, u'x')), &errorString));
        QVERIFY(!errorString.isEmpty());
        QCOMPARE(snapshot(), before);
    }

    void savePrompt()
    {
        DocumentFixture f;
        // Nothing to save asks nothing.
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        f.enter(2, 3, "5");
        f.grid().setText(2, 2, "Changed");
        f.grid().setText(32, 2, "Shed");
        f.header.setText(HeaderFields::Address, "1 Main St\nTown");
        const EstimateContent before = f.document.content();

        // Cancel, and Yes with the save dialog cancelled, keep everything: the command stops.
        f.messages.answers = {MessageBoxes::Cancel, MessageBoxes::Yes, MessageBoxes::Yes, MessageBoxes::Yes};
        f.document.newEstimate();
        QCOMPARE(f.message(0), (QStringList{"question", "Do you want to save your Current document?", "Stop"}));
        QCOMPARE(f.document.QuerySaveChanges(), 2);
        QCOMPARE(f.document.content(), before);
        QVERIFY(!f.document.DocumentSaved());
        // Yes without a file shows the save dialog; with one it writes it without a dialog.
        f.dialogs.savePaths = {f.path("new.vrn")};
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        QVERIFY(EstimateFile::load(f.path("new.vrn")) == before);
        f.enter(2, 4, "7");
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        QVERIFY(EstimateFile::load(f.path("new.vrn")) == f.document.content());
        QCOMPARE(f.dialogs.savePresets, (QStringList{"", ""}));
        // A write that fails stops the command too.
        f.enter(2, 4, "8");
        QVERIFY(QDir(f.folder.path()).removeRecursively());
        f.messages.answers = {MessageBoxes::Yes, MessageBoxes::No};
        QCOMPARE(f.document.QuerySaveChanges(), 2);
        QCOMPARE(f.message(),
                 (QStringList{"critical", "An error as accured while trying to save this file.", "File Error"}));
        QVERIFY(!f.document.DocumentSaved());

        // No discards: New restores the sheet of a new estimate.
        f.document.newEstimate();
        QCOMPARE((QStringList{f.grid().text(2, 2), f.grid().text(32, 2), f.grid().text(2, 4), f.grid().text(37, 3),
                              f.header.text(HeaderFields::Address), f.document.CurrentFile()}),
                 (QStringList{"Utilities", "", "", "0", "", ""}));
        QVERIFY(f.document.DocumentSaved());
    }

    void saveAndOpenRoundTrip()
    {
        DocumentFixture f;
        f.header.setText(HeaderFields::Name, "Pat Owner");
        f.header.setText(HeaderFields::Address, "12 Elm Road\nSpringfield");
        f.header.setText(HeaderFields::Builder, QString::fromUtf16(u"Zo\u00eb \u03a9mega"));
        f.enter(1, 3, "1500");
        f.enter(8, 6, "75");
        f.grid().setText(8, 1, "Roofers, Inc.");
        f.grid().setText(9, 2, QString());
        // Texts left stale, as another program may write them.
        f.grid().setText(5, 3, "$1,000.00");
        f.grid().setText(5, 7, "$5.00");
        f.dialogs.savePaths = {f.path("house.vrn")};
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
        // Characters the file cannot hold are stored as "?" and reported.
        QCOMPARE(f.message().first(), QStringLiteral("warning"));
        QVERIFY(f.message().at(1).contains(QString::fromUtf16(u"Builder: \u03a9")));

        // The command-line document opens once, without a dialog, and recalculated.
        DocumentFixture g;
        g.document.setCommandLineDocument(f.path("house.vrn"));
        QSignalSpy leaves(&g.grid(), &Grid::leavingCell);
        g.document.open();
        // Opening moves the current cell once, to the first item cell.
        QCOMPARE(leaves.count(), 1);
        g.document.setCommandLineOpened();
        EstimateContent expected = f.document.content();
        expected.builder = QString::fromUtf16(u"Zo\u00eb ?mega");
        expected.cells[4][3] = expected.cells[4][6] = "$1,000.00";
        QCOMPARE(g.document.content(), expected);
        QCOMPARE(g.grid().text(37, 4), QStringLiteral("$2,500.00"));
        QCOMPARE(g.grid().textColour(8, 7), TextColour::Red);
        QCOMPARE(std::pair(g.grid().currentRow(), g.grid().currentColumn()), std::pair(1, 1));
        QCOMPARE(g.document.CurrentFile(), f.path("house.vrn"));
        QVERIFY(g.document.DocumentSaved());
        QCOMPARE(g.dialogs.openCount, 0);
        g.document.open();
        QCOMPARE(g.dialogs.openCount, 1);

        // Any move of the current cell, edit or not, marks the document changed.
        g.grid().setCurrentCell(3, 3);
        QVERIFY(!g.document.DocumentSaved());
    }

    void openFailuresKeepEverything_data()
    {
        Rows::columns<QByteArray, bool>("bytes", "commandLine");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("cut short") << EstimateFile::encode({}).left(300) << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("command-line document missing") << QByteArray() << true;
    }

    void openFailuresKeepEverything()
    {
        auto [bytes, commandLine] = Rows::fetch<QByteArray, bool>("bytes", "commandLine");
        DocumentFixture f;
        f.dialogs.savePaths = {f.path("mine.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        f.header.setText(HeaderFields::Builder, "Kept");
        f.enter(6, 4, "40");
        const EstimateContent before = f.document.content();
        if (!bytes.isNull()) {
            QFile file(f.path("bad.vrn"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }

        f.messages.answers = {MessageBoxes::No};
        f.dialogs.openPaths = {f.path("bad.vrn")};
        if (commandLine)
            f.document.setCommandLineDocument(f.path("bad.vrn"));
        f.document.open();
        QCOMPARE(f.dialogs.openCount, commandLine ? 0 : 1);
        QCOMPARE(f.message(),
                 (QStringList{"critical", "An error as accured while trying to open this file.", "File Error"}));
        QCOMPARE(f.document.content(), before);
        QVERIFY(!f.document.DocumentSaved());
        // The document still belongs to its own file: a Save cannot overwrite the bad one.
        QCOMPARE(f.document.CurrentFile(), f.path("mine.vrn"));
    }

    void saveAsAndCancelledDialogs()
    {
        DocumentFixture f;
        QVERIFY(QDir(f.folder.path()).mkdir("folder.vrn"));
        f.dialogs.savePaths = {f.path("one.vrn"), f.path("two.vrn"), QString(), f.path("folder.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
        f.document.open();
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Cancelled);
        QCOMPARE(f.dialogs.openCount, 1);
        QCOMPARE(f.document.CurrentFile(), f.path("two.vrn"));
        QVERIFY(f.messages.shown.isEmpty());

        // A save that fails leaves the old file whole.
        const auto saved = EstimateFile::load(f.path("two.vrn"));
        f.enter(2, 3, "10");
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Failed);
        QCOMPARE(f.dialogs.savePresets, (QStringList{"", f.path("one.vrn"), f.path("two.vrn"), f.path("two.vrn")}));
        QVERIFY(!f.document.DocumentSaved());
        QVERIFY(saved && EstimateFile::load(f.path("two.vrn")) == saved);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestEstimateFile)
#include "tst_estimatefile.moc"
