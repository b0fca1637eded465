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

// The register's columns, and an order's texts in them as the register shows it.
QStringList registerTitles();
QStringList registerTexts(const Grid &grid, const ChangeOrder &order);

// One past the highest number in the register.
int nextNumber(const EstimateHistory &history);
// The order with this number, or null.
const ChangeOrder *find(const EstimateHistory &history, int number);

// Puts order into the register in place of the one with its number, or adds it, and
// moves the adjusted estimates by what changes: the stored order's amount taken back out
// where it was approved, the new one's added where it is. Nothing changes when a cell to be
// moved holds a note rather than an amount.
bool put(EstimateSheet &sheet, EstimateHistory &history, const ChangeOrder &order, QString *errorString = nullptr);
bool setStatus(EstimateSheet &sheet, EstimateHistory &history, int number, ChangeOrder::Status status,
               QString *errorString = nullptr);
// Takes the order out of the register, and its amount out of the sheet when it was approved.
bool remove(EstimateSheet &sheet, EstimateHistory &history, int number, QString *errorString = nullptr);

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
