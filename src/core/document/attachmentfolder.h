#pragma once

#include "core/history/estimatehistory.h"
#include "core/history/payeechecks.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// The folder beside an estimate that holds copies of the papers attached to it (invoices,
// receipts, lien waivers, photos): "<estimate name> documents". A path that leads out of the
// estimate's folder, or to what is not a file, is taken for a missing paper. The bytes never
// go into the estimate's file, whose size is limited and whose records other programs read.
class AttachmentFolder
{
public:
    // The folder of the estimate saved at estimatePath; an estimate never saved has none.
    explicit AttachmentFolder(const QString &estimatePath);

    QString path() const;

    // Copies source into the folder, under its own name or, where that is taken, "name (2)",
    // and gives it as the estimate refers to it. A letter the estimate's file cannot hold, in
    // that name or the estimate's, is "_" in the folder. A copy that fails leaves nothing
    // behind and the source as it was; errorString says why.
    std::optional<AttachedFile> attach(const QString &source, QString *errorString = nullptr) const;

    enum class State { Present, Missing, Changed };
    // Whether the attached file is still there as it was attached.
    State stateOf(const AttachedFile &file) const;
    QString absolutePath(const AttachedFile &file) const;
    // The papers that are not there as they were attached, each with why.
    PayeeChecks::UnavailablePapers unavailable(const QList<Paper> &papers) const;
    // Copies each paper here to the same path beside the estimate of other, as an estimate saved
    // into another folder takes its papers along, one changed since it was attached as it is
    // now; one already there as attached is left, as is any other file in its place. Gives the
    // papers not copied, each with why.
    PayeeChecks::UnavailablePapers copyTo(const AttachmentFolder &other, const QList<Paper> &papers) const;

    // The SHA-256 of a file's bytes, read a piece at a time; nothing when it cannot be read.
    static std::optional<QByteArray> sha256Of(const QString &path, QString *errorString = nullptr);

private:
    QString freeNameFor(const QString &fileName) const;
    // asAttached: the copy must hold the bytes the paper was attached with.
    bool copyTo(const AttachmentFolder &other, const AttachedFile &file, bool asAttached, QString *errorString) const;
    // The bytes of input written to target whole or not at all; the copy's SHA-256 and size.
    static std::optional<AttachedFile> copy(QFile &input, const QString &target, QString *errorString);

    QString m_estimateFolder;
    QString m_folderName;
};
