#include "drawcommands.h"

#include "core/document/document.h"
#include "core/history/drawrecording.h"
#include "core/history/drawrequest.h"
#include "core/history/drawsnapshot.h"
#include "core/history/historystep.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "drawquestion.h"
#include "gui/editing/historystepcommand.h"

#include <QAction>
#include <QUndoStack>

DrawCommands::DrawCommands(Document &document, QUndoStack &undoStack, QWidget *owner)
    : QObject(owner)
    , m_document(document)
    , m_undoStack(undoStack)
    , m_owner(owner)
{
}

void DrawCommands::recordCurrentPayments()
{
    EstimateSheet &sheet = m_document.sheet();
    const Grid &grid = sheet.grid();
    const QList<int> rows = CurrentPayments::recordableRows(grid);
    if (rows.isEmpty())
        return;
    const EstimateHistory &history = m_document.history();
    const Cents total = DrawSnapshot::paidIn(DrawSnapshot::linesOf(grid, rows));
    const std::optional<DrawQuestion::Answer> answer = DrawQuestion::ask(
        m_owner, int(history.draws.size()) + 1, MoneyCents::text(total), CurrentPayments::leftOutRows(grid),
        history.draws.isEmpty() ? QDate() : history.draws.last().date);
    if (!answer)
        return;

    const DrawParties parties = DrawRequest::partiesOf(m_document.header());
    HistoryStepCommand::perform(
        m_undoStack, m_document, rows, QStringLiteral("Record Current Payments"), [&](EstimateHistory &edited) {
            CurrentPayments::recordDraw(sheet, edited, rows, answer->date, answer->note, parties);
            return true;
        });
}

void DrawCommands::keepEnabled(QAction *recordCurrentPayments)
{
    const Grid &grid = m_document.sheet().grid();
    const auto enable = [recordCurrentPayments, &grid] {
        recordCurrentPayments->setEnabled(!CurrentPayments::recordableRows(grid).isEmpty());
    };
    connect(&grid, &Grid::cellChanged, recordCurrentPayments, [enable](int, int column) {
        if (column == EstimateSheet::PreviousPaymentColumn || column == EstimateSheet::CurrentPaymentColumn)
            enable();
    });
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
