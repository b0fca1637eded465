#include "historysection.h"

#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "filetext.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <span>

namespace {
constexpr int FirstVersion = 1;
constexpr int TextsVersion = 2;
constexpr int VoidVersion = 3;
constexpr int LoanVersion = 4;
constexpr int PayeeVersion = 5;
constexpr int PaperVersion = 6;
constexpr char HeaderName[] = "VARN history";
constexpr char RecordEnd[] = "\r\n";
constexpr int MaximumBasisPoints = 10000;
constexpr qint64 MaximumNumber = std::numeric_limits<int>::max();
// 100 %, in thousandths of a percent.
constexpr qint64 MaximumInterestRate = 100000;
constexpr char DateFormat[] = "yyyy-MM-dd";

// The fields after the tag, in the first version and with the texts of a draw kept.
constexpr int DrawFields = 4;
constexpr int DrawFieldsWithParties = 7;
constexpr int LineFields = 5;
constexpr int LineFieldsWithTexts = 7;
constexpr int ChangeFields = 7;
constexpr int ChangeFieldsWithVoid = 9;
constexpr char DeletedChangeTag[] = "deleted change order";
constexpr int LoanFields = 8;
constexpr int FundingFields = 9;
constexpr int PayeeFields = 8;
constexpr char PayeeRowTag[] = "payee row";
constexpr int PayeeRowFields = 2;
constexpr int ShareFields = 4;
constexpr char DeletedPayeeTag[] = "deleted payee";
constexpr char ApprovedAfterTag[] = "approved after draw";
constexpr char VoidedAfterTag[] = "voided after draw";
constexpr int AfterDrawFields = 2;
constexpr int PaperFields = 11;
constexpr char DeletedPaperTag[] = "deleted paper";
constexpr int WaiverFields = 7;

// Constant arrays rather than lists: a file may be written while the program's globals are
// still being made (a benchmark registering its cases, say), and these must exist by then.
constexpr std::array<const char *, 4> StateNames = {"requested", "submitted", "funded", "returned"};
constexpr std::array<const char *, 2> ShortfallNames = {"carried", "owner"};

constexpr std::array<const char *, 3> StatusNames = {"pending", "approved", "rejected"};
constexpr std::array<const char *, 3> SourceNames = {"loan", "contingency", "owner"};

constexpr std::array<const char *, 6> PaperKindNames = {"invoice",    "receipt", "lien waiver",
                                                        "inspection", "photo",   "other"};
constexpr std::array<const char *, 4> SubjectNames = {"draw", "line", "change order", "payee"};
constexpr std::array<const char *, 4> WaiverKindNames = {"conditional progress", "unconditional progress",
                                                         "conditional final", "unconditional final"};
constexpr std::array<const char *, 2> WaiverStatusNames = {"requested", "received"};

QByteArray quotedName(const char *name)
{
    return '"' + QByteArray(name) + '"';
}

// One record of the section: a line, or more where a quoted text holds line breaks.
struct Record
{
    qsizetype start = 0;
    // Where its line end begins, and where the next record begins.
    qsizetype end = 0;
    qsizetype next = 0;
};

// The record's bytes, without its line end.
QByteArrayView bytesOf(const QByteArray &bytes, const Record &record)
{
    return QByteArrayView(bytes).sliced(record.start, record.end - record.start);
}

QList<Record> recordsOf(const QByteArray &bytes)
{
    QList<Record> records;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        const char byte = bytes.at(at);
        if (byte == '"')
            quoted = !quoted;
        if (quoted || (byte != '\r' && byte != '\n'))
            continue;
        const qsizetype next = byte == '\r' && at + 1 < bytes.size() && bytes.at(at + 1) == '\n' ? at + 2 : at + 1;
        records.append({start, at, next});
        start = next;
        at = next - 1;
    }
    if (start < bytes.size())
        records.append({start, bytes.size(), bytes.size()});
    return records;
}

// Nothing but blanks: the line end of an editor, or the end-of-file mark of an old one.
bool isBlank(QByteArrayView record)
{
    return std::all_of(record.begin(), record.end(),
                       [](char byte) { return byte == ' ' || byte == '\t' || byte == 0x1a; });
}

// A record's fields as VARN writes them: texts in quotes, numbers bare, a comma between
// them and nothing else; each field keeps where the comma after it stands, so that the fields
// after those known can be kept as they are. Nothing for a record written any other way: a
// record this VARN would write differently is not one it wrote, and is kept as it stands.
struct Field
{
    QByteArrayView bytes;
    bool quoted = false;
    qsizetype end = 0;
};

std::optional<QList<Field>> fieldsOf(QByteArrayView record)
{
    QList<Field> fields;
    for (qsizetype at = 0;; ++at) {
        const bool quoted = at < record.size() && record.at(at) == '"';
        const qsizetype start = quoted ? at + 1 : at;
        qsizetype end = start;
        while (end < record.size() && record.at(end) != (quoted ? '"' : ','))
            ++end;
        if (!quoted && record.sliced(start, end - start).contains('"'))
            return std::nullopt;
        at = quoted ? end + 1 : end;
        if (quoted && (end == record.size() || (at < record.size() && record.at(at) != ',')))
            return std::nullopt;
        fields.append({record.sliced(start, end - start), quoted, at});
        if (at >= record.size())
            return fields;
    }
}

// The version this VARN writes a history in: the first, unless it holds what only a later
// one can say.
bool keepsPapers(const EstimateHistory &history)
{
    const bool keepsDraws =
        std::any_of(history.changeOrders.begin(), history.changeOrders.end(), [](const ChangeOrder &change) {
            return change.approvedAfterDraw || (change.voided && change.voided->afterDraw);
        });
    return keepsDraws || history.deletedPayeeNumber != 0 || !history.papers.isEmpty() || history.deletedPaperNumber != 0
        || !history.waivers.isEmpty();
}

int versionFor(const EstimateHistory &history)
{
    if (keepsPapers(history))
        return PaperVersion;
    const bool keepsShares = std::any_of(history.draws.begin(), history.draws.end(), [](const Draw &draw) {
        return std::any_of(draw.lines.begin(), draw.lines.end(),
                           [](const DrawLine &line) { return !line.shares.isEmpty(); });
    });
    if (!history.payees.isEmpty() || keepsShares)
        return PayeeVersion;
    if (history.keepsLenderSide())
        return LoanVersion;
    const bool keepsVoids = history.deletedChangeOrderNumber != 0
        || std::any_of(history.changeOrders.begin(), history.changeOrders.end(),
                       [](const ChangeOrder &change) { return change.voided.has_value(); });
    if (keepsVoids)
        return VoidVersion;
    const bool keepsTexts = std::any_of(history.draws.begin(), history.draws.end(), [](const Draw &draw) {
        return draw.parties
            || std::any_of(draw.lines.begin(), draw.lines.end(), [](const DrawLine &line) { return line.texts; });
    });
    return keepsTexts ? TextsVersion : FirstVersion;
}

