#pragma once

#include "core/history/estimatehistory.h"
#include "core/history/loanstatement.h"
#include "estimatereport.h"

#include <optional>

class HeaderFields;
class PageWriter;
class QPageSize;
class QPagedPaintDevice;
class QPainter;

// The loan statement on paper: the parties, the loan's terms where a loan is recorded, the
// statement's table (a line for each draw and the Total line, the column captions at the top
// of every page it runs onto), then the interest to date where the loan bears interest and
// the day the statement runs to. Upright: the eleven columns are as wide as their texts and
// their captions wrap, the type growing smaller only where they still would not fit. Every
// page is numbered. Laid out in twips, in the report's own typeface.
class LoanStatementReport
{
public:
    LoanStatementReport(LoanStatement statement, EstimateReport::Fields fields, std::optional<Loan> loan);

    // Draws every page on painter, active on device.
    void compose(QPainter &painter, QPagedPaintDevice &device) const;

    // Writes the whole PDF file or leaves the old one as it was; errorString learns why not.
    static bool savePdf(const QString &path, const LoanStatement &statement, const HeaderFields &header,
                        const std::optional<Loan> &loan, const QPageSize &paper, QString *errorString = nullptr);

private:
    void printLoan(PageWriter &page) const;
    void printTable(PageWriter &page) const;
    void printInterestAndDate(PageWriter &page) const;

    const LoanStatement m_statement;
    const EstimateReport::Fields m_fields;
    const std::optional<Loan> m_loan;
};
