#pragma once

#include "estimatecontent.h"

#include <QString>

// What a file that reads as an estimate gave, looked over for signs of damage. The format
// counts fields, not lines, so one field too many or too few (a blank line, a stray comma, a
// line lost or doubled) shifts every text after it into the wrong column or row, and the
// estimate opens with wrong totals and names among the amounts.
namespace DamageCheck {
// True when a text holds a control character: no estimate holds any but tabs and line breaks,
// and a file that does is something else.
bool holdsControlCharacters(const EstimateContent &content);
// A warning naming the rows that look shifted ("This file may be damaged: rows 3-36 look
// shifted by one column"), or nothing. A row's category name is where the file has it only
// in an estimate as written: several of them one place off tell a shift that notes among the
// amounts ("TBD", "see invoice") or descriptions of one's own never make.
QString shiftWarning(const EstimateContent &content);
}
