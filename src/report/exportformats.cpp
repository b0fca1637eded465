#include "exportformats.h"

#include "core/document/document.h"
#include "core/document/estimatefile.h"
#include "core/export/csvexport.h"
#include "core/export/xlsxexport.h"
#include "core/sheet/estimatesheet.h"
#include "pdfexport.h"

#include <array>

namespace {
bool writePdf(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, QString *errorString)
{
    return PdfExport::save(path, sheet.grid(), header, errorString);
}

bool writeCsv(const QString &path, const EstimateSheet &sheet, const HeaderFields &, QString *errorString)
{
    return CsvExport::save(path, sheet.grid(), errorString);
}

bool writeXlsx(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, QString *errorString)
{
    return XlsxExport::save(path, sheet.grid(), header, errorString);
}

bool writeEstimate(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, QString *errorString)
{
    return EstimateFile::save(path, Document::contentOf(sheet, header), errorString);
}
}

namespace ExportFormats {
std::span<const ExportFormat> all()
{
    static const std::array<ExportFormat, 4> formats = {{
        {QLatin1StringView("pdf"), QStringLiteral("Export as PDF"), QStringLiteral("PDF document (*.pdf)"), writePdf,
         true},
        {QLatin1StringView("csv"), QStringLiteral("Export as CSV"), QStringLiteral("CSV file (*.csv)"), writeCsv},
        {QLatin1StringView("xlsx"), QStringLiteral("Export as Spreadsheet"), QStringLiteral("Excel workbook (*.xlsx)"),
         writeXlsx},
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