int highestChangeNumber(const EstimateHistory &history)
{
    return history.changeOrders.isEmpty() ? 0 : history.changeOrders.last().number;
}

// Writes the records of a section one field at a time, and notes the characters the code
// page cannot hold. A history of hundreds of draws has thousands of records, so they go
// straight into one array; the records of a later VARN go back after the record they
// followed, or at the end where that one is gone.
class SectionWriter
{
public:
    SectionWriter(const EstimateHistory &history, QList<EstimateFile::LostText> &lostTexts)
        : m_history(history)
        , m_lostTexts(lostTexts)
    {
        for (qsizetype index = 0; index < history.later.records.size(); ++index) {
            const LaterRecord &later = history.later.records.at(index);
            m_laterRecords[keyOf(later.after, later.number, later.row, later.payee)].append(index);
        }
    }

    QByteArray section()
    {
        laterRecordsAfter(LaterRecord::After::Header);
        record("retainage").number(m_history.retainageBasisPoints).raw(m_history.later.retainageFields).end();
        laterRecordsAfter(LaterRecord::After::Retainage);
        record("contingency").number(m_history.contingencyRow).raw(m_history.later.contingencyFields).end();
        laterRecordsAfter(LaterRecord::After::Contingency);
        if (m_history.deletedChangeOrderNumber != 0) {
            record(DeletedChangeTag)
                .number(m_history.deletedChangeOrderNumber)
                .raw(m_history.later.deletedChangeFields)
                .end();
            laterRecordsAfter(LaterRecord::After::DeletedChangeOrder);
        }
        if (m_history.loan)
            writeLoan(*m_history.loan);
        for (const Payee &payee : m_history.payees)
            writePayee(payee);
        if (m_history.deletedPayeeNumber != 0)
            writeDeletedNumber(DeletedPayeeTag, m_history.deletedPayeeNumber, m_history.later.deletedPayeeFields,
                               LaterRecord::After::DeletedPayee);
        for (const Draw &draw : m_history.draws)
            writeDraw(draw);
        for (const ChangeOrder &change : m_history.changeOrders)
            writeChange(change);
        for (const Paper &paper : m_history.papers)
            writePaper(paper);
        if (m_history.deletedPaperNumber != 0)
            writeDeletedNumber(DeletedPaperTag, m_history.deletedPaperNumber, m_history.later.deletedPaperFields,
                               LaterRecord::After::DeletedPaper);
        for (const LienWaiver &waiver : m_history.waivers)
            writeWaiver(waiver);
        for (qsizetype index = 0; index < m_history.later.records.size(); ++index) {
            if (!m_written.contains(index))
                laterRecord(index);
        }
        return header() + m_bytes;
    }

private:
    // The record a later one follows; the payee tells a line's shares apart.
    static std::pair<quint64, int> keyOf(LaterRecord::After after, int number, int row, int payee)
    {
        return {quint64(after) << 48 | quint64(quint32(number)) << 8 | quint64(quint8(row)), payee};
    }

    QByteArray header() const
    {
        const LaterSection &later = m_history.later;
        // A file read in an older version than its history now needs is written in the newer.
        const int version = std::max(later.version, versionFor(m_history));
        return quotedName(HeaderName) + ',' + QByteArray::number(version) + ',' + QByteArray::number(m_count)
            + later.headerFields + RecordEnd;
    }

    void writeDraw(const Draw &draw)
    {
        record("draw")
            .number(draw.number)
            .date(draw.date)
            .text(draw.note, QStringLiteral("Draw %1, note").arg(draw.number))
            .number(draw.retainageBasisPoints);
        if (draw.parties) {
            const QString place = QStringLiteral("Draw %1, %2").arg(draw.number);
            text(draw.parties->owner, place.arg(QStringLiteral("owner")));
            text(draw.parties->address, place.arg(QStringLiteral("address")));
            text(draw.parties->builder, place.arg(QStringLiteral("builder")));
        }
        raw(draw.laterFields).end();
        laterRecordsAfter(LaterRecord::After::Draw, draw.number);
        for (const DrawLine &line : draw.lines) {
            record("line")
                .number(line.row)
                .number(line.originalValue)
                .number(line.scheduledValue)
                .number(line.previousPayments)
                .number(line.paid);
            if (line.texts) {
                const QString place = QStringLiteral("Draw %1, row %2, %3").arg(draw.number).arg(line.row);
                text(line.texts->description, place.arg(QStringLiteral("description")));
                text(line.texts->supplier, place.arg(QStringLiteral("supplier")));
            }
            raw(line.laterFields).end();
            laterRecordsAfter(LaterRecord::After::Line, draw.number, line.row);
            for (const PayeeShare &share : line.shares) {
                record("share")
                    .number(draw.number)
                    .number(line.row)
                    .number(share.payee)
                    .number(share.amount)
                    .raw(share.laterFields)
                    .end();
                laterRecordsAfter(LaterRecord::After::Share, draw.number, line.row, share.payee);
            }
        }
        if (draw.funding)
            writeFunding(draw.number, *draw.funding);
    }

    void writeLoan(const Loan &loan)
    {
        record("loan")
            .number(loan.amount)
            .text(loan.lender, QStringLiteral("Loan, lender"))
            .text(loan.loanNumber, QStringLiteral("Loan, loan number"))
            .date(loan.closing)
            .date(loan.maturity)
            .number(loan.interestRateThousandths)
            .number(loan.interestReserve)
            .number(loan.ownerFunds)
            .raw(loan.laterFields)
            .end();
        laterRecordsAfter(LaterRecord::After::Loan);
    }

