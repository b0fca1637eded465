#pragma once

#include "core/history/estimatehistory.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>

#include <span>

class EstimateSheet;
class HeaderFields;
struct DrawRequest;

// Every form an estimate can be written in besides Save, told by the file's extension:
// one table for the command line's --export and the File menu's Export items.
struct ExportFormat
{
    // What is exported of an estimate: the sheet, its header fields and its history.
    struct Source
    {
        const EstimateSheet &sheet;
        const HeaderFields &header;
        const EstimateHistory &history;
        // What followed the estimate in its file and could not be read: a copy keeps it.
        const QByteArray &unreadLines;
    };
    using Writer = bool (*)(const QString &path, const Source &source, QString *errorString);
    using RequestWriter = bool (*)(const QString &path, const DrawRequest &request, QString *errorString);

    QLatin1StringView suffix;
    // The export dialog's title and file filter; empty for a form the menu does not offer.
    QString dialogTitle;
    QString dialogFilter;
    Writer writeEstimate;
    // Drawing the report needs fonts, and so a QGuiApplication; the other forms are only text.
    bool drawsPages = false;
    // The Draw Request in this form; null for a form it has none in.
    RequestWriter writeRequest = nullptr;

    // The estimate file keeps the history and the workbook shows its change orders; the other
    // forms show the sheet alone.
    bool write(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, QString *errorString,
               const EstimateHistory &history = {}, const QByteArray &unreadLines = {}) const
    {
        return writeEstimate(path, {sheet, header, history, unreadLines}, errorString);
    }
};

namespace ExportFormats {
std::span<const ExportFormat> all();
// The format for this suffix (without the point, any case), or null.
const ExportFormat *forSuffix(const QString &suffix);
}
