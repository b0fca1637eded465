#include "loanstatementcsv.h"

#include "core/document/safefilewriter.h"
#include "core/history/loanstatement.h"
#include "core/sheet/moneycents.h"
#include "csvexport.h"

namespace LoanStatementCsv {

QByteArray encode(const LoanStatement &statement)
{
    QByteArray bytes = CsvExport::record(LoanStatement::columnTitles());
    for (const LoanStatement::Line &line : statement.lines)
        bytes += CsvExport::record(LoanStatement::textsOf(line));
    bytes += CsvExport::record(LoanStatement::textsOf(statement.total()));
    bytes += CsvExport::record({QStringLiteral("Interest to date"), MoneyCents::text(statement.interestToDate)});
    return bytes;
}

bool save(const QString &path, const LoanStatement &statement, QString *errorString)
{
    return SafeFileWriter::write(path, encode(statement), errorString);
}

}