    void writePayee(const Payee &payee)
    {
        const QString place = QStringLiteral("Payee %1, %2").arg(payee.number);
        record("payee")
            .number(payee.number)
            .text(payee.name, place.arg(QStringLiteral("name")))
            .text(payee.trade, place.arg(QStringLiteral("trade")))
            .text(payee.address, place.arg(QStringLiteral("address")))
            .text(payee.contact, place.arg(QStringLiteral("contact")))
            .date(payee.taxFormReceived)
            .date(payee.insuranceExpires)
            .text(payee.licence, place.arg(QStringLiteral("licence")))
            .raw(payee.laterFields)
            .end();
        laterRecordsAfter(LaterRecord::After::Payee, payee.number);
        for (const PayeeRow &link : payee.rows) {
            record(PayeeRowTag).number(payee.number).number(link.row).raw(link.laterFields).end();
            laterRecordsAfter(LaterRecord::After::PayeeRow, payee.number, link.row);
        }
    }

    void writeFunding(int number, const DrawFunding &funding)
    {
        record("funding")
            .number(number)
            .name(StateNames.at(size_t(funding.state)))
            .date(funding.submitted)
            .date(funding.funded)
            .number(funding.fundedAmount)
            .number(funding.feesWithheld)
            .name(ShortfallNames.at(size_t(funding.shortfall)))
            .date(funding.returned)
            .text(funding.returnReason, QStringLiteral("Draw %1, reason of the return").arg(number))
            .raw(funding.laterFields)
            .end();
        laterRecordsAfter(LaterRecord::After::Funding, number);
    }

    void writeChange(const ChangeOrder &change)
    {
        record("change")
            .number(change.number)
            .date(change.date)
            .number(change.row)
            .text(change.description, QStringLiteral("Change order %1, description").arg(change.number))
            .number(change.amount)
            .name(StatusNames.at(size_t(change.status)))
            .name(SourceNames.at(size_t(change.source)));
        if (change.voided) {
            date(change.voided->date);
            text(change.voided->reason, QStringLiteral("Change order %1, reason of the void").arg(change.number));
        }
        raw(change.laterFields).end();
        laterRecordsAfter(LaterRecord::After::ChangeOrder, change.number);
        if (change.approvedAfterDraw) {
            record(ApprovedAfterTag).number(change.number).number(*change.approvedAfterDraw).end();
            laterRecordsAfter(LaterRecord::After::ApprovedAfterDraw, change.number);
        }
        if (change.voided && change.voided->afterDraw) {
            record(VoidedAfterTag).number(change.number).number(*change.voided->afterDraw).end();
            laterRecordsAfter(LaterRecord::After::VoidedAfterDraw, change.number);
        }
    }

    void writeDeletedNumber(const char *tag, int number, const QByteArray &later, LaterRecord::After after)
    {
        record(tag).number(number).raw(later).end();
        laterRecordsAfter(after);
    }

    void writePaper(const Paper &paper)
    {
        const QString place = QStringLiteral("Paper %1, %2").arg(paper.number);
        record("paper").number(paper.number).name(PaperKindNames.at(size_t(paper.kind))).date(paper.date);
        if (paper.amount)
            number(*paper.amount);
        else
            name({});
        text(paper.title, place.arg(QStringLiteral("title")))
            .name(SubjectNames.at(size_t(paper.subject)))
            .number(paper.subjectNumber)
            .number(paper.row)
            .text(paper.file.relativePath, place.arg(QStringLiteral("file name")))
            .name(paper.file.sha256.toHex())
            .number(paper.file.size)
            .raw(paper.laterFields)
            .end();
        laterRecordsAfter(LaterRecord::After::Paper, paper.number);
    }

    void writeWaiver(const LienWaiver &waiver)
    {
        record("waiver")
            .number(waiver.payee)
            .number(waiver.draw)
            .name(WaiverKindNames.at(size_t(waiver.kind)))
            .number(waiver.amount)
            .date(waiver.through)
            .name(WaiverStatusNames.at(size_t(waiver.status)))
            .number(waiver.paper)
            .raw(waiver.laterFields)
            .end();
        laterRecordsAfter(LaterRecord::After::Waiver, waiver.draw, int(waiver.kind), waiver.payee);
    }

    void laterRecordsAfter(LaterRecord::After after, int number = 0, int row = 0, int payee = 0)
    {
        if (m_laterRecords.isEmpty())
            return;
        for (const qsizetype index : m_laterRecords.value(keyOf(after, number, row, payee)))
            laterRecord(index);
    }

    void laterRecord(qsizetype index)
    {
        if (m_written.contains(index))
            return;
        m_written.insert(index);
        ++m_count;
        m_bytes += m_history.later.records.at(index).bytes;
        end();
    }

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

    SectionWriter &raw(const QByteArray &fields)
    {
        m_bytes += fields;
        return *this;
    }

    void end() { m_bytes += RecordEnd; }

    const EstimateHistory &m_history;
    QList<EstimateFile::LostText> &m_lostTexts;
    QHash<std::pair<quint64, int>, QList<qsizetype>> m_laterRecords;
    QSet<qsizetype> m_written;
    QByteArray m_bytes;
    int m_count = 0;
};

// Reads the records after the header, one record a line, and says what is wrong with the
// first one that cannot be read. A file of a later version may hold more fields in a record,
// and records of other kinds, than this VARN knows: those are kept. In a file of a version
// this VARN writes they are damage, as a misspelt tag is.
class SectionReader
{
public:
    SectionReader(const QByteArray &bytes, const QList<Record> &records, const char *encoding)
        : m_bytes(bytes)
        , m_records(records)
        , m_decoder(encoding)
    {
    }

    // The history, and how many of the records it took, the header included.
    bool read(EstimateHistory &history, qsizetype &recordsRead)
    {
        if (!readHeader(history.later))
            return false;
        m_later = &history.later;
        for (m_record = 1; m_record <= m_count; ++m_record) {
            if (m_record >= m_records.size())
                return cutShort();
            if (!readRecord(history))
                return false;
        }
        const int highest = highestChangeNumber(history);
        if (history.deletedChangeOrderNumber != 0 && history.deletedChangeOrderNumber <= highest) {
            m_error = QStringLiteral("the deleted change order %1 is not above change order %2")
                          .arg(history.deletedChangeOrderNumber)
                          .arg(highest);
            return false;
        }
        if (!deletedNumberAbove(history.deletedPayeeNumber, history.payees, QStringLiteral("payee"))
            || !deletedNumberAbove(history.deletedPaperNumber, history.papers, QStringLiteral("paper")))
            return false;
        recordsRead = m_count + 1;
        // Written again in the version it was read in, when that is not the one it would get.
        if (m_version != versionFor(history))
            history.later.version = m_version;
        return true;
    }

