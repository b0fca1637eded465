#include "drawcommands.h"

#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/history/drawrecording.h"
#include "core/history/drawrequest.h"
#include "core/history/drawsnapshot.h"
#include "core/history/historystep.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "drawcorrectiondialog.h"
#include "drawquestion.h"
#include "fundingdialog.h"
#include "gui/editing/historystepcommand.h"
#include "loandialog.h"

#include <QAction>
#include <QUndoStack>

namespace {
// The bytes of the estimate's file were the draw recorded: the draw added to the history and
// each of its rows' current amount folded into the previous payment, as recording does.
qint64 fileSizeWithDraw(const Document &document, const QList<int> &rows, const QDate &date, const QString &note)
{
    EstimateContent content = document.content();
    content.history.draws.append(CurrentPayments::nextDraw(document.sheet().grid(), content.history, rows, date, note,
                                                           DrawRequest::partiesOf(document.header())));
    for (const int row : rows) {
        auto &cells = content.cells[row - 1];
        QString &previous = cells[EstimateSheet::PreviousPaymentColumn - 1];
        QString &current = cells[EstimateSheet::CurrentPaymentColumn - 1];
        previous = MoneyCents::text(MoneyCents::fromText(previous) + MoneyCents::fromText(current));
        current.clear();
    }
    return EstimateFile::encode(content).size();
}

QString tooLargeText(int drawNumber, qint64 size)
{
    return QStringLiteral("Draw %1 is not recorded: with it the estimate's file would take %L2 bytes, more than "
                          "the 1 MiB an estimate file can hold, and it could neither be saved nor opened again.\n\n"
                          "The estimate keeps every draw so far and saves as it is. To record the draws to come, "
                          "save it, then carry on in a new estimate: copy the sheet, paste it into File > New and "
                          "save that under another name.")
        .arg(drawNumber)
        .arg(size);
}
}

DrawCommands::DrawCommands(Document &document, QUndoStack &undoStack, MessageBoxes &messages, QWidget *owner)
    : QObject(owner)
    , m_document(document)
    , m_undoStack(undoStack)
    , m_messages(messages)
    , m_owner(owner)
{
    connect(&document, &Document::estimateReplaced, this, [this] { m_nextRequestDate = QDate(); });
}

QDate DrawCommands::nextRequestDate() const
{
    return DrawRequest::nextDate(m_document.history(),
                                 m_nextRequestDate.isValid() ? m_nextRequestDate : QDate::currentDate());
}

void DrawCommands::setNextRequestDate(const QDate &date)
{
    m_nextRequestDate = date;
}

void DrawCommands::recordCurrentPayments()
{
    EstimateSheet &sheet = m_document.sheet();
    const Grid &grid = sheet.grid();
    if (!CurrentPayments::holdsPayment(grid))
        return;
    const QList<int> rows = CurrentPayments::recordableRows(grid);
    // Asked first, the user would answer for nothing; the note they type may still be the
    // bytes too many.
    if (!fitsInFile(rows, nextRequestDate(), QString()))
        return;
    const EstimateHistory &history = m_document.history();
    const Cents total = DrawSnapshot::paidIn(DrawSnapshot::linesOf(grid, rows));
    const std::optional<DrawQuestion::Answer> answer = DrawQuestion::ask(
        m_owner, history.nextDrawNumber(),
        QStringLiteral("Add the current amounts, %1 in all, to the previous payments?").arg(MoneyCents::text(total)),
        CurrentPayments::leftOutRows(grid), history.draws.isEmpty() ? QDate() : history.draws.last().date,
        nextRequestDate());
    if (!answer || !fitsInFile(rows, answer->date, answer->note))
        return;

    const DrawParties parties = DrawRequest::partiesOf(m_document.header());
    HistoryStepCommand::perform(
        m_undoStack, m_document, rows, QStringLiteral("Record Current Payments"), [&](EstimateHistory &edited) {
            CurrentPayments::recordDraw(sheet, edited, rows, answer->date, answer->note, parties);
            return true;
        });
    m_nextRequestDate = QDate();
}

void DrawCommands::releaseRetainage()
{
    const EstimateHistory &history = m_document.history();
    const Cents held = DrawRequest::retainageHeld(m_document.sheet().grid(), m_document.header(), history);
    if (held <= 0 || !fitsInFile({}, nextRequestDate(), QString()))
        return;
    const std::optional<DrawQuestion::Answer> answer = DrawQuestion::ask(
        m_owner, history.nextDrawNumber(),
        QStringLiteral("Release the retainage the lender holds, %1, and hold none on the draws to come?")
            .arg(MoneyCents::text(held)),
        {}, history.draws.last().date, nextRequestDate());
    if (!answer || !fitsInFile({}, answer->date, answer->note))
        return;

    EstimateSheet &sheet = m_document.sheet();
    const DrawParties parties = DrawRequest::partiesOf(m_document.header());
    HistoryStepCommand::perform(m_undoStack, m_document, {}, QStringLiteral("Release Retainage"),
                                [&](EstimateHistory &edited) {
                                    edited.retainageBasisPoints = 0;
                                    CurrentPayments::recordDraw(sheet, edited, {}, answer->date, answer->note, parties);
                                    return true;
                                });
    m_nextRequestDate = QDate();
}

