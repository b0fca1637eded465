#pragma once

#include "core/history/drawrequest.h"

#include <QString>

#include <optional>

class Document;
class FileDialogs;
class MessageBoxes;
class PrinterDialog;
class QWidget;

// File > Export Draw Request... and the Draws view's export and print of a request: the
// checks a lender would make are listed first, and the user says whether it goes out as it
// is. Draw 0 is the next request, from the current amounts; any other, a recorded draw's.
class DrawRequestOutput
{
public:
    DrawRequestOutput(const Document &document, FileDialogs &dialogs, MessageBoxes &messages, PrinterDialog &printer,
                      QWidget *owner);

    // Into a PDF, CSV or xlsx file, told by the name the user gives it; gives the file
    // written, or nothing. The next request is dated nextDate.
    QString exportRequest(int draw, const QDate &nextDate);
    // On the printer the user picks.
    void printRequest(int draw, const QDate &nextDate);

private:
    std::optional<DrawRequest> checkedRequest(int draw, const QDate &nextDate, const char *goingOut);
    QString presetPath(int number) const;

    const Document &m_document;
    FileDialogs &m_dialogs;
    MessageBoxes &m_messages;
    PrinterDialog &m_printer;
    QWidget *const m_owner;
};