    const QString &error() const { return m_error; }

private:
    // A deleted number is kept only while it is the highest given.
    template <typename Item> bool deletedNumberAbove(int deleted, const QList<Item> &items, const QString &what)
    {
        const int highest = items.isEmpty() ? 0 : items.last().number;
        if (deleted == 0 || deleted > highest)
            return true;
        m_error = QStringLiteral("the deleted %1 %2 is not above %1 %3").arg(what).arg(deleted).arg(highest);
        return false;
    }

    bool isLater() const { return m_version > HistorySection::Version; }

    bool readHeader(LaterSection &later)
    {
        if (!take(0, 2))
            return false;
        qint64 version = 0;
        qint64 count = 0;
        if (!integer(1, QStringLiteral("version"), 1, MaximumNumber, version)
            || !integer(2, QStringLiteral("number of records"), 0, MaximumNumber, count))
            return false;
        m_version = int(version);
        m_count = int(count);
        qint64 oldest = 0;
        if (m_fields.size() > 3 && !integer(3, QStringLiteral("oldest version that may save it"), 1, version, oldest))
            return false;
        if (!isLater() && m_fields.size() > 4)
            return fail(QStringLiteral("its header has more fields than its version has"));
        // A writer may name the oldest saving version in a file of this version too; it is
        // this one or earlier, and goes back as it came.
        later.oldestSavingVersion = int(oldest);
        later.headerFields = laterFields(2);
        if (isLater())
            later.version = m_version;
        return true;
    }

    bool readRecord(EstimateHistory &history)
    {
        if (!take(m_record, 0))
            return false;
        const QByteArrayView tag = m_fields.at(0).quoted ? m_fields.at(0).bytes : QByteArrayView();
        if (tag == "retainage")
            return readSetting(m_hasRetainage, history.retainageBasisPoints, m_later->retainageFields, true);
        if (tag == "contingency")
            return readSetting(m_hasContingency, history.contingencyRow, m_later->contingencyFields, false);
        if (tag == "draw")
            return readDraw(history.draws);
        if (tag == "line")
            return readLine(history.draws);
        if (tag == "change")
            return readChange(history.changeOrders);
        if (tag == DeletedChangeTag && m_version >= VoidVersion)
            return readDeletedNumber(history);
        if (tag == "loan" && m_version >= LoanVersion)
            return readLoan(history);
        if (tag == "funding" && m_version >= LoanVersion)
            return readFunding(history.draws);
        if (tag == "payee" && m_version >= PayeeVersion)
            return readPayee(history);
        if (tag == PayeeRowTag && m_version >= PayeeVersion)
            return readPayeeRow(history.payees);
        if (tag == "share" && m_version >= PayeeVersion)
            return readShare(history);
        if (m_version >= PaperVersion) {
            if (tag == DeletedPayeeTag)
                return readDeletedPayee(history);
            if (tag == ApprovedAfterTag || tag == VoidedAfterTag)
                return readAfterDraw(history.changeOrders, tag == VoidedAfterTag);
            if (tag == "paper")
                return readPaper(history);
            if (tag == DeletedPaperTag)
                return readDeletedPaper(history);
            if (tag == "waiver")
                return readWaiver(history.waivers);
        }
        if (!isLater())
            return fail(QStringLiteral("\"%1\" is not a kind of record this VARN knows").arg(text(tag)));
        m_later->records.append({m_recordBytes.toByteArray(), m_lastKnown, m_lastNumber, m_lastRow, m_lastPayee});
        return true;
    }

    bool readSetting(bool &seen, int &value, QByteArray &later, bool isRetainage)
    {
        if (seen)
            return fail(QStringLiteral("it holds the %1 twice").arg(isRetainage ? "retainage" : "contingency row"));
        seen = true;
        if (!fieldCount(1, 1) || !(isRetainage ? basisPoints(1, value) : row(1, value)))
            return false;
        later = laterFields(1);
        follows(isRetainage ? LaterRecord::After::Retainage : LaterRecord::After::Contingency);
        return true;
    }

    bool readDraw(QList<Draw> &draws)
    {
        if (!fieldCount(DrawFields, m_version >= TextsVersion ? DrawFieldsWithParties : DrawFields))
            return false;
        Draw draw;
        qint64 number = 0;
        if (!integer(1, QStringLiteral("draw number"), 1, MaximumNumber, number) || !date(2, draw.date)
            || !note(3, draw.note) || !basisPoints(4, draw.retainageBasisPoints))
            return false;
        draw.number = int(number);
        if (draw.number != draws.size() + 1)
            return fail(QStringLiteral("draw %1 comes where draw %2 should").arg(draw.number).arg(draws.size() + 1));
        int known = DrawFields;
        if (m_fields.size() > DrawFieldsWithParties) {
            DrawParties parties;
            if (!note(5, parties.owner) || !note(6, parties.address) || !note(7, parties.builder))
                return false;
            draw.parties = parties;
            known = DrawFieldsWithParties;
        }
        draw.laterFields = laterFields(known);
        draws.append(draw);
        follows(LaterRecord::After::Draw, draw.number);
        return true;
    }

    bool readLine(QList<Draw> &draws)
    {
        if (draws.isEmpty())
            return fail(QStringLiteral("a row's line comes before any draw"));
        if (!fieldCount(LineFields, m_version >= TextsVersion ? LineFieldsWithTexts : LineFields))
            return false;
        DrawLine line;
        if (!row(1, line.row) || !amount(2, line.originalValue) || !amount(3, line.scheduledValue)
            || !amount(4, line.previousPayments) || !amount(5, line.paid))
            return false;
        int known = LineFields;
        if (m_fields.size() > LineFieldsWithTexts) {
            RowTexts texts;
            if (!note(6, texts.description) || !note(7, texts.supplier))
                return false;
            line.texts = texts;
            known = LineFieldsWithTexts;
        }
        line.laterFields = laterFields(known);
        Draw &draw = draws.last();
        for (const DrawLine &earlier : std::as_const(draw.lines)) {
            if (earlier.row == line.row)
                return fail(QStringLiteral("row %1 comes twice in draw %2").arg(line.row).arg(draw.number));
        }
        draw.lines.append(line);
        follows(LaterRecord::After::Line, draw.number, line.row);
        return true;
    }

