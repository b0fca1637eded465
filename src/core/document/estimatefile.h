#pragma once

#include "estimatecontent.h"

#include <QList>
#include <QString>

#include <optional>

class QIODevice;

// The .vrn file: Windows-1252 text, CR LF record ends, a version line, a line of the three
// header texts and one line of seven quoted texts for each item row. Other programs
// read and write the same bytes, so the layout never changes. The history follows these 38
// records, where readers that know nothing of it do not look.
class EstimateFile
{
public:
    // No file the program writes is larger; no file larger is read. A full sheet takes a few
    // thousand bytes and a draw with every row less than two thousand, so this holds
    // hundreds of draws.
    static constexpr qint64 MaximumSize = 1024 * 1024;

    // Characters that Windows-1252 cannot hold are stored as "?"; this says where.
    // Row 0 is the header line (column 1 name, 2 address, 3 builder); rows 1..36 are
    // the item rows with their data columns 1..7. A text of the history names its place.
    struct LostText
    {
        int row = 0;
        int column = 0;
        QString characters;
        QString place;
        friend bool operator==(const LostText &, const LostText &) = default;
    };

    // The bytes of the file for this content.
    static QByteArray encode(const EstimateContent &content, QList<LostText> *lostTexts = nullptr);
    // The content of a file, or nothing when it is not a whole estimate file. A history that
    // cannot be read leaves the content's history empty and says why in its historyError.
    static std::optional<EstimateContent> decode(QIODevice &device);

    // Writes a new file and puts it in place of the old one only when it is complete;
    // lostTexts, when given, learns which characters were stored as "?".
    static bool save(const QString &path, const EstimateContent &content, QString *errorString = nullptr,
                     QList<LostText> *lostTexts = nullptr);
    // The same for bytes already encoded.
    static bool write(const QString &path, const QByteArray &bytes, QString *errorString = nullptr);
    // errorString, when given, learns why a file could not be read.
    static std::optional<EstimateContent> load(const QString &path, QString *errorString = nullptr);
};
