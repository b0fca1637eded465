#include "historysection.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "fieldreader.h"
#include "filetext.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <limits>

namespace {
constexpr int Version = 1;
constexpr char HeaderName[] = "VARN history";
constexpr char RecordEnd[] = "\r\n";
constexpr int MaximumBasisPoints = 10000;
constexpr qint64 MaximumNumber = std::numeric_limits<int>::max();
constexpr char DateFormat[] = "yyyy-MM-dd";

const QList<QByteArray> StatusNames = {"pending", "approved", "rejected"};
const QList<QByteArray> SourceNames = {"loan", "contingency", "owner"};

QByteArray quotedName(const char *name)
{
    return '"' + QByteArray(name) + '"';
}

// Writes the records of a section one field at a time, and notes the characters the code
// page cannot hold. A history of hundreds of draws has thousands of records, so they go
// straight into one array.
class SectionWriter
{
public:
    explicit SectionWriter(QList<EstimateFile::LostText> &lostTexts)
        : m_lostTexts(lostTexts)
    {
    }

    // The section's records, without the header that counts them.
    QByteArray records(const EstimateHistory &history)
    {
        record("retainage").number(history.retainageBasisPoints).end();
        record("contingency").number(history.contingencyRow).end();
        for (const Draw &draw : history.draws) {
            record("draw")
                .number(draw.number)
                .date(draw.date)
                .text(draw.note, QStringLiteral("Draw %1, note").arg(draw.number))
                .number(draw.retainageBasisPoints)
                .end();
            for (const DrawLine &line : draw.lines)
                record("line")
                    .number(line.row)
                    .number(line.originalValue)
                    .number(line.scheduledValue)
                    .number(line.previousPayments)
                    .number(line.paid)
                    .end();
        }
        for (const ChangeOrder &change : history.changeOrders)
            record("change")
                .number(change.number)
                .date(change.date)
                .number(change.row)
                .text(change.description, QStringLiteral("Change order %1, description").arg(change.number))
                .number(change.amount)
                .name(StatusNames.at(int(change.status)))
                .name(SourceNames.at(int(change.source)))
                .end();
        return m_bytes;
    }

    int count() const { return m_count; }

private:
    SectionWriter &record(const char *tag)
    {
        ++m_count;
        m_bytes += '"';
        m_bytes += tag;
        m_bytes += '"';
        return *this;
    }

    SectionWriter &number(qint64 value)
    {
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, value);
        m_bytes += ',';
        m_bytes.append(digits, written.ptr - digits);
        return *this;
    }

    SectionWriter &name(const QByteArray &name)
    {
        m_bytes += ",\"" + name + '"';
        return *this;
    }

    SectionWriter &date(const QDate &date) { return name(date.toString(QLatin1String(DateFormat)).toLatin1()); }

    SectionWriter &text(const QString &text, const QString &place)
    {
        const FileText::QuotedField field = FileText::quoted(text);
        if (!field.lostCharacters.isEmpty())
            m_lostTexts.append({0, 0, field.lostCharacters, place});
        m_bytes += ',' + field.bytes;
        return *this;
    }

    void end() { m_bytes += RecordEnd; }

    QList<EstimateFile::LostText> &m_lostTexts;
    QByteArray m_bytes;
    int m_count = 0;
};

// Reads the records after the header, one field at a time, and says what is wrong with
// the first one that cannot be read.
class SectionReader
{
public:
    SectionReader(FieldReader &reader, const char *encoding)
        : m_reader(reader)
        , m_decoder(encoding)
    {
    }

    bool read(EstimateHistory &history)
    {
        if (!field() || !readHeader())
            return false;
        for (m_record = 1; m_record <= m_count; ++m_record) {
            if (!readRecord(history))
                return false;
        }
        return true;
    }

