#include "damagecheck.h"

#include "core/sheet/categorytable.h"
#include "filetext.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {
constexpr int Columns = EstimateContent::ColumnCount;
constexpr int Rows = EstimateContent::RowCount;
// Category names found this many times one place off, the same way, are no coincidence.
constexpr int ShiftedNamesNeeded = 3;

struct Shift
{
    int fields;
    const char *name;
};

// A field too many or too few shifts the texts after it by a column; a line doubled or lost
// shifts them by a row.
constexpr std::array<Shift, 4> Shifts = {
    {{1, "one column"}, {-1, "one column"}, {Columns, "one row"}, {-Columns, "one row"}}};

// The texts of the item rows in file order: row r, column c at (r - 1) * 7 + (c - 1).
QStringList itemTexts(const EstimateContent &content)
{
    QStringList texts;
    for (const auto &row : content.cells)
        texts.append(QStringList(row.begin(), row.end()));
    return texts;
}

// How far from its place the row's category name is, in fields: 0 in its place, nothing when
// it is nowhere near (the user wrote a description of their own).
std::optional<int> offsetOfName(const QStringList &texts, int row, const QString &name)
{
    const int place = (row - 1) * Columns + 1;
    if (texts.value(place) == name)
        return 0;
    for (const Shift &shift : Shifts) {
        if (texts.value(place + shift.fields) == name)
            return shift.fields;
    }
    return std::nullopt;
}
}

namespace DamageCheck {

bool holdsControlCharacters(const EstimateContent &content)
{
    const auto holdsOne = [](const QString &text) {
        return std::any_of(text.begin(), text.end(), FileText::isControlCharacter);
    };
    return holdsOne(content.name) || holdsOne(content.address) || holdsOne(content.builder)
        || std::any_of(content.cells.begin(), content.cells.end(),
                       [&](const auto &row) { return std::any_of(row.begin(), row.end(), holdsOne); });
}

QString shiftWarning(const EstimateContent &content)
{
    const QStringList texts = itemTexts(content);
    const QStringList names = CategoryTable::names();
    std::array<std::optional<int>, Rows + 1> offsets;
    for (int row = 1; row <= names.size(); ++row)
        offsets[row] = offsetOfName(texts, row, names.at(row - 1));

    for (int first = 1; first <= names.size(); ++first) {
        const std::optional<int> shift = offsets[first];
        if (!shift || *shift == 0)
            continue;
        // The shift lasts to the end, or to a name in its place again (a second fault that
        // undid the first).
        int last = first;
        int shiftedNames = 0;
        for (; last < Rows && offsets[last + 1] != 0; ++last)
            shiftedNames += offsets[last] == shift;
        shiftedNames += offsets[last] == shift;
        if (shiftedNames < ShiftedNamesNeeded)
            continue;
        const auto kind =
            std::find_if(Shifts.begin(), Shifts.end(), [&](const Shift &s) { return s.fields == *shift; });
        return QStringLiteral("This file may be damaged: rows %1-%2 look shifted by %3")
            .arg(first)
            .arg(last)
            .arg(QLatin1String(kind->name));
    }
    return {};
}

}
