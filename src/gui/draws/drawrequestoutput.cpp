#include "drawrequestoutput.h"

#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/sheet/estimatesheet.h"
#include "gui/print/printerdialog.h"
#include "report/drawrequestreport.h"
#include "report/productinfo.h"
#include "report/reportpaper.h"
#include "report/reports.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

namespace {
QString title()
{
    return QStringLiteral("Draw Request");
}
}

DrawRequestOutput::DrawRequestOutput(const Document &document, FileDialogs &dialogs, MessageBoxes &messages,
                                     PrinterDialog &printer, QWidget *owner)
    : m_document(document)
    , m_dialogs(dialogs)
    , m_messages(messages)
    , m_printer(printer)
    , m_owner(owner)
{
}

// The request, once the user has seen what a lender would send it back for and let it go.
std::optional<DrawRequest> DrawRequestOutput::checkedRequest(int draw, const QDate &nextDate, const char *goingOut)
{
    const Grid &grid = m_document.sheet().grid();
    const HeaderFields &header = m_document.header();
    const EstimateHistory &history = m_document.history();
    const std::optional<DrawRequest> request = draw > 0 ? DrawRequest::recorded(grid, header, history, draw)
                                                        : DrawRequest::next(grid, header, history, nextDate);
    if (!request)
        return std::nullopt;
    const PayeeChecks::UnavailablePapers unavailable =
        AttachmentFolder(m_document.CurrentFile()).unavailable(history.papers);
    const QStringList checks = draw > 0 ? DrawRequestChecks::ofRecorded(*request, grid, history, unavailable)
                                        : DrawRequestChecks::ofNext(*request, grid, history, unavailable);
    if (checks.isEmpty())
        return request;
    const QString question = QStringLiteral("Before it goes out, look at this in Draw Request %1:\n\n%2\n\n%3 anyway?")
                                 .arg(request->applicationNumber)
                                 .arg(QStringLiteral("\u2022 ") + checks.join(QStringLiteral("\n\u2022 ")))
                                 .arg(QLatin1String(goingOut));
    if (m_messages.askYesNo(question, title()) != MessageBoxes::Yes)
        return std::nullopt;
    return request;
}

QString DrawRequestOutput::presetPath(int number) const
{
    const QString name = QStringLiteral("draw-%1.pdf").arg(number);
    if (m_document.CurrentFile().isEmpty())
        return name;
    const QFileInfo estimate(m_document.CurrentFile());
    return estimate.dir().filePath(estimate.completeBaseName() + u'-' + name);
}

QString DrawRequestOutput::exportRequest(int draw, const QDate &nextDate)
{
    const std::optional<DrawRequest> request = checkedRequest(draw, nextDate, "Export it");
    if (!request)
        return {};
    const Report &report = Reports::drawRequest();
    const QString title = report.forms.front().dialogTitle;
    const QString path = m_dialogs.showExport(title, report.dialogFilter(title), QStringLiteral("pdf"),
                                              presetPath(request->applicationNumber));
    if (path.isEmpty())
        return {};
    const QPageSize paper = ReportPaper::ofLocale(QLocale());
    const QByteArray noUnreadLines;
    const Report::Source source{m_document.sheet(), m_document.header(), m_document.history(), noUnreadLines, paper,
                                &*request};
    QString errorString;
    if (report.write(path, source, {}, &errorString))
        return path;
    m_messages.showCritical(QStringLiteral("The Draw Request could not be exported to %1: %2")
                                .arg(QDir::toNativeSeparators(path), errorString),
                            Document::fileErrorTitle());
    return {};
}

void DrawRequestOutput::printRequest(int draw, const QDate &nextDate)
{
    const std::optional<DrawRequest> request = checkedRequest(draw, nextDate, "Print it");
    if (!request || m_printer.show(m_owner) != PrinterDialog::Outcome::Confirmed)
        return;
    const QPrinter &chosen = m_printer.chosen();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(chosen.printerName());
    printer.setOutputFileName(chosen.outputFileName());
    printer.setCopyCount(chosen.copyCount());
    printer.setColorMode(chosen.colorMode());
    printer.setDuplex(chosen.duplex());
    const DrawRequestReport report(*request, ReportPaper::ofLocale(QLocale()));
    printer.setPageLayout(report.summaryLayout());
    // Printing that fails says so: a request that silently never arrives looks printed.
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        printed = report.compose(painter, printer);
        printed = painter.end() && printed;
    }
    if (!printed)
        m_messages.showCritical(
            QStringLiteral("The Draw Request could not be printed on %1.")
                .arg(chosen.outputFileName().isEmpty() ? chosen.printerName() : chosen.outputFileName()),
            ProductInfo::applicationTitle());
}
