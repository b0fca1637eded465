#pragma once

#include <QTimer>
#include <QWidget>

class BudgetChart;
class Document;
class QChartView;
class QCheckBox;
class QLabel;

// The Budget view beside the sheet: a line of the build's totals and a bar for each row that
// holds an amount, or only for those over budget, saying so when none is. It follows every change of the sheet, and
// a click on a bar makes its row the sheet's current row.
class BudgetView : public QWidget
{
    Q_OBJECT

public:
    // The document's sheet, whose current row a click on a bar moves, and its history for the
    // change orders and the contingency.
    explicit BudgetView(Document &document, QWidget *parent = nullptr);
    // Brings the chart up to date with the sheet now rather than at the next turn of the
    // event loop, where edits coming in together are shown at once.
    void refresh();

protected:
    void changeEvent(QEvent *event) override;

private:
    void selectRow(int row);

    Document &m_document;
    QLabel *m_totals = nullptr;
    QCheckBox *m_onlyOverBudget = nullptr;
    BudgetChart *m_chart = nullptr;
    QChartView *m_chartView = nullptr;
    // Said in place of a chart of no bars, whose axes would only show a scale of nothing.
    QLabel *m_noBars = nullptr;
    QTimer m_pendingRefresh;
};
