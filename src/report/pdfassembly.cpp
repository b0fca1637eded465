#include "pdfassembly.h"

#include "core/reasons.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace {
// The stamp's strip, in points from the page's bottom left corner.
constexpr double StampLeft = 18;
constexpr double StampBottom = 6;

// A file qpdf would have to repair is taken for damaged: a repair guesses, and the lender
// would get pages nobody has seen.
std::unique_ptr<QPDF> newReader()
{
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    pdf->setAttemptRecovery(false);
    return pdf;
}

QString reasonOf(const QPDFExc &error)
{
    if (error.getErrorCode() == qpdf_e_password)
        return QStringLiteral("the PDF is encrypted");
    return QStringLiteral("the PDF is damaged");
}

bool isPdf(const QByteArray &start)
{
    return start.startsWith("%PDF-");
}

// Opens pdf and gives its page count, or nothing with the reason.
template <typename Open> std::optional<int> countPages(QPDF &pdf, const Open &open, QString *errorString)
{
    try {
        open();
        if (pdf.isEncrypted()) {
            Reasons::fail(errorString, QStringLiteral("the PDF is encrypted"));
            return std::nullopt;
        }
        const int pages = int(QPDFPageDocumentHelper(pdf).getAllPages().size());
        if (pages == 0) {
            Reasons::fail(errorString, QStringLiteral("the PDF has no pages"));
            return std::nullopt;
        }
        return pages;
    } catch (const QPDFExc &error) {
        Reasons::fail(errorString, reasonOf(error));
    } catch (const std::exception &) {
        Reasons::fail(errorString, QStringLiteral("the PDF is damaged"));
    }
    return std::nullopt;
}
}

PdfAssembly::PdfAssembly()
    : m_output(std::make_unique<QPDF>())
{
    m_output->emptyPDF();
}

PdfAssembly::~PdfAssembly() = default;

std::optional<int> PdfAssembly::pageCountOf(const QString &path, QString *errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Reasons::fail(errorString, QStringLiteral("the file cannot be read"));
        return std::nullopt;
    }
    if (!isPdf(file.read(5))) {
        Reasons::fail(errorString, QStringLiteral("it is not a PDF"));
        return std::nullopt;
    }
    file.close();
    const std::unique_ptr<QPDF> pdf = newReader();
    const QByteArray name = QFile::encodeName(path);
    return countPages(
        *pdf, [&] { pdf->processFile(name.constData()); }, errorString);
}

std::optional<int> PdfAssembly::pageCountOf(const QByteArray &pdf, QString *errorString)
{
    const std::unique_ptr<QPDF> reader = newReader();
    return countPages(
        *reader, [&] { reader->processMemoryFile("pages", pdf.constData(), size_t(pdf.size())); }, errorString);
}

bool PdfAssembly::setStamps(const QByteArray &pdf, QString *errorString)
{
    try {
        m_buffers.push_back(pdf);
        m_stamps = newReader();
        m_stamps->processMemoryFile("stamps", m_buffers.back().constData(), size_t(pdf.size()));
        m_stampsUsed = 0;
        return true;
    } catch (const std::exception &error) {
        m_stamps.reset();
        return Reasons::fail(errorString, QString::fromStdString(error.what()));
    }
}

bool PdfAssembly::append(const QByteArray &pdf, QString *errorString)
{
    try {
        m_buffers.push_back(pdf);
        std::unique_ptr<QPDF> source = newReader();
        source->processMemoryFile("pages", m_buffers.back().constData(), size_t(pdf.size()));
        const bool appended = appendPages(*source, false);
        m_sources.push_back(std::move(source));
        return appended;
    } catch (const std::exception &error) {
        return Reasons::fail(errorString, QString::fromStdString(error.what()));
    }
}

bool PdfAssembly::appendStamped(const QString &path, QString *errorString)
{
    try {
        std::unique_ptr<QPDF> source = newReader();
        source->processFile(QFile::encodeName(path).constData());
        const bool appended = appendPages(*source, true);
        m_sources.push_back(std::move(source));
        return appended || Reasons::fail(errorString, QStringLiteral("there are fewer stamps than pages"));
    } catch (const QPDFExc &error) {
        return Reasons::fail(errorString, reasonOf(error));
    } catch (const std::exception &error) {
        return Reasons::fail(errorString, QString::fromStdString(error.what()));
    }
}

std::optional<QByteArray> PdfAssembly::bytes(QString *errorString)
{
    try {
        QPDFWriter writer(*m_output);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
    } catch (const std::exception &error) {
        Reasons::fail(errorString, QString::fromStdString(error.what()));
        return std::nullopt;
    }
}

bool PdfAssembly::appendPages(QPDF &source, bool stamped)
{
    QPDFPageDocumentHelper output(*m_output);
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(source).getAllPages()) {
        if (stamped && (!m_stamps || m_stampsUsed >= int(QPDFPageDocumentHelper(*m_stamps).getAllPages().size())))
            return false;
        output.addPage(page, false);
        if (stamped)
            stampLastPage();
    }
    return true;
}

void PdfAssembly::stampLastPage()
{
    QPDFPageObjectHelper stamp = QPDFPageDocumentHelper(*m_stamps).getAllPages().at(size_t(m_stampsUsed++));
    QPDFObjectHandle form = m_output->copyForeignObject(stamp.getFormXObjectForPage());
    QPDFPageObjectHelper page = QPDFPageDocumentHelper(*m_output).getAllPages().back();
    const QPDFObjectHandle::Rectangle box = page.getTrimBox().getArrayAsRectangle();
    const QPDFObjectHandle::Rectangle stampBox = stamp.getMediaBox().getArrayAsRectangle();
    const QPDFObjectHandle::Rectangle strip(box.llx + StampLeft, box.lly + StampBottom,
                                            box.llx + StampLeft + (stampBox.urx - stampBox.llx),
                                            box.lly + StampBottom + (stampBox.ury - stampBox.lly));
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    int suffix = 1;
    const std::string name = resources.getUniqueResourceName("/Fx", suffix);
    const std::string content = page.placeFormXObject(form, name, strip);
    if (content.empty())
        return;
    resources.mergeResources(QPDFObjectHandle::parse("<< /XObject << >> >>"));
    resources.getKey("/XObject").replaceKey(name, form);
    // The page's own content in a saved graphics state, so that nothing it leaves set moves
    // or colours the stamp.
    page.addPageContents(m_output->newStream("q\n"), true);
    page.addPageContents(m_output->newStream("\nQ\n" + content), false);
}
