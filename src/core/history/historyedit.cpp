#include "historyedit.h"

HistoryEdit::HistoryEdit(EstimateSheet &sheet, const EstimateHistory &history, const QList<int> &rows,
                         const Change &change)
    : m_history(history)
{
    HistoryStep step(sheet, history, rows);
    m_refused = !change(m_history);
    if (m_refused) {
        m_history = history;
        return;
    }
    step.finish(sheet, m_history);
    if (step.changesSomething())
        m_step = std::move(step);
}