    const QString &error() const { return m_error; }

private:
    bool readHeader()
    {
        qint64 version = 0;
        qint64 count = 0;
        if (!integer(QStringLiteral("version"), 1, MaximumNumber, version))
            return false;
        if (version != Version)
            return fail(QStringLiteral("it was written by a later VARN (history version %1; this one reads version %2)")
                            .arg(version)
                            .arg(Version));
        if (!integer(QStringLiteral("number of records"), 0, MaximumNumber, count))
            return false;
        m_count = int(count);
        return true;
    }

    bool readRecord(EstimateHistory &history)
    {
        const std::optional<QByteArray> tag = field();
        if (!tag)
            return false;
        if (*tag == "retainage")
            return basisPoints(history.retainageBasisPoints);
        if (*tag == "contingency")
            return row(history.contingencyRow);
        if (*tag == "draw")
            return readDraw(history.draws);
        if (*tag == "line")
            return readLine(history.draws);
        if (*tag == "change")
            return readChange(history.changeOrders);
        return fail(QStringLiteral("\"%1\" is not a kind of record this VARN knows").arg(text(*tag)));
    }

    bool readDraw(QList<Draw> &draws)
    {
        Draw draw;
        qint64 number = 0;
        if (!integer(QStringLiteral("draw number"), 1, MaximumNumber, number) || !date(draw.date) || !note(draw.note)
            || !basisPoints(draw.retainageBasisPoints))
            return false;
        draw.number = int(number);
        if (draw.number != draws.size() + 1)
            return fail(QStringLiteral("draw %1 comes where draw %2 should").arg(draw.number).arg(draws.size() + 1));
        draws.append(draw);
        return true;
    }

    bool readLine(QList<Draw> &draws)
    {
        if (draws.isEmpty())
            return fail(QStringLiteral("a row's line comes before any draw"));
        DrawLine line;
        if (!row(line.row) || !amount(line.originalValue) || !amount(line.scheduledValue)
            || !amount(line.previousPayments) || !amount(line.paid))
            return false;
        Draw &draw = draws.last();
        for (const DrawLine &earlier : std::as_const(draw.lines)) {
            if (earlier.row == line.row)
                return fail(QStringLiteral("row %1 comes twice in draw %2").arg(line.row).arg(draw.number));
        }
        draw.lines.append(line);
        return true;
    }

    bool readChange(QList<ChangeOrder> &changes)
    {
        ChangeOrder change;
        qint64 number = 0;
        int status = 0;
        int source = 0;
        if (!integer(QStringLiteral("change order number"), 1, MaximumNumber, number) || !date(change.date)
            || !row(change.row) || !note(change.description) || !amount(change.amount)
            || !name(StatusNames, QStringLiteral("status"), status)
            || !name(SourceNames, QStringLiteral("source"), source))
            return false;
        change.number = int(number);
        if (!changes.isEmpty() && change.number <= changes.last().number)
            return fail(QStringLiteral("change order %1 comes after change order %2")
                            .arg(change.number)
                            .arg(changes.last().number));
        change.status = ChangeOrder::Status(status);
        change.source = ChangeOrder::Source(source);
        changes.append(change);
        return true;
    }

    std::optional<QByteArray> field()
    {
        std::optional<QByteArray> bytes = m_reader.nextField();
        if (bytes)
            return bytes;
        if (m_reader.isTooLarge())
            fail(QStringLiteral("the file is larger than %1 MiB").arg(EstimateFile::MaximumSize / (1024 * 1024)));
        else if (!m_reader.isAcceptable())
            fail(QStringLiteral("it is not text"));
        else if (m_record == 0)
            m_error = QStringLiteral("it is cut short in its first record");
        else
            m_error = QStringLiteral("it is cut short: %1 of its %2 records are there").arg(m_record - 1).arg(m_count);
        return std::nullopt;
    }

    QString text(const QByteArray &bytes) { return FileText::textOf(bytes, m_decoder); }

