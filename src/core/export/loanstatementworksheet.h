#pragma once

#include <QByteArray>
#include <QString>

#include <xlsxwriter.h>

struct LoanStatement;

// The loan statement as a worksheet, for the lender and the accountant: the column titles,
// a row for each draw, its dates real dates and its amounts numbers in currency form, then the
// Total row, whose figures are formulas over the draws' rows holding the statement's own,
// and the interest to date with the day it runs to.
namespace LoanStatementWorksheet {
// Adds the "Loan" worksheet; the first failure, if any.
lxw_error add(lxw_workbook *workbook, const LoanStatement &statement);
// A workbook of that worksheet alone; empty, with errorString telling why, when it could not
// be made.
QByteArray encode(const LoanStatement &statement, QString *errorString = nullptr);
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const LoanStatement &statement, QString *errorString = nullptr);
}