    bool readDeletedNumber(EstimateHistory &history)
    {
        int &value = history.deletedChangeOrderNumber;
        if (value != 0 || !history.changeOrders.isEmpty())
            return fail(QStringLiteral("the deleted change order's number comes %1")
                            .arg(value != 0 ? QStringLiteral("twice") : QStringLiteral("after the change orders")));
        qint64 number = 0;
        if (!fieldCount(1, 1) || !integer(1, QStringLiteral("deleted change order's number"), 1, MaximumNumber, number))
            return false;
        value = int(number);
        m_later->deletedChangeFields = laterFields(1);
        follows(LaterRecord::After::DeletedChangeOrder);
        return true;
    }

    bool readLoan(EstimateHistory &history)
    {
        if (history.loan)
            return fail(QStringLiteral("it holds the loan twice"));
        if (!history.draws.isEmpty() || !history.changeOrders.isEmpty())
            return fail(QStringLiteral("the loan comes after the draws or change orders"));
        if (!history.payees.isEmpty())
            return fail(QStringLiteral("the loan comes after the payees"));
        if (!fieldCount(LoanFields, LoanFields))
            return false;
        Loan loan;
        qint64 rate = 0;
        if (!nonNegativeAmount(1, loan.amount) || !note(2, loan.lender) || !note(3, loan.loanNumber)
            || !date(4, loan.closing) || !date(5, loan.maturity)
            || !integer(6, QStringLiteral("interest rate"), 0, MaximumInterestRate, rate)
            || !nonNegativeAmount(7, loan.interestReserve) || !nonNegativeAmount(8, loan.ownerFunds))
            return false;
        loan.interestRateThousandths = int(rate);
        loan.laterFields = laterFields(LoanFields);
        history.loan = loan;
        follows(LaterRecord::After::Loan);
        return true;
    }

    // A draw's funding follows its lines, before the next draw.
    bool readFunding(QList<Draw> &draws)
    {
        if (!fieldCount(FundingFields, FundingFields))
            return false;
        qint64 number = 0;
        if (!integer(1, QStringLiteral("draw number"), 1, MaximumNumber, number))
            return false;
        if (draws.isEmpty() || draws.last().number != number || draws.last().funding)
            return fail(QStringLiteral("the funding of draw %1 does not follow that draw").arg(number));
        DrawFunding funding;
        int state = 0;
        int shortfall = 0;
        if (!name(2, StateNames, QStringLiteral("state of a draw"), state) || !date(3, funding.submitted)
            || !date(4, funding.funded) || !nonNegativeAmount(5, funding.fundedAmount)
            || !nonNegativeAmount(6, funding.feesWithheld)
            || !name(7, ShortfallNames, QStringLiteral("way of paying a shortfall"), shortfall)
            || !date(8, funding.returned) || !note(9, funding.returnReason))
            return false;
        funding.state = DrawFunding::State(state);
        funding.shortfall = DrawFunding::Shortfall(shortfall);
        if (funding.feesWithheld > funding.fundedAmount)
            return fail(QStringLiteral("the fees of draw %1 are more than it was funded").arg(number));
        funding.laterFields = laterFields(FundingFields);
        draws.last().funding = funding;
        follows(LaterRecord::After::Funding, int(number));
        return true;
    }

    // The payees follow the loan, before the draws whose shares name them.
    bool readPayee(EstimateHistory &history)
    {
        if (!history.draws.isEmpty() || !history.changeOrders.isEmpty())
            return fail(QStringLiteral("a payee comes after the draws or change orders"));
        if (!fieldCount(PayeeFields, PayeeFields))
            return false;
        Payee payee;
        qint64 number = 0;
        if (!integer(1, QStringLiteral("payee number"), 1, MaximumNumber, number) || !note(2, payee.name)
            || !note(3, payee.trade) || !note(4, payee.address) || !note(5, payee.contact)
            || !date(6, payee.taxFormReceived) || !date(7, payee.insuranceExpires) || !note(8, payee.licence))
            return false;
        payee.number = int(number);
        QList<Payee> &payees = history.payees;
        if (!payees.isEmpty() && payee.number == payees.last().number)
            return fail(QStringLiteral("payee %1 comes twice").arg(payee.number));
        if (!payees.isEmpty() && payee.number < payees.last().number)
            return fail(QStringLiteral("payee %1 comes after payee %2").arg(payee.number).arg(payees.last().number));
        payee.laterFields = laterFields(PayeeFields);
        payees.append(payee);
        follows(LaterRecord::After::Payee, payee.number);
        return true;
    }

    // A row's link to a payee follows the payee's record.
    bool readPayeeRow(QList<Payee> &payees)
    {
        if (!fieldCount(PayeeRowFields, PayeeRowFields))
            return false;
        qint64 number = 0;
        PayeeRow link;
        if (!integer(1, QStringLiteral("payee number"), 1, MaximumNumber, number) || !row(2, link.row))
            return false;
        const bool known =
            std::any_of(payees.begin(), payees.end(), [number](const Payee &payee) { return payee.number == number; });
        if (!known)
            return fail(
                QStringLiteral("row %1 is given to payee %2, who is not among the payees").arg(link.row).arg(number));
        if (payees.last().number != number)
            return fail(QStringLiteral("row %1 of payee %2 does not follow that payee").arg(link.row).arg(number));
        Payee &payee = payees.last();
        if (payee.worksOn(link.row))
            return fail(QStringLiteral("row %1 is given to payee %2 twice").arg(link.row).arg(number));
        link.laterFields = laterFields(PayeeRowFields);
        payee.rows.append(link);
        follows(LaterRecord::After::PayeeRow, payee.number, link.row);
        return true;
    }

    // A share of a line's payment follows that line, or the line's other shares.
    bool readShare(EstimateHistory &history)
    {
        if (!fieldCount(ShareFields, ShareFields))
            return false;
        qint64 number = 0;
        int shareRow = 0;
        qint64 payee = 0;
        PayeeShare share;
        if (!integer(1, QStringLiteral("draw number"), 1, MaximumNumber, number) || !row(2, shareRow)
            || !integer(3, QStringLiteral("payee number"), 1, MaximumNumber, payee)
            || !nonNegativeAmount(4, share.amount))
            return false;
        share.payee = int(payee);
        QList<Draw> &draws = history.draws;
        if (draws.isEmpty() || draws.last().number != number)
            return fail(QStringLiteral("the share of draw %1 does not follow that draw's line").arg(number));
        Draw &draw = draws.last();
        if (std::none_of(draw.lines.begin(), draw.lines.end(),
                         [shareRow](const DrawLine &line) { return line.row == shareRow; }))
            return fail(QStringLiteral("draw %1 has no line for row %2 to share").arg(number).arg(shareRow));
        DrawLine &line = draw.lines.last();
        if (line.row != shareRow || m_lastKnown == LaterRecord::After::Funding)
            return fail(
                QStringLiteral("the share of row %1 in draw %2 does not follow its line").arg(shareRow).arg(number));
        if (std::none_of(history.payees.begin(), history.payees.end(),
                         [&share](const Payee &known) { return known.number == share.payee; }))
            return fail(
                QStringLiteral("draw %1 pays payee %2, who is not among the payees").arg(number).arg(share.payee));
        if (std::any_of(line.shares.begin(), line.shares.end(),
                        [&share](const PayeeShare &other) { return other.payee == share.payee; }))
            return fail(QStringLiteral("payee %1 has two shares of row %2 in draw %3")
                            .arg(share.payee)
                            .arg(shareRow)
                            .arg(number));
        share.laterFields = laterFields(ShareFields);
        line.shares.append(share);
        follows(LaterRecord::After::Share, int(number), shareRow, share.payee);
        return true;
    }

