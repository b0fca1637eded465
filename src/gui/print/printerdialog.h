#pragma once

#include <QString>

#include <memory>

class QPageSize;
class QPrinter;
class QWidget;

// The printer-selection dialog: the user picks a printer (or a PDF file) and its settings.
// One object lives as long as the main window, so each print starts from the choice made
// at the last one.
class PrinterDialog
{
public:
    // How a showing ended: confirmed, or cancelled, which is reported as Cancelled while
    // cancelError is set and as Declined otherwise.
    enum class Outcome { Confirmed, Declined, Cancelled };

    // Print-dialog options in the flags: hide "selection only", hide the page range,
    // give back a device context.
    static constexpr int NoSelection = 0x4;
    static constexpr int NoPageNumbers = 0x8;
    static constexpr int ReturnDeviceContext = 0x100;

    PrinterDialog();
    virtual ~PrinterDialog();

    QString printerName() const;
    void setPrinterName(const QString &name);
    QString driverName() const { return m_driverName; }
    void setDriverName(const QString &name) { m_driverName = name; }
    QString port() const { return m_port; }
    void setPort(const QString &port) { m_port = port; }
    int paperBin() const;
    void setPaperBin(int bin);
    void setPaperSize(const QPageSize &paper);
    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    bool cancelError() const { return m_cancelError; }
    void setCancelError(bool raise) { m_cancelError = raise; }

    Outcome show(QWidget *owner);

    // The settings chosen, after a confirmed showing.
    const QPrinter &chosen() const;

protected:
    QPrinter &printer();
    // Runs the dialog on the given printer; true when the user confirmed.
    virtual bool exec(QPrinter &printer, QWidget *owner);

private:
    std::unique_ptr<QPrinter> m_printer;
    QString m_driverName;
    QString m_port;
    int m_flags = 0;
    bool m_cancelError = false;
};
