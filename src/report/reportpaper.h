#pragma once

#include <QPageSize>

#include <optional>

class QLocale;
class QString;

// The paper every report goes on unless the user chooses another: the one the user's country
// buys, A4 in most of the world and US Letter in the United States and Canada.
namespace ReportPaper {
// The C locale says nothing of a country: there the report keeps the Letter it was made for.
QPageSize ofLocale(const QLocale &locale);
// The paper the command line's --paper names (a4 or letter, any case), or nothing.
std::optional<QPageSize> named(const QString &name);
}
