#include "drawpackagereport.h"

#include "core/document/attachmentfolder.h"
#include "core/document/safefilewriter.h"
#include "core/history/papers.h"
#include "core/history/payeeshares.h"
#include "core/reasons.h"
#include "core/sheet/moneycents.h"
#include "drawrequestreport.h"
#include "pagewriter.h"
#include "pdfassembly.h"
#include "pdfexport.h"
#include "reportfont.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <utility>

namespace {
constexpr qreal MarginInches = 0.5;
constexpr qreal TitlePoints = 14;
constexpr qreal TextPoints = 10;
constexpr qreal StampPoints = 8;
// The strip a stamp is drawn in, small enough for the margin of any paper.
const QSizeF StampInches(4, 0.25);
// Item No., payee, amount, lien waiver, in twips across the printable width.
constexpr qreal ItemWidth = 1100;
constexpr qreal AmountWidth = 1800;
constexpr qreal WaiverWidth = 2000;
constexpr qreal WaiverGap = 300;
// A cover that runs onto more pages than it was laid out for is laid out again this often.
constexpr int CoverLayouts = 3;

QPageLayout portrait(const QPageSize &paper)
{
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(MarginInches, MarginInches, MarginInches, MarginInches),
                       QPageLayout::Inch);
}

// Qt reads more kinds of image than a lender's office opens; these two everyone can.
bool isImage(const QString &path)
{
    QImageReader reader(path);
    const QByteArray format = reader.format();
    return (format == "png" || format == "jpeg") && reader.canRead();
}

QString waiverStatus(const QList<LienWaiver> &waivers, int draw, int payee)
{
    QString status = QStringLiteral("None");
    for (const LienWaiver &waiver : waivers) {
        if (waiver.draw != draw || waiver.payee != payee)
            continue;
        if (waiver.status == LienWaiver::Status::Received)
            return QStringLiteral("Received");
        status = QStringLiteral("Requested");
    }
    return status;
}

QString payeeName(const QList<Payee> &payees, int number)
{
    const auto found =
        std::find_if(payees.begin(), payees.end(), [number](const Payee &payee) { return payee.number == number; });
    return found == payees.end() ? QStringLiteral("Payee %1").arg(number) : found->name;
}

void printPair(PageWriter &page, const QString &left, const QString &right)
{
    page.printLine(left);
    page.printLine(right, 0, Qt::AlignRight);
    page.skipLine();
}
}

DrawPackageReport::DrawPackageReport(DrawRequest request, const EstimateHistory &history, const QString &estimatePath,
                                     const QPageSize &paper)
    : m_request(std::move(request))
    , m_history(history)
    , m_estimatePath(estimatePath)
    , m_paper(paper)
    , m_contents(history, m_request.applicationNumber)
{
}

bool DrawPackageReport::save(const QString &path, QStringList *notices, QString *errorString) const
{
    QList<Part> enclosures = parts();
    const QByteArray request = requestPages();
    const QByteArray payees = payeePages();
    const int requestPageCount = DrawRequestReport(m_request, m_paper).pageCount();
    const int payeePageCount = PdfAssembly::pageCountOf(payees).value_or(1);
    // The cover's page numbers need its own length, which they can change.
    int coverPageCount = 1;
    QByteArray cover;
    for (int layout = 0; layout < CoverLayouts; ++layout) {
        int next = coverPageCount + requestPageCount + payeePageCount + 1;
        for (Part &part : enclosures) {
            part.firstPage = part.reason.isEmpty() ? next : 0;
            next += part.reason.isEmpty() ? part.pages : 0;
        }
        cover = coverPages(enclosures, coverPageCount + 1, coverPageCount + requestPageCount + 1);
        const int counted = PdfAssembly::pageCountOf(cover).value_or(1);
        if (counted == coverPageCount)
            break;
        coverPageCount = counted;
    }

    PdfAssembly assembly;
    if (!assembly.setStamps(stampPages(enclosures), errorString) || !assembly.append(cover, errorString)
        || !assembly.append(request, errorString) || !assembly.append(payees, errorString))
        return false;
    for (const Part &part : std::as_const(enclosures)) {
        if (!part.reason.isEmpty()) {
            if (notices)
                *notices << QStringLiteral("%1 not included: %2").arg(enclosureText(part), part.reason);
            continue;
        }
        const bool appended =
            part.image ? assembly.append(imagePage(part), errorString) : assembly.appendStamped(part.path, errorString);
        if (!appended)
            return false;
    }
    const std::optional<QByteArray> bytes = assembly.bytes(errorString);
    return bytes && SafeFileWriter::write(path, *bytes, errorString);
}

