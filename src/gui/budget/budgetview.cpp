#include "budgetview.h"

#include "budgetchart.h"
#include "core/budget/budgetfigures.h"
#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"

#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

BudgetView::BudgetView(Document &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_totals(new QLabel(this))
    , m_onlyOverBudget(new QCheckBox(QStringLiteral("&Only over budget"), this))
    , m_chart(new BudgetChart)
    , m_chartView(new QChartView(m_chart, this))
    , m_noBars(new QLabel(QStringLiteral("No row is over budget"), this))
{
    setObjectName(QStringLiteral("budgetView"));
    m_totals->setObjectName(QStringLiteral("lblBudgetTotals"));
    m_totals->setWordWrap(true);
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_totals->setAccessibleName(QStringLiteral("Budget totals"));
    m_onlyOverBudget->setObjectName(QStringLiteral("chkOnlyOverBudget"));
    m_chartView->setObjectName(QStringLiteral("budgetChart"));
    m_chartView->setAccessibleName(QStringLiteral("Budget chart"));
    m_chartView->setAccessibleDescription(QStringLiteral(
        "A bar for each row: paid, this period, left to pay, and over budget. Click a bar to go to its row."));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_noBars->setObjectName(QStringLiteral("lblNoBars"));
    m_noBars->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_noBars->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_totals);
    layout->addWidget(m_onlyOverBudget);
    layout->addWidget(m_chartView, 1);
    layout->addWidget(m_noBars, 1);

    m_chart->setColours(palette());
    m_chart->setTextFont(font());
    // Several cells change with each edit (the row's remainder, the totals): one refresh
    // after all of them.
    m_pendingRefresh.setSingleShot(true);
    m_pendingRefresh.setInterval(0);
    connect(&m_pendingRefresh, &QTimer::timeout, this, &BudgetView::refresh);
    connect(&m_document.sheet().grid(), &Grid::cellChanged, &m_pendingRefresh, qOverload<>(&QTimer::start));
    connect(&m_document, &Document::historyChanged, &m_pendingRefresh, qOverload<>(&QTimer::start));
    connect(m_onlyOverBudget, &QCheckBox::toggled, this, &BudgetView::refresh);
    connect(m_chart, &BudgetChart::rowClicked, this, &BudgetView::selectRow);
    refresh();
}

void BudgetView::refresh()
{
    m_pendingRefresh.stop();
    const BudgetFigures figures(m_document.sheet().grid(), m_document.history());
    m_totals->setText(figures.totalsLine());
    const bool onlyOver = m_onlyOverBudget->isChecked();
    const QList<BudgetLine> lines = onlyOver ? figures.overBudgetLines() : figures.lines();
    m_chart->showLines(lines);
    const bool noBars = onlyOver && lines.isEmpty();
    m_chartView->setVisible(!noBars);
    m_noBars->setVisible(noBars);
}

void BudgetView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        m_chart->setColours(palette());
    if (event->type() == QEvent::FontChange)
        m_chart->setTextFont(font());
    QWidget::changeEvent(event);
}

void BudgetView::selectRow(int row)
{
    Grid &grid = m_document.sheet().grid();
    grid.setCurrentCell(row, std::max(grid.currentColumn(), grid.fixedColumns()));
}
