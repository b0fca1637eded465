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

// Two draws over an opening balance, at two retainage rates, and a change order; the second
// draw's note holds what the file stores differently.
EstimateHistory twoDraws()
{
    EstimateHistory history;
    history.retainageBasisPoints = 500;
    history.draws = {{1, QDate(2026, 12, 1), u"framing inspection passed"_s, 1000, {{5, 1500000, 1500000, 0, 250000}}},
                     {2,
                      QDate(2027, 1, 4),
                      u"roof, \"dry\"\nin \u03A9"_s,
                      500,
                      {{5, 1500000, 1700000, 250000, 100000}, {12, 0, 0, -5000, 0}}}};
    history.changeOrders = {{1, QDate(2026, 12, 2), 8, u"upgrade to metal roof"_s, -200000,
                             ChangeOrder::Status::Approved, ChangeOrder::Source::Contingency}};
    return history;
}

const QByteArray TwoDrawsSection = "\"VARN history\",1,8\r\n"
                                   "\"retainage\",500\r\n"
                                   "\"contingency\",29\r\n"
                                   "\"draw\",1,\"2026-12-01\",\"framing inspection passed\",1000\r\n"
                                   "\"line\",5,1500000,1500000,0,250000\r\n"
                                   "\"draw\",2,\"2027-01-04\",\"roof, \x94"
                                   "dry\x94\r\nin ?\",500\r\n"
                                   "\"line\",5,1500000,1700000,250000,100000\r\n"
                                   "\"line\",12,0,0,-5000,0\r\n"
                                   "\"change\",1,\"2026-12-02\",8,\"upgrade to metal roof\",-200000,\"approved\","
                                   "\"contingency\"\r\n";

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

    // The history follows the 38 records, which stay byte for byte what they were.
    void historySection()
    {
        EstimateContent content = freshEstimate();
        content.history = twoDraws();
        QList<EstimateFile::LostText> lost;
        const QByteArray sheet = EstimateFile::encode(freshEstimate());
        QCOMPARE(EstimateFile::encode(content, &lost), sheet + TwoDrawsSection);
        QCOMPARE(lost, (QList<EstimateFile::LostText>{{0, 0, u"\u03A9"_s, u"Draw 2, note"_s}}));
        QBuffer buffer;
        buffer.setData(sheet + TwoDrawsSection);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        content.history.draws[1].note = u"roof, \u201Ddry\u201D\nin ?"_s;
        QCOMPARE(EstimateFile::decode(buffer), std::optional(content));
    }

    void damagedHistory_data()
    {
        Rows::columns<QByteArray, QString>("section", "error");
        const auto changed = [](QByteArrayView from, QByteArrayView to) {
            return QByteArray(TwoDrawsSection).replace(from, to);
        };
        QTest::newRow("none") << QByteArray() << QString();
        QTest::newRow("another program's records") << QByteArray("\"extra\",\"VARN history\",1,0\r\n") << QString();
        QTest::newRow("a text that only begins alike")
            << QByteArray("\"VARN history of the house\",1,0\r\n") << QString();
        QTest::newRow("cut short") << TwoDrawsSection.left(TwoDrawsSection.lastIndexOf("\"change\""))
                                   << u"it is cut short: 7 of its 8 records are there"_s;
        QTest::newRow("cut in its header")
            << QByteArray("\"VARN history\",1") << u"it is cut short in its first record"_s;
        QTest::newRow("later version")
            << QByteArray("\"VARN history\",2,1\r\n\"forecast\",1\r\n")
            << u"it was written by a later VARN (history version 2; this one reads version 1)"_s;
        QTest::newRow("more rows than the sheet")
            << changed("\"line\",12,", "\"line\",37,") << u"record 7 of 8: row 37 is outside 1 to 36"_s;
        QTest::newRow("unknown record") << changed("\"change\"", "\"chnage\"")
                                        << u"record 8 of 8: \"chnage\" is not a kind of record this VARN knows"_s;
        QTest::newRow("draws out of order")
            << changed("\"draw\",2,", "\"draw\",3,") << u"record 5 of 8: draw 3 comes where draw 2 should"_s;
        QTest::newRow("no such date") << changed("2027-01-04", "2027-02-30")
                                      << u"record 5 of 8: \"2027-02-30\" is not a date (year-month-day)"_s;
        QTest::newRow("binary") << changed("framing", QByteArray("fra\0ing", 8)) << u"record 3 of 8: it is not text"_s;
        QTest::newRow("control character in a note")
            << changed("framing", "fra\x8Ding") << u"record 3 of 8: it is not text"_s;
    }

    // The sheet opens whatever follows it; a history that cannot be read is left out, and
    // the reason says what is wrong with it.
    void damagedHistory()
    {
        auto [section, error] = Rows::fetch<QByteArray, QString>("section", "error");
        EstimateContent content = freshEstimate();
        content.cells[4][2] = u"$15,000.00"_s;
        QBuffer buffer;
        buffer.setData(EstimateFile::encode(content) + section);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        content.historyError = error;
        QCOMPARE(EstimateFile::decode(buffer), std::optional(content));
    }

    // A blank line, or a stray field that shifted the rows, does not make a history vanish;
    // its texts are read as the rest of the file is, in UTF-8 where the file is UTF-8.
    void historyFoundFurtherOn_data()
    {
        Rows::columns<QByteArray, bool>("before", "warned");
        QTest::newRow("blank line") << QByteArray("\r\n") << false;
        QTest::newRow("stray field") << QByteArray("\"Acme\",\"\"\r\n") << true;
    }

    void historyFoundFurtherOn()
    {
        auto [before, warned] = Rows::fetch<QByteArray, bool>("before", "warned");
        QBuffer buffer;
        buffer.setData(EstimateFile::encode(freshEstimate()) + before
                       + QByteArray(TwoDrawsSection)
                             .replace("framing",
                                      "Ren\xC3\xA9"
                                      "e's framing")
                             .replace("\x94", "\xE2\x80\x9D"));
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const std::optional<EstimateContent> read = EstimateFile::decode(buffer);
        QVERIFY(read && read->historyError.isEmpty());
        QCOMPARE(read->history.draws.size(), 2);
        QCOMPARE(read->history.draws[0].note, u"Ren\u00E9e's framing inspection passed"_s);
        QCOMPARE(!read->damageWarning.isEmpty(), warned);
    }

    void readFile_data()
    {
        Rows::columns<QByteArray, bool>("bytes", "opens");
        const QByteArray written = EstimateFile::encode(freshEstimate(u"Main St\nTown"_s));
        const auto changed = [&](QByteArrayView from, QByteArrayView to) {
            return QByteArray(written).replace(from, to);
        };
        QTest::newRow("LF line ends") << changed("\r\n", "\n") << true;
        QTest::newRow("CR line ends") << changed("\r\n", "\r") << true;
        QTest::newRow("junk after quotes") << changed("\",", "\"junk,").replace("\"\r\n", "\" x\r\n") << true;
        QTest::newRow("more records") << written + QByteArray("\"extra\"\r\n").repeated(3) << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("one field short") << written.chopped(5) << false;
        QTest::newRow("quote never closed") << written.chopped(3) << false;
        QTest::newRow("NUL") << changed("Utilities", QByteArray("Util\0ties", 9)) << false;
        QTest::newRow("NUL in last field") << written.chopped(4) + QByteArray("x\0y", 3) << false;
        const QByteArray beyondTheLimit(2 * EstimateFile::MaximumSize, 'x');
        QTest::newRow("huge, estimate first") << written + beyondTheLimit << true;
        QTest::newRow("huge, quote never closed") << "\"" + beyondTheLimit << false;
    }

    void readFile()
    {
        auto [bytes, opens] = Rows::fetch<QByteArray, bool>("bytes", "opens");
        QFile file(m_dir.filePath(u"read.vrn"_s));
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        // A huge file (sparse, so quick to make) costs no more to read or to turn down than a small one.
        QVERIFY(file.resize(bytes.size() > EstimateFile::MaximumSize ? qint64(1) << 30 : bytes.size()) && file.seek(0));
        const EstimateContent content = freshEstimate(u"Main St\nTown"_s);
        QCOMPARE(EstimateFile::decode(file), opens ? std::optional(content) : std::nullopt);
        QVERIFY(file.pos() <= 2 * EstimateFile::MaximumSize);
    }

    void sizeLimit_data()
    {
        Rows::columns<int, bool>("excess", "read");
        QTest::newRow("exactly the limit") << 0 << true;
        QTest::newRow("line end beyond the limit") << 1 << true;
        QTest::newRow("closing quote beyond the limit") << 3 << false;
    }

    // No file larger than the limit is saved; the reader stops at the end of the last field, so
    // only that has to lie within the limit.
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

    void historyThroughOpenAndSave_data()
    {
        Rows::columns<QByteArray, bool>("section", "readable");
        EstimateContent content;
        content.history.draws = {{1, QDate(2026, 12, 1), "framing", 0, {{5, 100, 100, 0, 50}}}};
        const QByteArray section = EstimateFile::encode(content).mid(EstimateFile::encode({}).size());
        QTest::newRow("an estimate from before the history") << QByteArray() << true;
        QTest::newRow("with a history") << section << true;
        QTest::newRow("history cut short") << section.chopped(4) << false;
    }

    // An estimate opened and saved again is the same file; one whose history cannot be read
    // opens, says so, and is written without the history only when the user says yes.
    void historyThroughOpenAndSave()
    {
        auto [section, readable] = Rows::fetch<QByteArray, bool>("section", "readable");
        DocumentFixture f;
        EstimateContent content;
        content.cells[4] = {"Summit Roofing", "Roofing", "$1.00", "$1.00", "", "$0.50", "$0.50"};
        const QByteArray sheet = EstimateFile::encode(content);
        QFile file(f.path("house.vrn"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheet + section) == sheet.size() + section.size());
        file.close();
        f.document.openFile(f.path("house.vrn"));
        QCOMPARE(f.document.content().cells, content.cells);
        QCOMPARE(f.document.history().draws.size(), readable && !section.isEmpty() ? 1 : 0);
        const auto bytes = [&f] {
            QFile saved(f.path("house.vrn"));
            return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
        };
        if (readable) {
            QVERIFY(f.messages.shown.isEmpty());
            QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
            QCOMPARE(bytes(), sheet + section);
            return;
        }
        QCOMPARE(f.message().mid(0, 1), QStringList{"warning"});
        QVERIFY2(f.message().at(1).contains("draw history in this file could not be read: it is cut short"),
                 qPrintable(f.message().at(1)));
        // Yes, then the file dialog cancelled: nothing is written, so the next save asks again,
        // and so does one after a recovery copy of the estimate is restored.
        f.messages.answers = {MessageBoxes::Yes};
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Cancelled);
        for (const bool restored : {false, true}) {
            if (restored)
                f.document.restore(f.document.content(), f.path("house.vrn"));
            f.messages.answers = {MessageBoxes::No};
            QCOMPARE(f.document.save(), Document::SaveOutcome::Cancelled);
            QCOMPARE(f.message().mid(0, 1), QStringList{"yes/no question"});
            QCOMPARE(bytes(), sheet + section);
        }
        f.messages.answers = {MessageBoxes::Yes};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(bytes(), sheet);
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