QList<DrawPackageReport::Part> DrawPackageReport::parts() const
{
    QList<Part> found;
    for (const DrawPackageContents::Enclosure &enclosure : m_contents.enclosures())
        found << partOf(enclosure);
    return found;
}

DrawPackageReport::Part DrawPackageReport::partOf(const DrawPackageContents::Enclosure &enclosure) const
{
    Part part{enclosure, {}, 0, std::nullopt, {}, 0};
    if (m_estimatePath.isEmpty()) {
        part.reason = QStringLiteral("the estimate has not been saved");
        return part;
    }
    const AttachmentFolder folder(m_estimatePath);
    part.path = folder.absolutePath(enclosure.paper.file);
    switch (folder.stateOf(enclosure.paper.file)) {
    case AttachmentFolder::State::Missing:
        part.reason = QStringLiteral("the file is missing");
        return part;
    case AttachmentFolder::State::Changed:
        part.reason = QStringLiteral("the file has changed since it was attached");
        return part;
    case AttachmentFolder::State::Present:
        break;
    }
    if (isImage(part.path)) {
        QImageReader reader(part.path);
        // A photo from a phone lies on its side without the turn its file asks for.
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            part.reason = QStringLiteral("the image cannot be read");
            return part;
        }
        part.image = image;
        part.pages = 1;
        return part;
    }
    QString reason;
    const std::optional<int> pages = PdfAssembly::pageCountOf(part.path, &reason);
    if (!pages) {
        part.reason =
            reason == QStringLiteral("it is not a PDF") ? QStringLiteral("it is neither a PDF nor an image") : reason;
        return part;
    }
    part.pages = *pages;
    return part;
}

QByteArray DrawPackageReport::requestPages() const
{
    const DrawRequestReport report(m_request, m_paper);
    return PdfExport::pages(report.summaryLayout(),
                            [&report](QPainter &painter, QPdfWriter &writer) { report.compose(painter, writer); });
}

QByteArray DrawPackageReport::payeePages() const
{
    struct Row
    {
        int item = 0;
        QString payee;
        Cents amount = 0;
        QString waiver;
    };
    QList<Row> rows;
    const int number = m_contents.draw();
    const auto draw = std::find_if(m_history.draws.begin(), m_history.draws.end(),
                                   [number](const Draw &candidate) { return candidate.number == number; });
    if (draw != m_history.draws.end()) {
        for (const DrawLine &line : draw->lines) {
            for (const PayeeShare &share : PayeeShares::of(line, m_history.payees))
                rows << Row{line.row, payeeName(m_history.payees, share.payee), share.amount,
                            waiverStatus(m_history.waivers, number, share.payee)};
        }
    }
    return PdfExport::pages(portrait(m_paper), [&](QPainter &painter, QPdfWriter &writer) {
        PageWriter page(painter, writer);
        page.setFont(TitlePoints, true);
        page.printWrapped(QStringLiteral("PAYEES BY LINE"), 1, Qt::AlignHCenter);
        page.setFont(TextPoints, false);
        page.printWrapped(QStringLiteral("Draw %1").arg(number), 1, Qt::AlignHCenter);
        page.skipLine();
        if (rows.isEmpty()) {
            page.printWrapped(QStringLiteral("No payee is named for the lines of this draw."));
            return;
        }
        const qreal payeeWidth = page.width() - ItemWidth - AmountWidth - WaiverWidth;
        const auto cells = [&](PageWriter &writer, const QStringList &texts) {
            writer.printLine(texts.at(0), 0, Qt::AlignLeft, ItemWidth);
            writer.printLine(texts.at(1), ItemWidth, Qt::AlignLeft, payeeWidth);
            writer.printLine(texts.at(2), ItemWidth + payeeWidth, Qt::AlignRight, AmountWidth);
            writer.printLine(texts.at(3), ItemWidth + payeeWidth + AmountWidth + WaiverGap, Qt::AlignLeft,
                             WaiverWidth - WaiverGap);
        };
        page.printTable(
            {[&](PageWriter &writer) {
                 writer.setFont(TextPoints, true);
                 cells(writer,
                       {QStringLiteral("Item No."), QStringLiteral("Payee"), QStringLiteral("Amount"),
                        QStringLiteral("Lien Waiver")});
                 writer.skipLine();
                 writer.setFont(TextPoints, false);
             },
             [&](PageWriter &writer, int index) {
                 const Row &row = rows.at(index);
                 cells(writer, {QString::number(row.item), row.payee, MoneyCents::text(row.amount), row.waiver});
             },
             int(rows.size()), page.lineHeight()});
    });
}

