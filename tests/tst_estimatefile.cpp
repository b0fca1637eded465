#include "document/estimatefile.h"
#include "sheet/categorytable.h"

#include <QBuffer>
#include <QDirIterator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

EstimateContent freshEstimate()
{
    EstimateContent content;
    const QStringList names = CategoryTable::names();
    for (int k = 0; k < names.size(); ++k)
        content.cells[k][1] = names[k];
    return content;
}

// Row 0 is the header line, as in the lost-text reports.
EstimateContent freshEstimateWith(int row, int column, const QString &text)
{
    EstimateContent content = freshEstimate();
    QString *const header[] = {&content.name, &content.address, &content.builder};
    (row == 0 ? *header[column - 1] : content.cells[row - 1][column - 1]) = text;
    return content;
}

// What Windows-1252 holds, less what the file stores differently: NUL, line breaks, quote.
QString codePageCharacters()
{
    QByteArray bytes;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\n' && byte != '\r' && byte != '"')
            bytes += char(byte);
    }
    return QStringDecoder("windows-1252").decode(bytes);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestEstimateFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void freshEstimateFile();
    void roundTrip_data();
    void roundTrip();
    void readFile_data();
    void readFile();
    void sizeLimit_data();
    void sizeLimit();
    void hugeFile_data();
    void hugeFile();
    void failedSave_data();
    void failedSave();
    void failedSaveIntoReadOnlyFolder();

private:
    QMap<QString, QByteArray> folderSnapshot() const;

    QTemporaryDir m_dir;
};

void TestEstimateFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(m_dir.filePath(u"old.vrn"_s), "old estimate"));
    QVERIFY(QDir(m_dir.path()).mkdir(u"folder"_s));
}

void TestEstimateFile::freshEstimateFile()
{
    const QString path = m_dir.filePath(u"fresh.vrn"_s);
    QVERIFY(writeFile(path, "an older, longer file in its place"));
    QVERIFY(EstimateFile::save(path, freshEstimate()).saved);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("2,4,6\r\n\"\",\"\",\"\"\r\n"
                             "\"\",\"Permits, Fees, Surveys\",\"\",\"\",\"\",\"\",\"\"\r\n"
                             "\"\",\"Utilities\",\"\",\"\",\"\",\"\",\"\"\r\n"
                             "\"\",\"Excavation\",\"\",\"\",\"\",\"\",\"\"\r\n"));
    QVERIFY(bytes.endsWith("\r\n\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"));
    QCOMPARE(bytes.count("\r\n"), 38);
    QCOMPARE(EstimateFile::load(path), std::optional(freshEstimate()));
}

void TestEstimateFile::roundTrip_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<QString>("lost");
    QTest::newRow("money text") << 1 << 3 << u"$1,234.50"_s << u"$1,234.50"_s << QString();
    QTest::newRow("negative money text") << 36 << 7 << u"($75.00)"_s << u"($75.00)"_s << QString();
    QTest::newRow("two-line address") << 0 << 2 << u"Main St\nTown"_s << u"Main St\nTown"_s << QString();
    QTest::newRow("any line break") << 0 << 2 << u"a\r\nb\rc"_s << u"a\nb\nc"_s << QString();
    QTest::newRow("double quote") << 0 << 3 << u"Bob \"B\""_s << u"Bob \u201DB\u201D"_s << QString();
    QTest::newRow("code page") << 30 << 1 << codePageCharacters() << codePageCharacters() << QString();
    QTest::newRow("lost, each once, in order") << 0 << 1 << u"Li \u5F20\u4F1F, \u03A9\u5F20"_s
                                               << u"Li ??, ??"_s << u"\u5F20\u4F1F\u03A9"_s;
    QTest::newRow("pair") << 36 << 7 << u"a\U0001F600b"_s << u"a?b"_s << u"\U0001F600"_s;
    QTest::newRow("lone surrogate") << 2 << 1 << u"x"_s + QChar(0xD800) << u"x?"_s
                                    << QString(QChar(0xD800));
    QTest::newRow("NUL") << 2 << 2 << u"a"_s + QChar(0) << u"a?"_s << QString(QChar(0));
}

void TestEstimateFile::roundTrip()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QFETCH(QString, lost);
    const QString path = m_dir.filePath(u"round-trip.vrn"_s);
    const auto result = EstimateFile::save(path, freshEstimateWith(row, column, text));
    QVERIFY(result.saved);
    QList<EstimateFile::LostText> expectedLost;
    if (!lost.isEmpty())
        expectedLost.append({row, column, lost});
    QCOMPARE(result.lostTexts, expectedLost);
    QCOMPARE(EstimateFile::load(path), std::optional(freshEstimateWith(row, column, readBack)));
}

