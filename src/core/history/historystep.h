#pragma once

#include "core/sheet/estimatesheet.h"
#include "estimatehistory.h"

#include <QList>
#include <QString>

#include <array>

// What one command changed of the sheet's rows and of the history, taken before and after
// it ran, so that Undo and Redo can put either side back whole: the texts of the rows it
// may touch, the values the recalculation filled in among them, and the history.
class HistoryStep
{
public:
    // Takes the before side: the rows' texts and the history as they are now.
    HistoryStep(const EstimateSheet &sheet, const EstimateHistory &history, const QList<int> &rows);
    // Takes the after side, once the command has run.
    void finish(const EstimateSheet &sheet, const EstimateHistory &history);
    bool changesSomething() const;

    // Puts that side's texts back into the rows and recalculates the totals; the history of
    // that side is for the caller to put in place.
    const EstimateHistory &restoreBefore(EstimateSheet &sheet) const;
    const EstimateHistory &restoreAfter(EstimateSheet &sheet) const;

private:
    using RowTexts = std::array<QString, EstimateSheet::DataColumnCount>;
    struct Side
    {
        QList<RowTexts> rows;
        EstimateHistory history;
        friend bool operator==(const Side &, const Side &) = default;
    };

    Side sideOf(const EstimateSheet &sheet, const EstimateHistory &history) const;
    const EstimateHistory &restore(EstimateSheet &sheet, const Side &side) const;

    QList<int> m_rows;
    Side m_before;
    Side m_after;
};
