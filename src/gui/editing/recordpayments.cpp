#include "recordpayments.h"

#include "core/document/document.h"
#include "core/document/messageboxes.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/money.h"
#include "edithistory.h"
#include "report/productinfo.h"

namespace RecordPayments {

bool isPossible(const Document &document)
{
    return !CurrentPayments::recordableRows(document.sheet().grid()).isEmpty();
}

void run(Document &document, EditHistory &history, MessageBoxes &messages)
{
    EstimateSheet &sheet = document.sheet();
    const QList<int> rows = CurrentPayments::recordableRows(sheet.grid());
    if (rows.isEmpty())
        return;
    const QString total = Money::moneyText(CurrentPayments::total(sheet.grid(), rows));
    const QString question = QStringLiteral("Add the current amounts, %1 in all, to the previous payments?").arg(total);
    if (messages.askYesNo(question, ProductInfo::applicationTitle()) != MessageBoxes::Yes)
        return;
    history.beginRowsChange(rows);
    CurrentPayments::record(sheet, rows);
    history.endRowsChange(EstimateSheet::PreviousPaymentColumn, QStringLiteral("Record Current Payments"));
    document.markChanged();
}

}
