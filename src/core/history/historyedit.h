#pragma once

#include "historystep.h"

#include <functional>
#include <optional>

// One change of the history, and of the rows of the sheet it may touch, as every command
// makes it: the change runs on a copy of the history, both sides are compared, and a step
// that takes it back comes out only when something changed. A change that refuses (returns
// false, having said why) leaves the history as it was.
class HistoryEdit
{
public:
    using Change = std::function<bool(EstimateHistory &history)>;

    HistoryEdit(EstimateSheet &sheet, const EstimateHistory &history, const QList<int> &rows, const Change &change);

    bool isRefused() const { return m_refused; }
    // The step to undo and redo; nothing when the change was refused or changed nothing.
    const std::optional<HistoryStep> &step() const { return m_step; }
    // The history after the change.
    const EstimateHistory &history() const { return m_history; }

private:
    EstimateHistory m_history;
    std::optional<HistoryStep> m_step;
    bool m_refused = false;
};
