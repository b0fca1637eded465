#pragma once

#include "core/sheet/moneycents.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <algorithm>
#include <optional>

// What an estimate keeps of its past beside the sheet, which shows only where the money
// stands today: the construction loan's draws, each with what every row stood at when it
// was paid, and the change orders that moved the adjusted estimates. It is stored after the
// 38 records of the estimate file, where older readers do not look.
//
// A later VARN may add fields to these records and records of its own to the file; they are
// kept as they were read (laterFields: the raw bytes after the fields this one knows, from
// the comma on) and written back, so that saving here loses nothing of them.

// What a row of the sheet said of itself when a draw recorded it, so that the draw's request
// names the work as it went to the lender, whatever the sheet says later.
struct RowTexts
{
    QString description;
    QString supplier;

    friend bool operator==(const RowTexts &, const RowTexts &) = default;
};

// The parties of a draw's request as it went out.
struct DrawParties
{
    QString owner;
    QString address;
    QString builder;

    friend bool operator==(const DrawParties &, const DrawParties &) = default;
};

// What one payee was paid of a draw line's payment.
struct PayeeShare
{
    int payee = 0;
    Cents amount = 0;
    QByteArray laterFields;

    friend bool operator==(const PayeeShare &, const PayeeShare &) = default;
};

// One item row as a draw found it.
struct DrawLine
{
    int row = 0;
    // The row's "Original Cost Estimate", for the request's original sum and net change.
    Cents originalValue = 0;
    // The adjusted estimate, or the original one where the adjusted one was empty.
    Cents scheduledValue = 0;
    // The row's "Total of Previous Payment" before the draw.
    Cents previousPayments = 0;
    // The row's "Current Amounts to be Paid", paid in this draw.
    Cents paid = 0;
    // Nothing for a draw recorded before the texts were kept with it.
    std::optional<RowTexts> texts;
    QByteArray laterFields;
    // How the payment went to the row's payees; empty where it went whole to the row's first
    // payee, or to nobody named.
    QList<PayeeShare> shares;

    friend bool operator==(const DrawLine &, const DrawLine &) = default;
};

// What became of a draw's request at the lender. A draw is requested when it is recorded;
// the lender may fund less than was asked, and the difference is either asked for again in
// the next request or paid by the owner.
struct DrawFunding
{
    enum class State { Requested, Submitted, Funded, Returned };
    enum class Shortfall { Carried, PaidByOwner };

    State state = State::Requested;
    QDate submitted;
    QDate funded;
    // What the lender funded, its fees and interest withheld included.
    Cents fundedAmount = 0;
    Cents feesWithheld = 0;
    Shortfall shortfall = Shortfall::Carried;
    // The last return, kept when the draw is requested again.
    QDate returned;
    QString returnReason;
    QByteArray laterFields;

    friend bool operator==(const DrawFunding &, const DrawFunding &) = default;
};

// One payment of the construction loan: Edit > Record Current Payments.
struct Draw
{
    int number = 0;
    QDate date;
    QString note;
    // The retainage rate when the draw was recorded, in hundredths of a percent.
    int retainageBasisPoints = 0;
    QList<DrawLine> lines;
    // Nothing for a draw recorded before the parties were kept with it.
    std::optional<DrawParties> parties;
    QByteArray laterFields;
    // Nothing while the draw is only requested and has never been anywhere else.
    std::optional<DrawFunding> funding;

    DrawFunding::State state() const { return funding ? funding->state : DrawFunding::State::Requested; }

    friend bool operator==(const Draw &, const Draw &) = default;
};

// The construction loan the draws are paid from.
struct Loan
{
    // The commitment: what the lender will lend in all.
    Cents amount = 0;
    QString lender;
    QString loanNumber;
    QDate closing;
    QDate maturity;
    // The yearly interest rate in thousandths of a percent (7125 for 7.125 %); zero where
    // none is given.
    int interestRateThousandths = 0;
    // Zero where the loan has none.
    Cents interestReserve = 0;
    // What the owner has set aside beside the loan to finish the house.
    Cents ownerFunds = 0;
    QByteArray laterFields;

