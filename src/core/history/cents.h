#pragma once

#include "estimatehistory.h"

#include <QString>

#include <optional>

// Amounts of the sheet's money cells as whole cents, so that the history's arithmetic adds
// up to the cent, and back to the money text the sheet shows.
namespace CentsText {
// The amount a money cell holds: an empty cell holds nothing, which counts as zero; a note
// ("TBD") holds no amount at all.
std::optional<Cents> read(const QString &text);
QString moneyText(Cents cents);
}
