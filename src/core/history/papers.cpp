#include "papers.h"

#include "core/reasons.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"

#include <QFileInfo>

#include <algorithm>

namespace {
bool isItemRow(int row)
{
    return row >= 1 && row <= EstimateSheet::ItemRowCount;
}

// Whether what the paper belongs to is in the estimate; why not, where it is not.
QString missingSubject(const EstimateHistory &history, const Paper &paper)
{
    switch (paper.subject) {
    case Paper::Subject::DrawLine:
        if (!isItemRow(paper.row))
            return QStringLiteral("A paper of a draw line belongs to one of the rows 1 to %1, not to row %2.")
                .arg(EstimateSheet::ItemRowCount)
                .arg(paper.row);
        [[fallthrough]];
    case Paper::Subject::Draw:
        if (paper.subjectNumber < 1 || paper.subjectNumber > history.nextDrawNumber())
            return QStringLiteral("There is no draw %1: a paper belongs to a recorded draw or the next one.")
                .arg(paper.subjectNumber);
        return {};
    case Paper::Subject::ChangeOrder:
        if (std::none_of(history.changeOrders.begin(), history.changeOrders.end(),
                         [&paper](const ChangeOrder &order) { return order.number == paper.subjectNumber; }))
            return QStringLiteral("There is no change order %1.").arg(paper.subjectNumber);
        return {};
    case Paper::Subject::Payee:
        if (std::none_of(history.payees.begin(), history.payees.end(),
                         [&paper](const Payee &payee) { return payee.number == paper.subjectNumber; }))
            return QStringLiteral("There is no payee %1.").arg(paper.subjectNumber);
        return {};
    }
    return {};
}
}

namespace Papers {

QString kindName(Paper::Kind kind)
{
    switch (kind) {
    case Paper::Kind::Invoice:
        return QStringLiteral("Invoice");
    case Paper::Kind::Receipt:
        return QStringLiteral("Receipt");
    case Paper::Kind::LienWaiver:
        return QStringLiteral("Lien waiver");
    case Paper::Kind::Inspection:
        return QStringLiteral("Inspection report");
    case Paper::Kind::Photo:
        return QStringLiteral("Photo");
    case Paper::Kind::Other:
        return QStringLiteral("Other");
    }
    return {};
}

QList<Paper::Kind> kinds()
{
    return {Paper::Kind::Invoice,    Paper::Kind::Receipt, Paper::Kind::LienWaiver,
            Paper::Kind::Inspection, Paper::Kind::Photo,   Paper::Kind::Other};
}

QString subjectText(const Grid &grid, const EstimateHistory &history, const Paper &paper)
{
    switch (paper.subject) {
    case Paper::Subject::Draw:
        return QStringLiteral("Draw %1").arg(paper.subjectNumber);
    case Paper::Subject::DrawLine:
        return QStringLiteral("Draw %1, %2").arg(paper.subjectNumber).arg(EstimateSheet::rowName(grid, paper.row));
    case Paper::Subject::ChangeOrder:
        return QStringLiteral("Change order %1").arg(paper.subjectNumber);
    case Paper::Subject::Payee:
        for (const Payee &payee : history.payees) {
            if (payee.number == paper.subjectNumber)
                return payee.name;
        }
        return QStringLiteral("Payee %1").arg(paper.subjectNumber);
    }
    return {};
}

int nextNumber(const EstimateHistory &history)
{
    int highest = history.deletedPaperNumber;
    for (const Paper &paper : history.papers)
        highest = std::max(highest, paper.number);
    return highest + 1;
}

const Paper *find(const EstimateHistory &history, int number)
{
    const auto found = std::find_if(history.papers.begin(), history.papers.end(),
                                    [number](const Paper &paper) { return paper.number == number; });
    return found == history.papers.end() ? nullptr : &*found;
}

bool add(EstimateHistory &history, const Paper &paper, QString *errorString)
{
    if (paper.number != nextNumber(history))
        return Reasons::fail(
            errorString,
            QStringLiteral("The next paper is number %1, not %2.").arg(nextNumber(history)).arg(paper.number));
    if (paper.title.trimmed().isEmpty())
        return Reasons::fail(errorString, QStringLiteral("Give the paper a title."));
    if (paper.file.relativePath.isEmpty())
        return Reasons::fail(errorString, QStringLiteral("A paper needs its copy in the documents folder."));
    const QString missing = missingSubject(history, paper);
    if (!missing.isEmpty())
        return Reasons::fail(errorString, missing);
    Paper added = paper;
    if (added.subject != Paper::Subject::DrawLine)
        added.row = 0;
    history.papers.append(added);
    history.deletedPaperNumber = 0;
    return true;
}

bool remove(EstimateHistory &history, int number, QString *errorString)
{
    const Paper *paper = find(history, number);
    if (!paper)
        return Reasons::fail(errorString, QStringLiteral("There is no paper %1.").arg(number));
    const auto signing = std::find_if(history.waivers.begin(), history.waivers.end(),
                                      [number](const LienWaiver &waiver) { return waiver.paper == number; });
    if (signing != history.waivers.end())
        return Reasons::fail(errorString,
                             QStringLiteral("Paper %1 is the signed lien waiver of draw %2: take it off the waiver "
                                            "first.")
                                 .arg(number)
                                 .arg(signing->draw));
    if (number == nextNumber(history) - 1)
        history.deletedPaperNumber = number;
    history.papers.removeIf([number](const Paper &kept) { return kept.number == number; });
    return true;
}

QStringList registerTitles()
{
    return {QStringLiteral("No."),   QStringLiteral("Kind"),       QStringLiteral("Date"), QStringLiteral("Amount"),
            QStringLiteral("Title"), QStringLiteral("Belongs to"), QStringLiteral("File"), QStringLiteral("State")};
}

QStringList registerTexts(const Grid &grid, const EstimateHistory &history, const Paper &paper, const QString &state)
{
    return {QString::number(paper.number),
            kindName(paper.kind),
            paper.date.toString(Qt::ISODate),
            paper.amount ? MoneyCents::text(*paper.amount) : QString(),
            paper.title,
            subjectText(grid, history, paper),
            QFileInfo(paper.file.relativePath).fileName(),
            state};
}

}