bool DrawCommands::fitsInFile(const QList<int> &rows, const QDate &date, const QString &note)
{
    const qint64 size = fileSizeWithDraw(m_document, rows, date, note);
    if (size <= EstimateFile::MaximumSize)
        return true;
    m_messages.showWarning(tooLargeText(m_document.history().nextDrawNumber(), size),
                           QStringLiteral("Record Current Payments"));
    return false;
}

void DrawCommands::keepEnabled(QAction *recordCurrentPayments)
{
    const Grid &grid = m_document.sheet().grid();
    const auto enable = [recordCurrentPayments, &grid] {
        recordCurrentPayments->setEnabled(CurrentPayments::holdsPayment(grid));
    };
    connect(&grid, &Grid::cellChanged, recordCurrentPayments, [enable](int, int column) {
        if (column == EstimateSheet::PreviousPaymentColumn || column == EstimateSheet::CurrentPaymentColumn)
            enable();
    });
    enable();
}

void DrawCommands::keepReleaseEnabled(QAction *releaseRetainage)
{
    const auto enable = [this, releaseRetainage] {
        releaseRetainage->setEnabled(
            DrawRequest::retainageHeld(m_document.sheet().grid(), m_document.header(), m_document.history()) > 0);
    };
    connect(&m_document, &Document::historyChanged, releaseRetainage, enable);
    enable();
}

void DrawCommands::setRetainage(int basisPoints)
{
    HistoryStepCommand::perform(m_undoStack, m_document, {}, QStringLiteral("Retainage"),
                                [basisPoints](EstimateHistory &history) {
                                    history.retainageBasisPoints = basisPoints;
                                    return true;
                                });
}

void DrawCommands::moveDraw(int number, DrawFunding::State state)
{
    const EstimateHistory &history = m_document.history();
    if (number < 1 || number > history.draws.size())
        return;
    const DrawFunding funding = history.draws.at(number - 1).funding.value_or(DrawFunding{});
    std::optional<DrawFunding> moved = funding;
    moved->state = state;
    if (state != DrawFunding::State::Requested) {
        const Cents requested =
            DrawRequest::recorded(m_document.sheet().grid(), m_document.header(), history, number)->currentPaymentDue();
        moved = FundingDialog::ask(m_owner, number, requested, funding, state);
        if (!moved)
            return;
    }
    const QString caption = state == DrawFunding::State::Requested ? QStringLiteral("Draw %1 Requested Again")
                                                                   : QStringLiteral("Draw %1 State");
    HistoryStepCommand::perform(m_undoStack, m_document, {}, caption.arg(number), [&](EstimateHistory &edited) {
        edited.draws[number - 1].funding = *moved;
        return true;
    });
}

void DrawCommands::editLoan()
{
    const std::optional<std::optional<Loan>> loan = LoanDialog::ask(m_owner, m_document.history().loan);
    if (!loan)
        return;
    HistoryStepCommand::perform(m_undoStack, m_document, {}, QStringLiteral("Construction Loan"),
                                [&](EstimateHistory &edited) {
                                    edited.loan = *loan;
                                    return true;
                                });
}

void DrawCommands::correctDraw(int number)
{
    const EstimateHistory &history = m_document.history();
    if (number < 1 || number > history.draws.size())
        return;
    const std::optional<DrawQuestion::Answer> answer = DrawCorrectionDialog::ask(m_owner, history, number);
    const Draw &draw = history.draws.at(number - 1);
    if (!answer || (answer->date == draw.date && answer->note == draw.note))
        return;
    const auto correct = [&](EstimateHistory &edited) {
        edited.draws[number - 1].date = answer->date;
        edited.draws[number - 1].note = answer->note;
        return true;
    };
    EstimateContent corrected = m_document.content();
    correct(corrected.history);
    if (const qint64 size = EstimateFile::encode(corrected).size(); size > EstimateFile::MaximumSize) {
        m_messages.showWarning(QStringLiteral("The note of draw %1 is not changed: with it the estimate's file would "
                                              "take %L2 bytes, more than the 1 MiB an estimate file can hold.")
                                   .arg(number)
                                   .arg(size),
                               QStringLiteral("Draw %1 Date and Note").arg(number));
        return;
    }
    HistoryStepCommand::perform(m_undoStack, m_document, {}, QStringLiteral("Draw %1 Date and Note").arg(number),
                                correct);
}
