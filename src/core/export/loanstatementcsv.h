#pragma once

#include <QByteArray>
#include <QString>

struct LoanStatement;

// The loan statement as a CSV file (RFC 4180, UTF-8, CR LF): the column titles, a record for
// each draw, the Total record, and the interest to date.
namespace LoanStatementCsv {
QByteArray encode(const LoanStatement &statement);
// Writes the whole file or leaves none; errorString learns why not.
bool save(const QString &path, const LoanStatement &statement, QString *errorString = nullptr);
}
