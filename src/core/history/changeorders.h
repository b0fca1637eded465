#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>
#include <QStringList>

class EstimateSheet;
class Grid;

// The change orders' arithmetic: the register is the history of how the "Adjusted Cost
// Estimate" column moved, so an approved order's amount stands in its row's adjusted
// estimate, and one funded from the contingency has left the contingency row's. Every
// operation keeps that true, moving the sheet's texts by whole cents and recalculating as
// an edit does; the adjusted estimate stays an ordinary cell that the user may still edit.
namespace ChangeOrders {
QString statusName(ChangeOrder::Status status);
QString sourceName(ChangeOrder::Source source);
// The order's status as the register shows it: a void order says so, when and why.
QString statusText(const ChangeOrder &order);

// The register's columns, and an order's texts in them as the register shows it.
QStringList registerTitles();
QStringList registerTexts(const Grid &grid, const ChangeOrder &order);

// One past the highest number ever given: a void order keeps its number, and a deleted one's
// is not given again.
int nextNumber(const EstimateHistory &history);
// The order with this number, or null.
const ChangeOrder *find(const EstimateHistory &history, int number);

// Puts order into the register in place of the one with its number, or adds it, and
// moves the adjusted estimates by what changes: the stored order's amount taken back out
// where it was approved, the new one's added where it is. Nothing changes when a cell to be
// moved holds a note rather than an amount. A void order stays as it was voided.
bool put(EstimateSheet &sheet, EstimateHistory &history, const ChangeOrder &order, QString *errorString = nullptr);
bool setStatus(EstimateSheet &sheet, EstimateHistory &history, int number, ChangeOrder::Status status,
               QString *errorString = nullptr);
// Marks an approved order void and takes its amount back out of the adjusted estimates; the
// order stays in the register with its number.
bool voidOrder(EstimateSheet &sheet, EstimateHistory &history, int number, const ChangeOrderVoid &voided,
               QString *errorString = nullptr);
// Takes a pending order out of the register, which moves nothing; any other is kept, and an
// approved one is voided instead.
bool remove(EstimateHistory &history, int number, QString *errorString = nullptr);

// What the contingency row has left: its adjusted estimate less what is paid on it, this
// period included.
Cents contingencyLeft(const Grid &grid, const EstimateHistory &history);
// The question to ask before putting order into the register when it would take more out of
// the contingency than is left there; empty when it does not.
QString overdrawQuestion(const Grid &grid, const EstimateHistory &history, const ChangeOrder &order);

// The item rows that putting or removing this order may change.
QList<int> rowsTouched(const EstimateHistory &history, const ChangeOrder &order);

// Another row becomes the contingency. Refused while approved orders are funded from the
// present one: their amounts left that row, and would be unaccounted for in both.
bool setContingencyRow(EstimateHistory &history, int row, QString *errorString = nullptr);

// A row whose adjusted estimate is not its original one plus its approved orders (less
// those the contingency funded, for the contingency row): it was edited by hand since.
struct HandEdit
{
    int row = 0;
    Cents adjusted = 0;
    Cents explained = 0;
    friend bool operator==(const HandEdit &, const HandEdit &) = default;
};
QList<HandEdit> handEdits(const Grid &grid, const EstimateHistory &history);
// What the register says of such a row.
QString handEditText(const Grid &grid, const HandEdit &edit);
}
