#include "workbookcheck.h"

#include "core/reasons.h"
#include "ziparchive.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

namespace {
using Parts = QHash<QString, QByteArray>;

const QString ContentTypes = QStringLiteral("[Content_Types].xml");
const QString SharedStrings = QStringLiteral("xl/sharedStrings.xml");

bool isXml(const QString &name)
{
    return name.endsWith(QLatin1String(".xml")) || name.endsWith(QLatin1String(".rels"));
}

bool isWellFormed(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

// Shows the reader at each element of this name in the part.
template <typename Visit> void forEachElement(const QByteArray &xml, QStringView element, Visit visit)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == element)
            visit(reader);
    }
}

// The parts that [Content_Types].xml and the relationship parts name, as archive names.
QStringList namedParts(const Parts &parts)
{
    QStringList named;
    forEachElement(parts.value(ContentTypes), u"Override", [&](QXmlStreamReader &reader) {
        named << reader.attributes().value(QLatin1StringView("PartName")).mid(1).toString();
    });
    for (auto part = parts.cbegin(); part != parts.cend(); ++part) {
        if (!part.key().endsWith(QLatin1String(".rels")))
            continue;
        // "xl/_rels/workbook.xml.rels" speaks of targets from the folder "xl".
        const QString source = QFileInfo(part.key()).path().chopped(QStringLiteral("_rels").size());
        forEachElement(part.value(), u"Relationship", [&](QXmlStreamReader &reader) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (attributes.value(QLatin1StringView("TargetMode")) == u"External")
                return;
            const QString target = attributes.value(QLatin1StringView("Target")).toString();
            named << (target.startsWith(u'/') ? target.mid(1) : QDir::cleanPath(source + target));
        });
    }
    return named;
}

// The shared texts that the worksheets refer to by number are all there, as many as the
// part says it holds.
bool sharedStringsAreWhole(const Parts &parts, QString *errorString)
{
    int count = 0;
    int promised = -1;
    forEachElement(parts.value(SharedStrings), u"sst", [&](QXmlStreamReader &reader) {
        promised = reader.attributes().value(QLatin1StringView("uniqueCount")).toInt();
    });
    forEachElement(parts.value(SharedStrings), u"si", [&](QXmlStreamReader &) { ++count; });
    if (promised >= 0 && count != promised)
        return Reasons::fail(errorString,
                             QStringLiteral("%1 holds %2 of its %3 texts").arg(SharedStrings).arg(count).arg(promised));
    for (auto part = parts.cbegin(); part != parts.cend(); ++part) {
        if (!part.key().startsWith(QLatin1String("xl/worksheets/")) || !isXml(part.key()))
            continue;
        bool whole = true;
        forEachElement(part.value(), u"c", [&](QXmlStreamReader &reader) {
            if (reader.attributes().value(QLatin1StringView("t")) == u"s" && reader.readNextStartElement()
                && reader.name() == u"v")
                whole = whole && reader.readElementText().toInt() < count;
        });
        if (!whole)
            return Reasons::fail(errorString, QStringLiteral("%1 refers to texts that are missing").arg(part.key()));
    }
    return true;
}

bool cellsAreWhole(const Parts &parts, const QList<int> &cellsWritten, QString *errorString)
{
    for (qsizetype sheet = 0; sheet < cellsWritten.size(); ++sheet) {
        const QString name = QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet + 1);
        int cells = 0;
        forEachElement(parts.value(name), u"c", [&](QXmlStreamReader &) { ++cells; });
        if (cells != cellsWritten.at(sheet))
            return Reasons::fail(
                errorString,
                QStringLiteral("%1 holds %2 of its %3 cells").arg(name).arg(cells).arg(cellsWritten.at(sheet)));
    }
    return true;
}
}

namespace WorkbookCheck {

bool isWhole(const QByteArray &workbook, const QList<int> &cellsWritten, QString *errorString)
{
    QString reason;
    const std::optional<QList<ZipArchive::Member>> members = ZipArchive::read(workbook, &reason);
    if (!members)
        return Reasons::fail(errorString, reason);
    Parts parts;
    for (const ZipArchive::Member &member : *members) {
        if (isXml(member.name) && !isWellFormed(member.bytes))
            return Reasons::fail(errorString, QStringLiteral("%1 is cut short").arg(member.name));
        parts.insert(member.name, member.bytes);
    }
    if (!parts.contains(ContentTypes))
        return Reasons::fail(errorString, QStringLiteral("%1 is missing").arg(ContentTypes));
    for (const QString &name : namedParts(parts)) {
        if (!parts.contains(name))
            return Reasons::fail(errorString, QStringLiteral("%1 is missing").arg(name));
    }
    return sharedStringsAreWhole(parts, errorString) && cellsAreWhole(parts, cellsWritten, errorString);
}

}