    bool readChange(QList<ChangeOrder> &changes)
    {
        if (!fieldCount(ChangeFields, m_version >= VoidVersion ? ChangeFieldsWithVoid : ChangeFields))
            return false;
        ChangeOrder change;
        qint64 number = 0;
        int status = 0;
        int source = 0;
        if (!integer(1, QStringLiteral("change order number"), 1, MaximumNumber, number) || !date(2, change.date)
            || !row(3, change.row) || !note(4, change.description) || !amount(5, change.amount)
            || !name(6, StatusNames, QStringLiteral("status"), status)
            || !name(7, SourceNames, QStringLiteral("source"), source))
            return false;
        change.number = int(number);
        if (!changes.isEmpty() && change.number <= changes.last().number)
            return fail(QStringLiteral("change order %1 comes after change order %2")
                            .arg(change.number)
                            .arg(changes.last().number));
        change.status = ChangeOrder::Status(status);
        change.source = ChangeOrder::Source(source);
        int known = ChangeFields;
        if (m_fields.size() > ChangeFieldsWithVoid) {
            ChangeOrderVoid voided;
            if (!date(8, voided.date) || !note(9, voided.reason))
                return false;
            if (change.status != ChangeOrder::Status::Approved)
                return fail(QStringLiteral("change order %1 is void but was never approved").arg(change.number));
            change.voided = voided;
            known = ChangeFieldsWithVoid;
        }
        change.laterFields = laterFields(known);
        changes.append(change);
        follows(LaterRecord::After::ChangeOrder, change.number);
        return true;
    }

    bool readDeletedPayee(EstimateHistory &history)
    {
        if (!history.draws.isEmpty() || !history.changeOrders.isEmpty())
            return fail(QStringLiteral("the deleted payee's number comes after the draws or change orders"));
        return readDeletedNumber(history.deletedPayeeNumber, m_later->deletedPayeeFields, QStringLiteral("payee"),
                                 LaterRecord::After::DeletedPayee);
    }

    bool readDeletedPaper(EstimateHistory &history)
    {
        if (!history.waivers.isEmpty())
            return fail(QStringLiteral("the deleted paper's number comes after the lien waivers"));
        return readDeletedNumber(history.deletedPaperNumber, m_later->deletedPaperFields, QStringLiteral("paper"),
                                 LaterRecord::After::DeletedPaper);
    }

    bool readDeletedNumber(int &value, QByteArray &later, const QString &what, LaterRecord::After after)
    {
        if (value != 0)
            return fail(QStringLiteral("the deleted %1's number comes twice").arg(what));
        qint64 number = 0;
        if (!fieldCount(1, 1) || !integer(1, QStringLiteral("deleted %1's number").arg(what), 1, MaximumNumber, number))
            return false;
        value = int(number);
        later = laterFields(1);
        follows(after);
        return true;
    }

    // The draw a change order was approved or voided after follows the order's record. A later
    // version's fields there would have nowhere to go back to, so such a record is kept whole,
    // and the order is counted by its dates as before.
    bool readAfterDraw(QList<ChangeOrder> &changes, bool voided)
    {
        if (isLater() && m_fields.size() - 1 > AfterDrawFields) {
            m_later->records.append({m_recordBytes.toByteArray(), m_lastKnown, m_lastNumber, m_lastRow, m_lastPayee});
            return true;
        }
        if (!fieldCount(AfterDrawFields, AfterDrawFields))
            return false;
        qint64 number = 0;
        qint64 draw = 0;
        if (!integer(1, QStringLiteral("change order number"), 1, MaximumNumber, number)
            || !integer(2, QStringLiteral("draw number"), 0, MaximumNumber, draw))
            return false;
        const LaterRecord::After expected =
            voided ? LaterRecord::After::VoidedAfterDraw : LaterRecord::After::ApprovedAfterDraw;
        const bool followsOrder = !changes.isEmpty() && changes.last().number == number
            && (m_lastKnown == LaterRecord::After::ChangeOrder
                || (voided && m_lastKnown == LaterRecord::After::ApprovedAfterDraw));
        if (!followsOrder)
            return fail(QStringLiteral("the draw change order %1 was %2 after does not follow that order")
                            .arg(number)
                            .arg(voided ? "voided" : "approved"));
        ChangeOrder &change = changes.last();
        if (voided && !change.voided)
            return fail(QStringLiteral("change order %1 is not void").arg(number));
        if (!voided && change.status != ChangeOrder::Status::Approved)
            return fail(QStringLiteral("change order %1 is not approved").arg(number));
        (voided ? change.voided->afterDraw : change.approvedAfterDraw) = int(draw);
        follows(expected, change.number);
        return true;
    }

