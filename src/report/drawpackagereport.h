#pragma once

#include "core/history/drawpackagecontents.h"
#include "core/history/drawrequest.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <optional>

// What a lender wants with a draw, in one PDF: a cover letter listing what the package holds
// and on which page each part starts, the Draw Request, the payees of each line with their
// lien waivers, and every paper attached to the draw, its pages as they are with the draw,
// item and enclosure stamped in the margin. A paper that cannot be enclosed is named on the
// cover with the reason, and the package goes out without it.
class DrawPackageReport
{
public:
    DrawPackageReport(DrawRequest request, const EstimateHistory &history, const QString &estimatePath,
                      const QPageSize &paper);

    // Writes the whole file or leaves the old one as it was; notices learns of each paper
    // left out, errorString why nothing was written.
    bool save(const QString &path, QStringList *notices, QString *errorString) const;

private:
    // An enclosure as its file was found.
    struct Part
    {
        DrawPackageContents::Enclosure enclosure;
        QString path;
        int pages = 0;
        std::optional<QImage> image;
        // Why it is left out; empty where it goes in.
        QString reason;
        int firstPage = 0;
    };

    QList<Part> parts() const;
    Part partOf(const DrawPackageContents::Enclosure &enclosure) const;
    QByteArray requestPages() const;
    QByteArray payeePages() const;
    QByteArray coverPages(const QList<Part> &parts, int requestPage, int payeePage) const;
    QByteArray stampPages(const QList<Part> &parts) const;
    QByteArray imagePage(const Part &part) const;
    QString enclosureText(const Part &part) const;

    const DrawRequest m_request;
    const EstimateHistory m_history;
    const QString m_estimatePath;
    const QPageSize m_paper;
    const DrawPackageContents m_contents;
};
