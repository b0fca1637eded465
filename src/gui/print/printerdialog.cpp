#include "printerdialog.h"

#include <QPrintDialog>
#include <QPrinter>

PrinterDialog::PrinterDialog() = default;

PrinterDialog::~PrinterDialog() = default;

QPrinter &PrinterDialog::printer()
{
    // Made at first use: a printer object asks the print system for its printers, which
    // start-up need not wait for.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

const QPrinter &PrinterDialog::chosen() const
{
    return const_cast<PrinterDialog *>(this)->printer();
}

QString PrinterDialog::printerName() const
{
    return chosen().printerName();
}

void PrinterDialog::setPrinterName(const QString &name)
{
    printer().setPrinterName(name);
}

int PrinterDialog::paperBin() const
{
    return int(chosen().paperSource());
}

void PrinterDialog::setPaperBin(int bin)
{
    printer().setPaperSource(QPrinter::PaperSource(bin));
}

void PrinterDialog::setPaperSize(const QPageSize &paper)
{
    printer().setPageSize(paper);
}

PrinterDialog::Outcome PrinterDialog::show(QWidget *owner)
{
    if (exec(printer(), owner))
        return Outcome::Confirmed;
    return m_cancelError ? Outcome::Cancelled : Outcome::Declined;
}

bool PrinterDialog::exec(QPrinter &printer, QWidget *owner)
{
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !(m_flags & NoSelection));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(m_flags & NoPageNumbers));
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}
