#include "reports.h"

#include "budgetreport.h"
#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/export/changeordercsv.h"
#include "core/export/csvexport.h"
#include "core/export/drawrequestcsv.h"
#include "core/export/drawrequestxlsx.h"
#include "core/export/loanstatementcsv.h"
#include "core/export/loanstatementworksheet.h"
#include "core/export/xlsxexport.h"
#include "core/history/loanstatement.h"
#include "core/reasons.h"
#include "core/sheet/estimatesheet.h"
#include "drawpackagereport.h"
#include "loanstatementreport.h"
#include "pdfexport.h"

#include <QFileInfo>

#include <array>

namespace {
bool writeEstimatePdf(const QString &path, const Report::Source &source, QString *errorString)
{
    return PdfExport::save(path, source.sheet.grid(), source.header, source.paper, errorString);
}

bool writeEstimateCsv(const QString &path, const Report::Source &source, QString *errorString)
{
    return CsvExport::save(path, source.sheet.grid(), errorString);
}

// The workbook shows the change orders and the loan statement, to the day it is written,
// beside the sheet.
bool writeEstimateXlsx(const QString &path, const Report::Source &source, QString *errorString)
{
    return XlsxExport::save(path, source.sheet.grid(), source.header, source.history, QDate::currentDate(),
                            errorString);
}

// The command line re-saves an estimate as it reads it, its history and unread lines kept.
bool writeEstimateCopy(const QString &path, const Report::Source &source, QString *errorString)
{
    EstimateContent content = Document::contentOf(source.sheet, source.header);
    content.history = source.history;
    content.unreadLines = source.unreadLines;
    return EstimateFile::save(path, content, errorString);
}

bool writeRequestPdf(const QString &path, const Report::Source &source, QString *errorString)
{
    return PdfExport::save(path, *source.request, source.paper, errorString);
}

bool writeRequestXlsx(const QString &path, const Report::Source &source, QString *errorString)
{
    return DrawRequestXlsx::save(path, *source.request, errorString);
}

bool writeRequestCsv(const QString &path, const Report::Source &source, QString *errorString)
{
    return DrawRequestCsv::save(path, *source.request, errorString);
}

bool writeBudgetSummary(const QString &path, const Report::Source &source, QString *errorString)
{
    return BudgetReport::savePdf(path, source.sheet.grid(), source.header, source.history, source.paper, errorString);
}

bool writeChangeOrderRegister(const QString &path, const Report::Source &source, QString *errorString)
{
    return ChangeOrderCsv::save(path, source.sheet.grid(), source.history, errorString);
}

// The statement runs to the day it is written, for the interest to date.
LoanStatement loanStatementOf(const Report::Source &source)
{
    return LoanStatement::of(source.sheet.grid(), source.header, source.history, QDate::currentDate());
}

bool writeLoanStatementPdf(const QString &path, const Report::Source &source, QString *errorString)
{
    return LoanStatementReport::savePdf(path, loanStatementOf(source), source.header, source.history.loan, source.paper,
                                        errorString);
}

bool writeLoanStatementCsv(const QString &path, const Report::Source &source, QString *errorString)
{
    return LoanStatementCsv::save(path, loanStatementOf(source), errorString);
}

bool writeLoanStatementXlsx(const QString &path, const Report::Source &source, QString *errorString)
{
    return LoanStatementWorksheet::save(path, loanStatementOf(source), errorString);
}

// The menu asks for no draw: its package is that of the last one recorded.
bool writeDrawPackage(const QString &path, const Report::Source &source, QString *errorString)
{
    std::optional<DrawRequest> request;
    if (source.request)
        request = *source.request;
    else if (source.history.draws.isEmpty())
        return Reasons::fail(errorString, QStringLiteral("no draw has been recorded"));
    else
        request = DrawRequest::recorded(source.sheet.grid(), source.header, source.history,
                                        source.history.draws.constLast().number, errorString);
    if (!request)
        return false;
    const DrawPackageReport report(*request, source.history, source.estimatePath, source.paper);
    return report.save(path, source.notices, errorString);
}

QString pdfFilter()
{
    return QStringLiteral("PDF document (*.pdf)");
}

QString csvFilter()
{
    return QStringLiteral("CSV file (*.csv)");
}

QString xlsxFilter()
{
    return QStringLiteral("Excel workbook (*.xlsx)");
}

const std::array<Report::Form, 4> &estimateForms()
{
    static const std::array<Report::Form, 4> forms = {{
        {QLatin1StringView("pdf"), writeEstimatePdf, true, {}, QStringLiteral("Export as PDF"), pdfFilter(), {}},
        {QLatin1StringView("csv"), writeEstimateCsv, false, {}, QStringLiteral("Export as CSV"), csvFilter(), {}},
        {QLatin1StringView("xlsx"),
         writeEstimateXlsx,
         false,
         {},
         QStringLiteral("Export as Spreadsheet"),
         xlsxFilter(),
         {}},
        // The menu has Save As for a copy.
        {QLatin1StringView("vrn"), writeEstimateCopy, false, {}, {}, {}, {}},
    }};
    return forms;
}

// In the order the export dialog has always offered them.
const std::array<Report::Form, 3> &drawRequestForms()
{
    const QString title = QStringLiteral("Export Draw Request");
    const QLatin1StringView ending("-draw-request");
    static const std::array<Report::Form, 3> forms = {{
        {QLatin1StringView("pdf"), writeRequestPdf, true, {}, title, pdfFilter(), ending},
        {QLatin1StringView("xlsx"), writeRequestXlsx, false, {}, title, xlsxFilter(), ending},
        {QLatin1StringView("csv"), writeRequestCsv, false, {}, title, csvFilter(), ending},
    }};
    return forms;
}

const std::array<Report::Form, 3> &loanForms()
{
    const QString title = QStringLiteral("Export Loan Statement");
    const QLatin1StringView ending("-loan");
    static const std::array<Report::Form, 3> forms = {{
        {QLatin1StringView("pdf"), writeLoanStatementPdf, true, {}, title, pdfFilter(), ending},
        {QLatin1StringView("csv"), writeLoanStatementCsv, false, {}, title, csvFilter(), ending},
        {QLatin1StringView("xlsx"), writeLoanStatementXlsx, false, {}, title, xlsxFilter(), ending},
    }};
    return forms;
}

const std::array<Report::Form, 1> &drawPackageForms()
{
    static const std::array<Report::Form, 1> forms = {{
        {QLatin1StringView("pdf"),
         writeDrawPackage,
         true,
         {},
         QStringLiteral("Export Draw Package"),
         pdfFilter(),
         QLatin1StringView("-draw-package")},
    }};
    return forms;
}

const std::array<Report::Form, 2> &budgetForms()
{
    static const std::array<Report::Form, 2> forms = {{
        {QLatin1StringView("pdf"), writeBudgetSummary, true, QStringLiteral("the summary"),
         QStringLiteral("Export Budget Summary"), pdfFilter(), QLatin1StringView("-budget")},
        {QLatin1StringView("csv"),
         writeChangeOrderRegister,
         false,
         QStringLiteral("the change-order register"),
         {},
         {},
         QLatin1StringView("-change-orders")},
    }};
    return forms;
}
}