    bool integer(const QString &what, qint64 minimum, qint64 maximum, qint64 &value)
    {
        const std::optional<QByteArray> bytes = field();
        if (!bytes)
            return false;
        // Digits with an optional minus sign, as the section is written: no blanks, no plus sign.
        const char *end = bytes->constData() + bytes->size();
        const auto read = std::from_chars(bytes->constData(), end, value);
        if (read.ec != std::errc() || read.ptr != end)
            return fail(QStringLiteral("the %1 \"%2\" is not a whole number").arg(what, text(*bytes)));
        if (value < minimum || value > maximum)
            return fail(QStringLiteral("%1 %2 is outside %3 to %4").arg(what).arg(value).arg(minimum).arg(maximum));
        return true;
    }

    bool basisPoints(int &value)
    {
        qint64 read = 0;
        if (!integer(QStringLiteral("retainage"), 0, MaximumBasisPoints, read))
            return false;
        value = int(read);
        return true;
    }

    bool row(int &value)
    {
        qint64 read = 0;
        if (!integer(QStringLiteral("row"), 1, EstimateSheet::ItemRowCount, read))
            return false;
        value = int(read);
        return true;
    }

    bool amount(Cents &value)
    {
        qint64 read = 0;
        if (!integer(QStringLiteral("amount in cents"), -MoneyCents::Limit, MoneyCents::Limit, read))
            return false;
        value = Cents(read);
        return true;
    }

    // VARN never writes a control character into a note, so one there means damage; keeping
    // it would change the note at the next save, which can only store it as "?".
    bool note(QString &value)
    {
        const std::optional<QByteArray> bytes = field();
        if (!bytes)
            return false;
        value = text(*bytes);
        if (std::any_of(value.begin(), value.end(), FileText::isControlCharacter))
            return fail(QStringLiteral("it is not text"));
        return true;
    }

    bool date(QDate &value)
    {
        const std::optional<QByteArray> bytes = field();
        if (!bytes)
            return false;
        value = QDate::fromString(QString::fromLatin1(*bytes), QLatin1String(DateFormat));
        if (value.isValid() || bytes->isEmpty())
            return true;
        return fail(QStringLiteral("\"%1\" is not a date (year-month-day)").arg(text(*bytes)));
    }

    bool name(const QList<QByteArray> &names, const QString &what, int &index)
    {
        const std::optional<QByteArray> bytes = field();
        if (!bytes)
            return false;
        index = int(names.indexOf(*bytes));
        if (index >= 0)
            return true;
        return fail(QStringLiteral("\"%1\" is not a %2 this VARN knows").arg(text(*bytes), what));
    }

    bool fail(const QString &reason)
    {
        m_error = m_record > 0 ? QStringLiteral("record %1 of %2: %3").arg(m_record).arg(m_count).arg(reason) : reason;
        return false;
    }

    FieldReader &m_reader;
    QStringDecoder m_decoder;
    int m_record = 0;
    int m_count = 0;
    QString m_error;
};
}

namespace HistorySection {

QByteArray encode(const EstimateHistory &history, QList<EstimateFile::LostText> &lostTexts)
{
    if (history.isEmpty())
        return {};
    SectionWriter writer(lostTexts);
    const QByteArray records = writer.records(history);
    return quotedName(HeaderName) + ',' + QByteArray::number(Version) + ',' + QByteArray::number(writer.count())
        + RecordEnd + records;
}

bool read(FieldReader &reader, const char *encoding, EstimateHistory &history, bool *displaced, QString *errorString)
{
    // A blank line or a stray field before it must not make a history vanish unsaid.
    const std::optional<QByteArray> passed = reader.skipToLineStartingWith(quotedName(HeaderName));
    if (!passed)
        return true;
    *displaced = !passed->trimmed().isEmpty();
    EstimateHistory read;
    SectionReader section(reader, encoding);
    if (!section.read(read)) {
        if (errorString)
            *errorString = section.error();
        return false;
    }
    history = read;
    return true;
}

}
