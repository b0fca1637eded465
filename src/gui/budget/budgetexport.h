#pragma once

#include "core/history/estimatehistory.h"

#include <QString>

class Document;
class EstimateSheet;
class FileDialogs;
class HeaderFields;
class MessageBoxes;

// The budget's forms besides the window: the budget summary as a PDF file and the
// change-order register as a CSV file, told by the file's extension.
namespace BudgetExport {
// Whether the budget is written in the form of this extension (without the point, any case).
bool writes(const QString &suffix);
// Whether that form is drawn with the Budget view's chart, which needs a QApplication.
bool drawsChart(const QString &suffix);
// Writes the whole file or leaves the old one as it was; errorString learns why not.
bool save(const QString &path, const EstimateSheet &sheet, const HeaderFields &header, const EstimateHistory &history,
          QString *errorString = nullptr);
// File > Export Budget Summary: the summary as a PDF file the user picks; gives the file
// written, or nothing.
QString exportSummary(const Document &document, FileDialogs &dialogs, MessageBoxes &messages);
}
