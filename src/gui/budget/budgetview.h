#pragma once

#include "core/history/estimatehistory.h"

#include <QTimer>
#include <QWidget>

class BudgetChart;
class EstimateSheet;
class QCheckBox;
class QLabel;

// The Budget view beside the sheet: a line of the build's totals and a bar for each row that
// holds an amount, or only for those over budget. It follows every change of the sheet, and
// a click on a bar makes its row the sheet's current row.
class BudgetView : public QWidget
{
    Q_OBJECT

public:
    explicit BudgetView(EstimateSheet &sheet, QWidget *parent = nullptr);

    // The history the figures read the change orders and the contingency from.
    void setHistory(const EstimateHistory &history);
    // Brings the chart up to date with the sheet now rather than at the next turn of the
    // event loop, where edits coming in together are shown at once.
    void refresh();

protected:
    void changeEvent(QEvent *event) override;

private:
    void selectRow(int row);

    EstimateSheet &m_sheet;
    EstimateHistory m_history;
    QLabel *m_totals = nullptr;
    QCheckBox *m_onlyOverBudget = nullptr;
    BudgetChart *m_chart = nullptr;
    QTimer m_pendingRefresh;
};
