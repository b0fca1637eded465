#pragma once

#include "estimatehistory.h"

#include <QList>
#include <QString>
#include <QStringList>

class Grid;

// The papers kept with the estimate: what each is, what it belongs to, and the rules that keep
// the list whole. Their copies lie in the documents folder, which the core does not touch.
namespace Papers {
QString kindName(Paper::Kind kind);
QList<Paper::Kind> kinds();

// What the paper belongs to, as the user reads it: "Draw 2", "Draw 2, 5 Rough Lumber",
// "Change order 3", "Summit Roofing".
QString subjectText(const Grid &grid, const EstimateHistory &history, const Paper &paper);

int nextNumber(const EstimateHistory &history);
const Paper *find(const EstimateHistory &history, int number);

// Adds a paper with a number never given: it belongs to a draw recorded or the next one, a
// line of a row of the sheet, a change order or a payee the estimate holds.
bool add(EstimateHistory &history, const Paper &paper, QString *errorString = nullptr);
// Takes the paper off the list; its copy stays in the folder. Refused while a lien waiver
// names it as its signed paper.
bool remove(EstimateHistory &history, int number, QString *errorString = nullptr);

QStringList registerTitles();
// The paper's line in the list; state says whether its copy is there as attached.
QStringList registerTexts(const Grid &grid, const EstimateHistory &history, const Paper &paper, const QString &state);
}