const Report::Form *Report::form(const QString &suffix) const
{
    for (const Form &candidate : forms) {
        if (suffix.compare(candidate.suffix, Qt::CaseInsensitive) == 0)
            return &candidate;
    }
    return nullptr;
}

QString Report::dialogFilter(const QString &title) const
{
    QStringList filters;
    for (const Form &candidate : forms) {
        if (candidate.dialogTitle == title)
            filters << candidate.dialogFilter;
    }
    return filters.join(QStringLiteral(";;"));
}

QString Report::formList() const
{
    QStringList items;
    for (const Form &candidate : forms)
        items << (candidate.holds.isEmpty() ? QString(candidate.suffix)
                                            : QStringLiteral("%1 (%2)").arg(candidate.suffix, candidate.holds));
    return Reports::alternatives(items);
}

bool Report::write(const QString &path, const Source &source, const QString &fallbackSuffix, QString *errorString) const
{
    const Form *chosen = form(QFileInfo(path).suffix());
    if (!chosen && refusal.isEmpty())
        chosen = form(fallbackSuffix);
    if (!chosen)
        return Reasons::fail(errorString, refusal);
    return chosen->write(path, source, errorString);
}

namespace Reports {

std::span<const Report> all()
{
    static const std::array<Report, 5> reports = {{
        {QLatin1StringView("estimate"), QStringLiteral("an estimate"), estimateForms(), false, false, {}},
        {QLatin1StringView("draw-request"), QStringLiteral("a draw request"), drawRequestForms(), true, true,
         QStringLiteral("a Draw Request is written as .pdf, .csv or .xlsx")},
        {QLatin1StringView("budget"), QStringLiteral("a budget"), budgetForms(), false, true,
         QStringLiteral("Its name ends in neither .pdf, for the budget summary, nor .csv, for the change-order "
                        "register")},
        {QLatin1StringView("loan"), QStringLiteral("a loan statement"), loanForms(), false, true,
         QStringLiteral("a loan statement is written as .pdf, .csv or .xlsx")},
        {QLatin1StringView("draw-package"), QStringLiteral("a draw package"), drawPackageForms(), true, true,
         QStringLiteral("a Draw Package is written as .pdf"), true},
    }};
    return reports;
}

const Report *named(const QString &name)
{
    for (const Report &report : all()) {
        if (name == report.name)
            return &report;
    }
    return nullptr;
}

const Report &estimate()
{
    return all()[0];
}

const Report &drawRequest()
{
    return all()[1];
}

const Report &budget()
{
    return all()[2];
}

const Report &loan()
{
    return all()[3];
}

const Report &drawPackage()
{
    return all()[4];
}

QStringList suffixes()
{
    QStringList found;
    for (const Report &report : all()) {
        for (const Report::Form &form : report.forms) {
            if (!found.contains(form.suffix))
                found << QString(form.suffix);
        }
    }
    return found;
}

QString alternatives(const QStringList &items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + items.last();
}

}