    friend bool operator==(const Loan &, const Loan &) = default;
};

// A row a payee works on.
struct PayeeRow
{
    int row = 0;
    QByteArray laterFields;

    friend bool operator==(const PayeeRow &, const PayeeRow &) = default;
};

// A subcontractor or supplier the draws pay. The sheet's own "Subcontractor, Supplier" text
// is the sheet's, and names nobody here.
struct Payee
{
    // Given once and never again, as a change order's number, so that a draw's shares name
    // the same payee for good.
    int number = 0;
    QString name;
    QString trade;
    QString address;
    // A phone number or an e-mail address.
    QString contact;
    // The W-9; null while it has not come.
    QDate taxFormReceived;
    // Null while no certificate of insurance is on file.
    QDate insuranceExpires;
    QString licence;
    // The rows the payee works on. Kept with the payee rather than with the rows, so that no
    // row can name a payee the estimate does not hold, and a row's payees are in the order of
    // the list: its first payee is the one listed first.
    QList<PayeeRow> rows;
    QByteArray laterFields;

    bool worksOn(int row) const
    {
        return std::any_of(rows.begin(), rows.end(), [row](const PayeeRow &link) { return link.row == row; });
    }

    friend bool operator==(const Payee &, const Payee &) = default;
};

// Why and when an approved change order was taken back. The order stays in the register
// with its number, so that the paper it went out on is still accounted for.
struct ChangeOrderVoid
{
    QDate date;
    QString reason;
    // The number of the last draw recorded when the order was voided (zero before the first),
    // so that a request re-printed for a draw recorded before still counts the order, as the
    // request that went out did; nothing where the void was made before this was kept.
    std::optional<int> afterDraw;

    friend bool operator==(const ChangeOrderVoid &, const ChangeOrderVoid &) = default;
};

struct ChangeOrder
{
    enum class Status { Pending, Approved, Rejected };
    // Where the money comes from.
    enum class Source { Loan, Contingency, OwnerCash };

    int number = 0;
    QDate date;
    int row = 0;
    QString description;
    Cents amount = 0;
    Status status = Status::Pending;
    Source source = Source::Loan;
    // Nothing while the order stands. A void order keeps the status it was approved with,
    // so that an older VARN reading the file still finds every field it knows.
    std::optional<ChangeOrderVoid> voided;
    // The number of the last draw recorded when the order was approved (zero before the
    // first): a request re-printed for that draw or an earlier one leaves the order out, even
    // where its date lies in the draw's period. Nothing where the order is not approved, or
    // was approved before this was kept.
    std::optional<int> approvedAfterDraw;
    QByteArray laterFields;

    // Approved and not void: its amount stands in the adjusted estimates.
    bool isInForce() const { return status == Status::Approved && !voided; }

    friend bool operator==(const ChangeOrder &, const ChangeOrder &) = default;
};

// Where an estimate's file refers to a copy of a paper in its documents folder: by the
// path relative to the estimate's own folder, so that the estimate and its folder can be
// moved or backed up together, and by the SHA-256 of its bytes, so that a copy changed since
// is told from the one attached.
struct AttachedFile
{
    QString relativePath;
    QByteArray sha256;
    qint64 size = 0;

    friend bool operator==(const AttachedFile &, const AttachedFile &) = default;
};

// A paper kept with the estimate: an invoice, a receipt, a signed lien waiver, an inspection
// report, a photo of the work. Its bytes are in the documents folder, never in the file.
struct Paper
{
    enum class Kind { Invoice, Receipt, LienWaiver, Inspection, Photo, Other };
    // What the paper belongs to.
    enum class Subject { Draw, DrawLine, ChangeOrder, Payee };

    // Given once and never again, so that a waiver names the same paper for good.
    int number = 0;
    Kind kind = Kind::Invoice;
    QDate date;
    // What an invoice or a receipt is for; nothing for a paper without an amount.
    std::optional<Cents> amount;
    QString title;
    Subject subject = Subject::Draw;
    // The draw, change order or payee; for a draw line, the draw.
    int subjectNumber = 0;
    // The row of a draw line; zero otherwise.
    int row = 0;
    AttachedFile file;
    QByteArray laterFields;