    // The papers follow the change orders, as every draw, line, order and payee they belong to.
    bool readPaper(EstimateHistory &history)
    {
        if (!history.waivers.isEmpty() || history.deletedPaperNumber != 0)
            return fail(QStringLiteral("a paper comes after the lien waivers or the deleted paper's number"));
        if (!fieldCount(PaperFields, PaperFields))
            return false;
        Paper paper;
        qint64 number = 0;
        int kind = 0;
        int subject = 0;
        qint64 subjectNumber = 0;
        qint64 row = 0;
        qint64 size = 0;
        if (!integer(1, QStringLiteral("paper number"), 1, MaximumNumber, number)
            || !name(2, PaperKindNames, QStringLiteral("kind of paper"), kind) || !date(3, paper.date)
            || !optionalAmount(4, paper.amount) || !note(5, paper.title)
            || !name(6, SubjectNames, QStringLiteral("thing a paper belongs to"), subject)
            || !integer(7, QStringLiteral("number of what the paper belongs to"), 1, MaximumNumber, subjectNumber)
            || !integer(8, QStringLiteral("row"), 0, EstimateSheet::ItemRowCount, row)
            || !note(9, paper.file.relativePath) || !sha256(10, paper.file.sha256)
            || !integer(11, QStringLiteral("file size"), 0, std::numeric_limits<qint64>::max(), size))
            return false;
        paper.number = int(number);
        paper.kind = Paper::Kind(kind);
        paper.subject = Paper::Subject(subject);
        paper.subjectNumber = int(subjectNumber);
        paper.row = int(row);
        paper.file.size = size;
        if ((paper.subject == Paper::Subject::DrawLine) != (paper.row != 0))
            return fail(QStringLiteral("paper %1 names a row where it belongs to no draw line, or none where it does")
                            .arg(paper.number));
        if (paper.file.relativePath.isEmpty())
            return fail(QStringLiteral("paper %1 names no file").arg(paper.number));
        QList<Paper> &papers = history.papers;
        if (!papers.isEmpty() && paper.number <= papers.last().number)
            return fail(QStringLiteral("paper %1 comes after paper %2").arg(paper.number).arg(papers.last().number));
        paper.laterFields = laterFields(PaperFields);
        papers.append(paper);
        follows(LaterRecord::After::Paper, paper.number);
        return true;
    }

    bool readWaiver(QList<LienWaiver> &waivers)
    {
        if (!fieldCount(WaiverFields, WaiverFields))
            return false;
        LienWaiver waiver;
        qint64 payee = 0;
        qint64 draw = 0;
        int kind = 0;
        int status = 0;
        qint64 paper = 0;
        if (!integer(1, QStringLiteral("payee number"), 1, MaximumNumber, payee)
            || !integer(2, QStringLiteral("draw number"), 1, MaximumNumber, draw)
            || !name(3, WaiverKindNames, QStringLiteral("kind of lien waiver"), kind)
            || !nonNegativeAmount(4, waiver.amount) || !date(5, waiver.through)
            || !name(6, WaiverStatusNames, QStringLiteral("state of a lien waiver"), status)
            || !integer(7, QStringLiteral("paper number"), 0, MaximumNumber, paper))
            return false;
        waiver.payee = int(payee);
        waiver.draw = int(draw);
        waiver.kind = LienWaiver::Kind(kind);
        waiver.status = LienWaiver::Status(status);
        waiver.paper = int(paper);
        const bool twice = std::any_of(waivers.begin(), waivers.end(), [&waiver](const LienWaiver &other) {
            return other.payee == waiver.payee && other.draw == waiver.draw && other.kind == waiver.kind;
        });
        if (twice)
            return fail(QStringLiteral("payee %1 has two %2 waivers for draw %3")
                            .arg(waiver.payee)
                            .arg(WaiverKindNames.at(size_t(kind)))
                            .arg(waiver.draw));
        waiver.laterFields = laterFields(WaiverFields);
        waivers.append(waiver);
        follows(LaterRecord::After::Waiver, waiver.draw, kind, waiver.payee);
        return true;
    }

    // The record the next one of a later kind follows.
    void follows(LaterRecord::After after, int number = 0, int row = 0, int payee = 0)
    {
        m_lastKnown = after;
        m_lastNumber = number;
        m_lastRow = row;
        m_lastPayee = payee;
    }

    // Splits a record into its fields, and wants at least minimumFields after the tag.
    bool take(qsizetype index, int minimumFields)
    {
        m_recordBytes = bytesOf(m_bytes, m_records.at(index));
        const std::optional<QList<Field>> fields = fieldsOf(m_recordBytes);
        if (!fields)
            return fail(QStringLiteral("it is not written as VARN writes it"));
        m_fields = *fields;
        if (m_fields.size() - 1 < minimumFields)
            return fail(
                QStringLiteral("it has %1 fields where %2 are wanted").arg(m_fields.size()).arg(minimumFields + 1));
        return true;
    }

    // The number of fields after the tag: one of those this VARN knows, or more in a later
    // version's file.
    bool fieldCount(int fewest, int most)
    {
        const int count = int(m_fields.size()) - 1;
        if (count == fewest || count == most || (isLater() && count > fewest))
            return true;
        const QString wanted =
            fewest == most ? QString::number(fewest + 1) : QStringLiteral("%1 or %2").arg(fewest + 1).arg(most + 1);
        return fail(QStringLiteral("it has %1 fields where %2 are wanted").arg(count + 1).arg(wanted));
    }

    // The fields after the known ones, from the comma on, as they stand.
    QByteArray laterFields(int known) const
    {
        if (m_fields.size() <= known + 1)
            return {};
        return m_recordBytes.sliced(m_fields.at(known).end).toByteArray();
    }

    bool cutShort()
    {
        m_error = QStringLiteral("it is cut short: %1 of its %2 records are there").arg(m_record - 1).arg(m_count);
        return false;
    }

    QString text(QByteArrayView bytes) { return FileText::textOf(bytes.toByteArray(), m_decoder); }

    bool integer(int index, const QString &what, qint64 minimum, qint64 maximum, qint64 &value)
    {
        const QByteArrayView bytes = m_fields.at(index).bytes;
        // Digits with an optional minus sign, as the section is written: no blanks, no plus
        // sign, no leading zero.
        const char *end = bytes.constData() + bytes.size();
        const auto read = std::from_chars(bytes.constData(), end, value);
        if (m_fields.at(index).quoted || read.ec != std::errc() || read.ptr != end
            || QByteArray::number(value) != bytes)
            return fail(QStringLiteral("the %1 \"%2\" is not a whole number").arg(what, text(bytes)));
        if (value < minimum || value > maximum)
            return fail(QStringLiteral("%1 %2 is outside %3 to %4").arg(what).arg(value).arg(minimum).arg(maximum));
        return true;
    }

    bool basisPoints(int index, int &value)
    {
        qint64 read = 0;
        if (!integer(index, QStringLiteral("retainage"), 0, MaximumBasisPoints, read))
            return false;
        value = int(read);
        return true;
    }

    bool row(int index, int &value)
    {
        qint64 read = 0;
        if (!integer(index, QStringLiteral("row"), 1, EstimateSheet::ItemRowCount, read))
            return false;
        value = int(read);
        return true;
    }

