#pragma once

#include "core/history/estimatehistory.h"

#include <QByteArray>
#include <QDate>
#include <QString>

class Grid;
class HeaderFields;

// The sheet as a live workbook for lenders and accountants (.xlsx): the header fields, the
// column titles, the 36 item rows and the Total row. Amounts are numbers in currency form,
// each row's cost to complete and the totals are formulas that hold the sheet's results,
// so that the workbook recalculates when a payment is changed in it. The change-order
// register follows on a worksheet of its own when there is one, and the loan statement, as
// of asOf, where the history keeps the lender's side of the draws.
namespace XlsxExport {
// The workbook's bytes; empty, with errorString telling why, when it could not be made.
QByteArray encode(const Grid &grid, const HeaderFields &header, const EstimateHistory &history, const QDate &asOf,
                  QString *errorString = nullptr);
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const Grid &grid, const HeaderFields &header, const EstimateHistory &history,
          const QDate &asOf, QString *errorString = nullptr);
}
