#include "drawrequestcsv.h"

#include "core/document/safefilewriter.h"
#include "core/history/drawrequest.h"
#include "csvexport.h"

namespace DrawRequestCsv {

QByteArray encode(const DrawRequest &request)
{
    QByteArray bytes = CsvExport::record(DrawRequest::columnCaptions());
    for (const DrawRequestLine &line : request.lines)
        bytes += CsvExport::record(DrawRequest::textsOf(line));
    return bytes + CsvExport::record(DrawRequest::textsOf(request.total()));
}

bool save(const QString &path, const DrawRequest &request, QString *errorString)
{
    return SafeFileWriter::write(path, encode(request), errorString);
}

}