    friend bool operator==(const Paper &, const Paper &) = default;
};

// A payee's lien waiver for a draw: what the lender wants before, or after, it pays.
struct LienWaiver
{
    enum class Kind { ConditionalProgress, UnconditionalProgress, ConditionalFinal, UnconditionalFinal };
    enum class Status { Requested, Received };

    int payee = 0;
    int draw = 0;
    Kind kind = Kind::ConditionalProgress;
    Cents amount = 0;
    // The day the waiver covers the work through.
    QDate through;
    Status status = Status::Requested;
    // The number of the signed paper; zero while none is attached.
    int paper = 0;
    QByteArray laterFields;

    bool isConditional() const { return kind == Kind::ConditionalProgress || kind == Kind::ConditionalFinal; }
    bool isFinal() const { return kind == Kind::ConditionalFinal || kind == Kind::UnconditionalFinal; }

    friend bool operator==(const LienWaiver &, const LienWaiver &) = default;
};

// A record of a kind a later VARN wrote, kept where it stood: after the record of this
// one's kinds that it followed in the file.
struct LaterRecord
{
    enum class After {
        Header,
        Retainage,
        Contingency,
        Draw,
        Line,
        ChangeOrder,
        DeletedChangeOrder,
        Loan,
        Funding,
        Payee,
        PayeeRow,
        Share,
        ApprovedAfterDraw,
        VoidedAfterDraw,
        DeletedPayee,
        Paper,
        DeletedPaper,
        Waiver
    };

    QByteArray bytes;
    After after = After::Header;
    // The draw, change order, payee or paper it follows, the row of the draw's line or the
    // payee's (the kind of a waiver), and the payee of a line's share or of a waiver.
    int number = 0;
    int row = 0;
    int payee = 0;

    friend bool operator==(const LaterRecord &, const LaterRecord &) = default;
};

// What a later VARN's history section holds beyond what this one reads.
struct LaterSection
{
    // The section version the file was written in, when not the one this VARN would write
    // the history in (a later one, or version 2 of a history without texts); zero otherwise.
    int version = 0;
    // The oldest section version that may save over the file, from the header; zero where
    // the header does not say, and every version may.
    int oldestSavingVersion = 0;
    // The header's fields after the number of records, from the comma on.
    QByteArray headerFields;
    QByteArray retainageFields;
    QByteArray contingencyFields;
    QByteArray deletedChangeFields;
    QByteArray deletedPayeeFields;
    QByteArray deletedPaperFields;
    QList<LaterRecord> records;

    friend bool operator==(const LaterSection &, const LaterSection &) = default;
};

struct EstimateHistory
{
    // "Misc.", whose advice is to allow 5 % of the total.
    static constexpr int DefaultContingencyRow = 29;

    int retainageBasisPoints = 0;
    int contingencyRow = DefaultContingencyRow;
    QList<Draw> draws;
    QList<ChangeOrder> changeOrders;
    // The number of the last order deleted while it was the highest one given, so that no
    // number is given twice; zero once the register holds a higher one.
    int deletedChangeOrderNumber = 0;
    std::optional<Loan> loan;
    QList<Payee> payees;
    // As deletedChangeOrderNumber, for payees and for papers.
    int deletedPayeeNumber = 0;
    QList<Paper> papers;
    int deletedPaperNumber = 0;
    QList<LienWaiver> waivers;
    LaterSection later;

    // A loan recorded, or a draw's funding: the lender's side of the draws is kept.
    bool keepsLenderSide() const
    {
        return loan || std::any_of(draws.begin(), draws.end(), [](const Draw &draw) { return draw.funding; });
    }

    // The number the next request's draw is recorded with: the draws are numbered from 1 on.
    int nextDrawNumber() const { return int(draws.size()) + 1; }

    // Nothing to keep: the file is the 38 records alone, as it was before there was a history.
    bool isEmpty() const { return *this == EstimateHistory{}; }

    friend bool operator==(const EstimateHistory &, const EstimateHistory &) = default;
};