QByteArray DrawPackageReport::coverPages(const QList<Part> &parts, int requestPage, int payeePage) const
{
    return PdfExport::pages(portrait(m_paper), [&](QPainter &painter, QPdfWriter &writer) {
        PageWriter page(painter, writer);
        page.setFont(TitlePoints, true);
        page.printWrapped(QStringLiteral("DRAW PACKAGE"), 1, Qt::AlignHCenter);
        page.skipLine();
        page.setFont(TextPoints, false);
        page.printWrapped(QStringLiteral("Owner: %1").arg(m_request.owner));
        page.printWrapped(QStringLiteral("Property Address: %1").arg(m_request.address));
        if (m_history.loan) {
            page.printWrapped(QStringLiteral("Lender: %1").arg(m_history.loan->lender));
            page.printWrapped(QStringLiteral("Loan No.: %1").arg(m_history.loan->loanNumber));
        }
        page.printWrapped(QStringLiteral("Draw No.: %1").arg(m_request.applicationNumber));
        page.printWrapped(QStringLiteral("Date: %1").arg(m_request.periodTo.toString(QStringLiteral("MMMM d, yyyy"))));
        page.printWrapped(QStringLiteral("Amount Requested: %1").arg(MoneyCents::text(m_request.currentPaymentDue())));
        page.skipLine();
        page.printWrapped(QStringLiteral("The request is enclosed with the papers behind it:"));
        page.skipLine();
        page.setFont(TextPoints, true);
        printPair(page, QStringLiteral("Enclosure"), QStringLiteral("Page"));
        page.setFont(TextPoints, false);
        printPair(page, QStringLiteral("Draw Request"), QString::number(requestPage));
        printPair(page, QStringLiteral("Payees by Line"), QString::number(payeePage));
        for (const Part &part : parts) {
            page.keepRoomFor(page.lineHeight());
            if (part.reason.isEmpty())
                printPair(page, enclosureText(part), QString::number(part.firstPage));
            else
                page.printWrapped(QStringLiteral("%1 not included: %2").arg(enclosureText(part), part.reason));
        }
    });
}

QByteArray DrawPackageReport::stampPages(const QList<Part> &parts) const
{
    const QPageLayout strip(QPageSize(StampInches, QPageSize::Inch), QPageLayout::Portrait, QMarginsF());
    return PdfExport::pages(strip, [&](QPainter &painter, QPdfWriter &writer) {
        painter.setFont(ReportFont::atPoints(StampPoints, false));
        bool first = true;
        for (const Part &part : parts) {
            if (!part.reason.isEmpty() || part.image)
                continue;
            for (int index = 0; index < part.pages; ++index) {
                if (!first)
                    writer.newPage();
                first = false;
                painter.drawText(QRect(0, 0, writer.width(), writer.height()), Qt::AlignLeft | Qt::AlignVCenter,
                                 m_contents.stampOf(part.enclosure));
            }
        }
    });
}

// An image on a page of its own, as large as the page takes it, the stamp under it.
QByteArray DrawPackageReport::imagePage(const Part &part) const
{
    return PdfExport::pages(portrait(m_paper), [&](QPainter &painter, QPdfWriter &writer) {
        painter.setFont(ReportFont::atPoints(StampPoints, false));
        const int stripHeight = int(StampInches.height() * writer.resolution());
        const QRect room(0, 0, writer.width(), writer.height() - stripHeight);
        const QSize size = part.image->size().scaled(room.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint((room.width() - size.width()) / 2, 0), size), *part.image);
        painter.drawText(QRect(0, room.bottom(), writer.width(), stripHeight), Qt::AlignLeft | Qt::AlignBottom,
                         m_contents.stampOf(part.enclosure));
    });
}

QString DrawPackageReport::enclosureText(const Part &part) const
{
    const Paper &paper = part.enclosure.paper;
    const QString title = paper.title.isEmpty() ? QFileInfo(paper.file.relativePath).fileName() : paper.title;
    QString text = QStringLiteral("Enclosure %1").arg(part.enclosure.number);
    if (part.enclosure.row > 0)
        text += QStringLiteral(", Item %1").arg(part.enclosure.row);
    return text + QStringLiteral(", %1: %2").arg(Papers::kindName(paper.kind), title);
}
