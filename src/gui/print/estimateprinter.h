#pragma once

#include <QString>

#include <memory>

class EstimateSheet;
class HeaderFields;
class MessageBoxes;
class PrinterDialog;
class QPrinter;
class QWidget;

// The Print command: the user picks a printer in the printer dialog, then the one-page
// report goes straight to it. The printer chosen stays the current printer for the next
// print.
class EstimatePrinter
{
public:
    EstimatePrinter(const EstimateSheet &sheet, HeaderFields &header, PrinterDialog &dialog, MessageBoxes &messages);
    ~EstimatePrinter();

    void print(QWidget *owner);
    // Shows the page Print would print, on the current printer's paper; its Print button
    // runs the Print command.
    void preview(QWidget *owner);

    // Seeds the dialog with the system's default printer.
    static void seed(PrinterDialog &dialog);

private:
    void prepareDialog();
    void chooseCurrentPrinter();
    void normaliseHeaderFields();
    bool printPage(QString *errorString);
    void makeCurrentPrinter();

    const EstimateSheet &m_sheet;
    HeaderFields &m_header;
    PrinterDialog &m_dialog;
    MessageBoxes &m_messages;
    std::unique_ptr<QPrinter> m_currentPrinter;
};
