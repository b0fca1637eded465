#include "estimateprinter.h"

#include "core/document/messageboxes.h"
#include "core/reasons.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "printerdialog.h"
#include "report/estimatereport.h"
#include "report/pdfexport.h"
#include "report/productinfo.h"
#include "reportpreview.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

EstimatePrinter::EstimatePrinter(const EstimateSheet &sheet, HeaderFields &header, PrinterDialog &dialog,
                                 MessageBoxes &messages)
    : m_sheet(sheet)
    , m_header(header)
    , m_dialog(dialog)
    , m_messages(messages)
{
}

EstimatePrinter::~EstimatePrinter() = default;

void EstimatePrinter::seed(PrinterDialog &dialog)
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    // Without an installed printer the dialog offers its file output alone.
    if (printer.isNull())
        return;
    dialog.setPrinterName(printer.printerName());
    dialog.setDriverName(printer.makeAndModel());
    dialog.setPort(QString());
}

void EstimatePrinter::makeCurrentPrinter()
{
    // The print system is asked for its printers at the first print, not at start-up,
    // which would wait for it on every start.
    if (!m_currentPrinter) {
        m_currentPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_currentPrinter->setPageLayout(EstimateReport::defaultPageLayout());
        // The dialog offers the paper the report is laid out for; the user may choose another.
        m_dialog.setPaperSize(EstimateReport::defaultPageLayout().pageSize());
        seed(m_dialog);
    }
}

void EstimatePrinter::preview(QWidget *owner)
{
    makeCurrentPrinter();
    ReportPreview dialog(m_currentPrinter.get(), owner);
    QObject::connect(&dialog, &ReportPreview::paintRequested, &dialog, [this](QPrinter *printer) {
        QPainter painter(printer);
        EstimateReport(m_sheet.grid(), EstimateReport::printedFields(m_header)).compose(painter, *printer);
    });
    if (dialog.exec() == QDialog::Accepted)
        print(owner);
}

void EstimatePrinter::print(QWidget *owner)
{
    makeCurrentPrinter();
    prepareDialog();
    if (m_dialog.show(owner) != PrinterDialog::Outcome::Confirmed)
        return;
    chooseCurrentPrinter();
    normaliseHeaderFields();
    // Printing that fails says so: a report that silently never arrives looks printed.
    QString reason;
    if (!printPage(&reason))
        m_messages.showFailure(QStringLiteral("The estimate could not be printed on %1.")
                                   .arg(m_currentPrinter->outputFileName().isEmpty()
                                            ? m_currentPrinter->printerName()
                                            : m_currentPrinter->outputFileName()),
                               ProductInfo::applicationTitle(), reason);
}

void EstimatePrinter::prepareDialog()
{
    m_dialog.setPaperBin(int(m_currentPrinter->paperSource()));
    m_dialog.setFlags(PrinterDialog::NoSelection | PrinterDialog::NoPageNumbers | PrinterDialog::ReturnDeviceContext);
    m_dialog.setCancelError(true);
}

void EstimatePrinter::chooseCurrentPrinter()
{
    const QPrinter &chosen = m_dialog.chosen();
    const QString name = chosen.printerName().toUpper();
    if (m_currentPrinter->printerName() != name) {
        for (const QString &installed : QPrinterInfo::availablePrinterNames()) {
            if (installed.toUpper() == name)
                m_currentPrinter->setPrinterName(installed);
        }
    }
    // A PDF file chosen in the dialog takes the place of a printer.
    m_currentPrinter->setOutputFileName(chosen.outputFileName());
    m_currentPrinter->setCopyCount(chosen.copyCount());
    m_currentPrinter->setColorMode(chosen.colorMode());
    m_currentPrinter->setDuplex(chosen.duplex());
    m_currentPrinter->setPaperSource(chosen.paperSource());
    // The paper the user chose, with the report's own margins, whatever the dialog's are.
    const QPageLayout &paper = chosen.pageLayout();
    if (!m_currentPrinter->setPageLayout(EstimateReport::pageLayoutFor(paper.pageSize(), paper.orientation()))) {
        m_currentPrinter->setPageSize(paper.pageSize());
        m_currentPrinter->setPageOrientation(paper.orientation());
    }
    m_currentPrinter->setResolution(chosen.resolution());
}

void EstimatePrinter::normaliseHeaderFields()
{
    // The fields keep on screen the texts they print with.
    for (const HeaderFields::Field field : {HeaderFields::Name, HeaderFields::Address, HeaderFields::Builder})
        m_header.setText(field, EstimateReport::printedText(m_header.text(field)));
}

bool EstimatePrinter::printPage(QString *errorString)
{
    // The fields hold their printed texts by now.
    const EstimateReport report(m_sheet.grid(), EstimateReport::fieldsOf(m_header));
    // A PDF file chosen in the dialog is written as an export is, so that it replaces an
    // old file only when it is complete.
    const QString file = m_currentPrinter->outputFileName();
    if (!file.isEmpty())
        return PdfExport::save(file, report, m_currentPrinter->pageLayout(), m_currentPrinter->resolution(),
                               errorString);
    QPainter painter;
    if (!painter.begin(m_currentPrinter.get()))
        return Reasons::fail(errorString, QStringLiteral("The printer could not begin the page"));
    report.compose(painter, *m_currentPrinter);
    return painter.end() || Reasons::fail(errorString, QStringLiteral("The page could not be sent to the printer"));
}