void TestEstimateFile::readFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    const QByteArray written = EstimateFile::encode(freshEstimateWith(0, 2, u"Main St\nTown"_s));
    const auto changed = [&written](QByteArrayView from, QByteArrayView to) {
        return QByteArray(written).replace(from, to);
    };
    QTest::newRow("LF line ends") << changed("\r\n", "\n") << true;
    QTest::newRow("CR line ends") << changed("\r\n", "\r") << true;
    QTest::newRow("blanks before fields") << changed(",\"", ", \t\"").replace("\n\"", "\n  \"") << true;
    QTest::newRow("junk after quotes") << changed("\",", "\"junk,").replace("\"\r\n", "\" x\r\n") << true;
    QTest::newRow("unquoted fields") << changed("\"\"", "").replace("\"Utilities\"", "Utilities") << true;
    QTest::newRow("version not numbers") << changed("2,4,6", "v2, \"beta\",x") << true;
    QTest::newRow("no last line end") << written.chopped(2) << true;
    QTest::newRow("more records") << written + QByteArray("\"extra\"\r\n").repeated(3) << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("cut after row 20") << written.first(written.indexOf("\"\",\"Interior Trim L")) << false;
    QTest::newRow("one field short") << written.chopped(5) << false;
    QTest::newRow("quote never closed") << written.chopped(3) << false;
    QTest::newRow("binary") << changed("Utilities", QByteArray("Util\0ties", 9)) << false;
    QTest::newRow("binary last field") << written.chopped(4) + QByteArray("x\0y", 3) << false;
}

void TestEstimateFile::readFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    const QString path = m_dir.filePath(u"read.vrn"_s);
    QVERIFY(writeFile(path, bytes));
    const EstimateContent content = freshEstimateWith(0, 2, u"Main St\nTown"_s);
    QCOMPARE(EstimateFile::load(path), opens ? std::optional(content) : std::nullopt);
}

void TestEstimateFile::sizeLimit_data()
{
    QTest::addColumn<int>("excess");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("read");
    QTest::newRow("exactly the limit") << 0 << true << true;
    QTest::newRow("line end beyond the limit") << 1 << false << true;
    QTest::newRow("closing quote beyond the limit") << 3 << false << false;
}

// The reader stops at the end of the last field, so only that has to lie within the limit.
void TestEstimateFile::sizeLimit()
{
    QFETCH(int, excess);
    QFETCH(bool, saved);
    QFETCH(bool, read);
    const qsizetype freshSize = EstimateFile::encode(freshEstimate()).size();
    const EstimateContent content =
            freshEstimateWith(36, 7, QString(EstimateFile::MaximumSize + excess - freshSize, u'x'));
    QBuffer buffer;
    buffer.setData(EstimateFile::encode(content));
    QCOMPARE(buffer.size(), EstimateFile::MaximumSize + excess);
    QCOMPARE(EstimateFile::save(m_dir.filePath(u"limit.vrn"_s), content).saved, saved);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(EstimateFile::decode(buffer).has_value(), read);
}

void TestEstimateFile::hugeFile_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<bool>("read");
    QTest::newRow("estimate, then more") << EstimateFile::encode(freshEstimate()) << true;
    QTest::newRow("quote never closed") << QByteArray("\"") << false;
}

void TestEstimateFile::hugeFile()
{
    QFETCH(QByteArray, start);
    QFETCH(bool, read);
    const QTemporaryDir dir;
    QFile file(dir.filePath(u"huge.vrn"_s));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray text = start + QByteArray(2 * EstimateFile::MaximumSize, 'x');
    QCOMPARE(file.write(text), text.size());
    QVERIFY(file.resize(qint64(1) << 30)); // sparse, so quick to make
    QVERIFY(file.seek(0));
    QCOMPARE(EstimateFile::decode(file).has_value(), read);
    QVERIFY(file.pos() <= 2 * EstimateFile::MaximumSize);
}

void TestEstimateFile::failedSave_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("supplierLength");
    QTest::newRow("missing folder") << m_dir.filePath(u"missing/new.vrn"_s) << 0;
    QTest::newRow("path is a folder") << m_dir.filePath(u"folder"_s) << 0;
    QTest::newRow("empty path") << QString() << 0;
    QTest::newRow("too large to open") << m_dir.filePath(u"old.vrn"_s) << int(EstimateFile::MaximumSize);
}

void TestEstimateFile::failedSave()
{
    QFETCH(QString, path);
    QFETCH(int, supplierLength);
    const QMap<QString, QByteArray> before = folderSnapshot();
    const auto result = EstimateFile::save(path, freshEstimateWith(1, 1, QString(supplierLength, u'x')));
    QVERIFY(!result.saved);
    QVERIFY(!result.errorString.isEmpty());
    QCOMPARE(folderSnapshot(), before);
}

void TestEstimateFile::failedSaveIntoReadOnlyFolder()
{
    if (geteuid() == 0)
        QSKIP("permissions do not keep the superuser from writing");
    const QString folder = m_dir.filePath(u"read-only"_s);
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(writeFile(folder + u"/old.vrn"_s, "old estimate"));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const QMap<QString, QByteArray> before = folderSnapshot();
    const auto result = EstimateFile::save(folder + u"/old.vrn"_s, freshEstimate());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!result.saved);
    QVERIFY(!result.errorString.isEmpty());
    QCOMPARE(folderSnapshot(), before);
}

// Every entry below the test folder with its content: a failed save changes none, adds none.
QMap<QString, QByteArray> TestEstimateFile::folderSnapshot() const
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        entries.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "(folder)");
    }
    return entries;
}

QTEST_GUILESS_MAIN(TestEstimateFile)
#include "tst_estimatefile.moc"
