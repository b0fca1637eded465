#pragma once

#include <QByteArray>
#include <QString>

struct DrawRequest;

// The Draw Request's continuation sheet as a CSV file (RFC 4180, UTF-8, CR LF): the ten
// column captions, one record for each line and the Total line, amounts as money text.
namespace DrawRequestCsv {
QByteArray encode(const DrawRequest &request);
// Writes the whole file or leaves none; errorString learns why not.
bool save(const QString &path, const DrawRequest &request, QString *errorString);
}
