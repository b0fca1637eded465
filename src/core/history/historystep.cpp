#include "historystep.h"

HistoryStep::HistoryStep(const EstimateSheet &sheet, const EstimateHistory &history, const QList<int> &rows)
    : m_rows(rows)
    , m_before(sideOf(sheet, history))
    , m_after(m_before)
{
}

void HistoryStep::finish(const EstimateSheet &sheet, const EstimateHistory &history)
{
    m_after = sideOf(sheet, history);
}

bool HistoryStep::changesSomething() const
{
    return m_after != m_before;
}

const EstimateHistory &HistoryStep::restoreBefore(EstimateSheet &sheet) const
{
    return restore(sheet, m_before);
}

const EstimateHistory &HistoryStep::restoreAfter(EstimateSheet &sheet) const
{
    return restore(sheet, m_after);
}

HistoryStep::Side HistoryStep::sideOf(const EstimateSheet &sheet, const EstimateHistory &history) const
{
    Side side{{}, history};
    for (const int row : m_rows) {
        RowTexts texts;
        for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column)
            texts[size_t(column - 1)] = sheet.grid().text(row, column);
        side.rows << texts;
    }
    return side;
}

const EstimateHistory &HistoryStep::restore(EstimateSheet &sheet, const Side &side) const
{
    Grid &grid = sheet.grid();
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        for (int column = 1; column <= EstimateSheet::DataColumnCount; ++column)
            grid.setText(m_rows.at(i), column, side.rows.at(i)[size_t(column - 1)]);
        sheet.recalculateRow(m_rows.at(i));
    }
    sheet.recalculateColumnTotals();
    return side.history;
}
