#include "exportformats.h"

#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/export/csvexport.h"
#include "core/export/drawrequestcsv.h"
#include "core/export/drawrequestxlsx.h"
#include "core/export/xlsxexport.h"
#include "core/sheet/estimatesheet.h"
#include "pdfexport.h"

#include <array>

namespace {
bool writePdf(const QString &path, const ExportFormat::Source &source, QString *errorString)
{
    return PdfExport::save(path, source.sheet.grid(), source.header, errorString);
}

bool writeCsv(const QString &path, const ExportFormat::Source &source, QString *errorString)
{
    return CsvExport::save(path, source.sheet.grid(), errorString);
}

bool writeXlsx(const QString &path, const ExportFormat::Source &source, QString *errorString)
{
    return XlsxExport::save(path, source.sheet.grid(), source.header, source.history, errorString);
}

bool writeEstimate(const QString &path, const ExportFormat::Source &source, QString *errorString)
{
    EstimateContent content = Document::contentOf(source.sheet, source.header);
    content.history = source.history;
    content.unreadLines = source.unreadLines;
    return EstimateFile::save(path, content, errorString);
}
}

namespace ExportFormats {
std::span<const ExportFormat> all()
{
    static const std::array<ExportFormat, 4> formats = {{
        {QLatin1StringView("pdf"), QStringLiteral("Export as PDF"), QStringLiteral("PDF document (*.pdf)"), writePdf,
         true, PdfExport::save},
        {QLatin1StringView("csv"), QStringLiteral("Export as CSV"), QStringLiteral("CSV file (*.csv)"), writeCsv, false,
         DrawRequestCsv::save},
        {QLatin1StringView("xlsx"), QStringLiteral("Export as Spreadsheet"), QStringLiteral("Excel workbook (*.xlsx)"),
         writeXlsx, false, DrawRequestXlsx::save},
        // The command line re-saves an estimate as it reads it; the menu has Save As for that.
        {QLatin1StringView("vrn"), QString(), QString(), writeEstimate},
    }};
    return formats;
}

const ExportFormat *forSuffix(const QString &suffix)
{
    for (const ExportFormat &format : all()) {
        if (suffix.compare(format.suffix, Qt::CaseInsensitive) == 0)
            return &format;
    }
    return nullptr;
}
}
