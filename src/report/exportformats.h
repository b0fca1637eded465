#pragma once

#include <QLatin1StringView>
#include <QString>

#include <span>

class EstimateSheet;
class HeaderFields;

// Every form an estimate can be written in besides Save, told by the file's extension:
// one table for the command line's --export and the File menu's Export items.
struct ExportFormat
{
    using Writer = bool (*)(const QString &path, const EstimateSheet &sheet, const HeaderFields &header,
                            QString *errorString);

    QLatin1StringView suffix;
    // The export dialog's title and file filter; empty for a form the menu does not offer.
    QString dialogTitle;
    QString dialogFilter;
    Writer write;
    // Drawing the report needs fonts, and so a QGuiApplication; the other forms are only text.
    bool drawsPages = false;
};

namespace ExportFormats {
std::span<const ExportFormat> all();
// The format for this suffix (without the point, any case), or null.
const ExportFormat *forSuffix(const QString &suffix);
}
