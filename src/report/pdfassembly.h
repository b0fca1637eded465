#pragma once

#include <QByteArray>
#include <QString>

#include <list>
#include <memory>
#include <optional>
#include <vector>

class QPDF;

// One PDF put together from others: pages written here in memory, and pages of files taken
// as they are, each of the latter with a page of a stamp PDF laid over it in its bottom
// margin, its own content left exactly as it was. What qpdf throws stays in here.
class PdfAssembly
{
public:
    PdfAssembly();
    ~PdfAssembly();

    PdfAssembly(const PdfAssembly &) = delete;
    PdfAssembly &operator=(const PdfAssembly &) = delete;

    // The pages of a file that can be taken whole: nothing, with the reason, for one that is
    // encrypted, damaged or no PDF at all.
    static std::optional<int> pageCountOf(const QString &path, QString *errorString = nullptr);
    static std::optional<int> pageCountOf(const QByteArray &pdf, QString *errorString = nullptr);

    // The PDF whose pages are laid over the stamped pages, in order: its first page over the
    // first page stamped.
    bool setStamps(const QByteArray &pdf, QString *errorString = nullptr);
    // Every page of pdf, as it is.
    bool append(const QByteArray &pdf, QString *errorString = nullptr);
    // Every page of the file, each with the next stamp over it.
    bool appendStamped(const QString &path, QString *errorString = nullptr);

    std::optional<QByteArray> bytes(QString *errorString = nullptr);

private:
    bool appendPages(QPDF &source, bool stamped);
    void stampLastPage();

    std::unique_ptr<QPDF> m_output;
    std::unique_ptr<QPDF> m_stamps;
    // qpdf copies pages from their files only when the whole is written, and reads from
    // memory it does not own: both are kept until then.
    std::vector<std::unique_ptr<QPDF>> m_sources;
    std::list<QByteArray> m_buffers;
    int m_stampsUsed = 0;
};