    bool nonNegativeAmount(int index, Cents &value)
    {
        qint64 read = 0;
        if (!integer(index, QStringLiteral("amount in cents"), 0, MoneyCents::Limit, read))
            return false;
        value = Cents(read);
        return true;
    }

    // An amount, or an empty text where there is none.
    bool optionalAmount(int index, std::optional<Cents> &value)
    {
        if (m_fields.at(index).quoted && m_fields.at(index).bytes.isEmpty()) {
            value.reset();
            return true;
        }
        Cents read = 0;
        if (!amount(index, read))
            return false;
        value = read;
        return true;
    }

    bool sha256(int index, QByteArray &value)
    {
        const QByteArrayView bytes = m_fields.at(index).bytes;
        const bool hex = bytes.size() == 64 && std::all_of(bytes.begin(), bytes.end(), [](char c) {
                             return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                         });
        if (!m_fields.at(index).quoted || !hex)
            return fail(QStringLiteral("\"%1\" is not a SHA-256").arg(text(bytes)));
        value = QByteArray::fromHex(bytes.toByteArray());
        return true;
    }

    bool amount(int index, Cents &value)
    {
        qint64 read = 0;
        if (!integer(index, QStringLiteral("amount in cents"), -MoneyCents::Limit, MoneyCents::Limit, read))
            return false;
        value = Cents(read);
        return true;
    }

    // VARN never writes a control character into a text, so one there means damage; keeping
    // it would change the text at the next save, which can only store it as "?".
    bool note(int index, QString &value)
    {
        value = text(m_fields.at(index).bytes);
        if (!m_fields.at(index).quoted || std::any_of(value.begin(), value.end(), FileText::isControlCharacter))
            return fail(QStringLiteral("it is not text"));
        return true;
    }

    bool date(int index, QDate &value)
    {
        const QByteArrayView bytes = m_fields.at(index).bytes;
        value = QDate::fromString(QString::fromLatin1(bytes), QLatin1String(DateFormat));
        if (m_fields.at(index).quoted
            && (bytes.isEmpty() || value.toString(QLatin1String(DateFormat)).toLatin1() == bytes))
            return true;
        return fail(QStringLiteral("\"%1\" is not a date (year-month-day)").arg(text(bytes)));
    }

    bool name(int index, std::span<const char *const> names, const QString &what, int &found)
    {
        const QByteArrayView bytes = m_fields.at(index).bytes;
        const auto known =
            std::find_if(names.begin(), names.end(), [bytes](const char *name) { return bytes == name; });
        found = m_fields.at(index).quoted && known != names.end() ? int(known - names.begin()) : -1;
        if (found >= 0)
            return true;
        return fail(QStringLiteral("\"%1\" is not a %2 this VARN knows").arg(text(bytes), what));
    }

    bool fail(const QString &reason)
    {
        m_error = m_record > 0 ? QStringLiteral("record %1 of %2: %3").arg(m_record).arg(m_count).arg(reason) : reason;
        return false;
    }

    const QByteArray &m_bytes;
    const QList<Record> &m_records;
    QStringDecoder m_decoder;
    LaterSection *m_later = nullptr;
    QByteArrayView m_recordBytes;
    QList<Field> m_fields;
    int m_version = 0;
    int m_record = 0;
    int m_count = 0;
    bool m_hasRetainage = false;
    bool m_hasContingency = false;
    LaterRecord::After m_lastKnown = LaterRecord::After::Header;
    int m_lastNumber = 0;
    int m_lastRow = 0;
    int m_lastPayee = 0;
    QString m_error;
};

// The bytes of the records from first to last that are not blank, each with its line end.
QByteArray unreadBytes(const QByteArray &bytes, const QList<Record> &records, qsizetype first, qsizetype last)
{
    while (first < last && isBlank(bytesOf(bytes, records.at(first))))
        ++first;
    while (last > first && isBlank(bytesOf(bytes, records.at(last - 1))))
        --last;
    if (first == last)
        return {};
    QByteArray unread = bytes.sliced(records.at(first).start, records.at(last - 1).next - records.at(first).start);
    if (!unread.endsWith('\n') && !unread.endsWith('\r'))
        unread += RecordEnd;
    return unread;
}

qsizetype headerIndex(const QByteArray &bytes, const QList<Record> &records)
{
    const QByteArray header = quotedName(HeaderName);
    for (qsizetype index = 0; index < records.size(); ++index) {
        if (QByteArrayView(bytes).sliced(records.at(index).start).startsWith(header))
            return index;
    }
    return -1;
}

} // namespace

namespace HistorySection {

QByteArray encode(const EstimateHistory &history, QList<EstimateFile::LostText> &lostTexts)
{
    if (history.isEmpty())
        return {};
    return SectionWriter(history, lostTexts).section();
}

Reading read(const QByteArray &rest, const char *encoding)
{
    Reading reading;
    const QList<Record> records = recordsOf(rest);
    const qsizetype header = headerIndex(rest, records);
    if (header < 0) {
        reading.unreadLines = unreadBytes(rest, records, 0, records.size());
        if (!reading.unreadLines.isEmpty())
            reading.error = QStringLiteral("no draw history begins there");
        reading.historyUnread = !reading.unreadLines.isEmpty();
        return reading;
    }
    const QList<Record> sectionRecords = records.mid(header);
    SectionReader section(rest, sectionRecords, encoding);
    qsizetype recordsRead = 0;
    if (!section.read(reading.history, recordsRead)) {
        reading.history = {};
        reading.unreadLines = unreadBytes(rest, records, 0, records.size());
        reading.error = QStringLiteral("its draw history cannot be read: %1").arg(section.error());
        reading.historyUnread = true;
        return reading;
    }
    const QByteArray before = unreadBytes(rest, records, 0, header);
    const QByteArray after = unreadBytes(rest, records, header + recordsRead, records.size());
    // A section of nothing but what an empty history holds is not written again, so among
    // lines that cannot be read it stays where it stood.
    const bool keepsSection = reading.history.isEmpty() && !(before + after).isEmpty();
    reading.unreadLines = keepsSection ? unreadBytes(rest, records, 0, records.size()) : before + after;
    if (!before.isEmpty())
        reading.error = QStringLiteral("they stand between the last row and the draw history");
    else if (!after.isEmpty())
        reading.error = QStringLiteral("they follow the %1 records the draw history counts").arg(recordsRead - 1);
    return reading;
}

int lineCount(const QByteArray &lines)
{
    return int(recordsOf(lines).size());
}

}
