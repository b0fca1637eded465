#pragma once

#include <QByteArray>
#include <QString>

struct DrawRequest;

// The Draw Request as a live workbook (.xlsx): the summary on the first worksheet, the
// continuation sheet on the second. G, %, H and the retainage of each line, the Total line
// and the summary's lines are formulas holding the request's own results, so that a viewer
// that does not calculate shows the very amounts, and one that does recalculates when a
// lender changes an amount or the rate; the original sum and the previous payments, which
// no column holds, are amounts.
namespace DrawRequestXlsx {
QByteArray encode(const DrawRequest &request, QString *errorString = nullptr);
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const DrawRequest &request, QString *errorString = nullptr);
}
