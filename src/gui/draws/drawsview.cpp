#include "drawsview.h"

#include "core/document/document.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/history/drawsnapshot.h"
#include "core/history/loanfigures.h"
#include "core/history/loanstatement.h"
#include "core/sheet/currentpayments.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"
#include "drawcommands.h"
#include "drawrequestoutput.h"

#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace {
constexpr int BasisPointsPerPercent = 100;

QTreeWidget *list(const QString &name, const QStringList &captions)
{
    auto *tree = new QTreeWidget;
    tree->setObjectName(name);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setHeaderLabels(captions);
    tree->header()->setStretchLastSection(true);
    tree->setAccessibleName(name);
    return tree;
}

void setAmount(QTreeWidgetItem *item, int column, const QString &amount)
{
    item->setText(column, amount);
    item->setData(column, Qt::AccessibleTextRole, MoneyCents::spokenText(amount));
}

// Amounts, in the columns from first to last, stand to the right and are heard with their
// sign; other texts stand to the left.
QTreeWidgetItem *item(const QStringList &texts, int firstAmount, int lastAmount)
{
    auto *item = new QTreeWidgetItem(texts);
    for (int column = firstAmount; column <= lastAmount; ++column) {
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        setAmount(item, column, texts.at(column));
    }
    return item;
}

QString stateText(const Draw &draw)
{
    const QString name = LoanStatement::stateName(draw.state());
    const auto on = [&name](const QDate &date) {
        return date.isValid() ? QStringLiteral("%1 %2").arg(name, date.toString(Qt::ISODate)) : name;
    };
    switch (draw.state()) {
    case DrawFunding::State::Submitted:
        return on(draw.funding->submitted);
    case DrawFunding::State::Funded:
        return on(draw.funding->funded) + QStringLiteral(", ") + MoneyCents::text(draw.funding->fundedAmount);
    case DrawFunding::State::Returned:
        return on(draw.funding->returned)
            + (draw.funding->returnReason.isEmpty() ? QString() : QStringLiteral(": ") + draw.funding->returnReason);
    case DrawFunding::State::Requested:
        break;
    }
    return name;
}

QString loanText(const LoanFigures &figures, bool hasLoan)
{
    QStringList lines;
    if (hasLoan)
        lines << QStringLiteral("Loan %1: funded %2, undisbursed %3.")
                     .arg(MoneyCents::text(figures.commitment), MoneyCents::text(figures.funded),
                          MoneyCents::text(figures.undisbursed));
    lines << QStringLiteral("Requested %1; retainage held %2; owner's cash %3.")
                 .arg(MoneyCents::text(figures.requested), MoneyCents::text(figures.retainageHeld),
                      MoneyCents::text(figures.ownerCash));
    if (figures.notFunded != 0)
        lines << QStringLiteral("Requested and not funded yet: %1.").arg(MoneyCents::text(figures.notFunded));
    if (figures.feesWithheld != 0 || figures.interestToDate != 0)
        lines << QStringLiteral("Fees withheld %1; interest to date %2.")
                     .arg(MoneyCents::text(figures.feesWithheld), MoneyCents::text(figures.interestToDate));
    if (!figures.balanceText().isEmpty())
        lines << figures.balanceText() + u'.';
    return lines.join(u'\n');
}

QPushButton *stateButton(const QString &caption, const QString &name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// The next draw, as recording the current payments would make it now.
QList<DrawLine> nextDrawLines(const Grid &grid)
{
    return DrawSnapshot::linesOf(grid, CurrentPayments::recordableRows(grid));
}
}

DrawsView::DrawsView(const Document &document, DrawCommands &commands, DrawRequestOutput &output, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_commands(commands)
    , m_retainage(new QDoubleSpinBox)
    , m_nextDate(new QDateEdit)
    , m_draws(list(QStringLiteral("Draws"), {"Draw", "Date", "Amount", "Note", "State"}))
    , m_rows(list(QStringLiteral("Rows of the draw"),
                  {"Item No.", "Description of Work", "Scheduled Value", "Previous Payments", "Paid in the Draw"}))
    , m_differences(new QLabel)
    , m_loan(new QLabel)
    , m_submitted(stateButton(QStringLiteral("Su&bmitted..."), QStringLiteral("submitted")))
    , m_funded(stateButton(QStringLiteral("F&unded..."), QStringLiteral("funded")))
    , m_returned(stateButton(QStringLiteral("Returned b&y Lender..."), QStringLiteral("returned")))
    , m_requestedAgain(stateButton(QStringLiteral("Re&quest Again"), QStringLiteral("requestedAgain")))
    , m_correct(stateButton(QStringLiteral("Ad&just Date and Note..."), QStringLiteral("correct")))
    , m_export(new QPushButton(QStringLiteral("E&xport Request...")))
    , m_print(new QPushButton(QStringLiteral("&Print Request...")))
{
    m_retainage->setObjectName(QStringLiteral("retainage"));
    m_retainage->setRange(0, 100);
    m_retainage->setDecimals(2);
    m_retainage->setSuffix(QStringLiteral(" %"));
    m_retainage->setKeyboardTracking(false);
    m_retainage->setAccessibleName(QStringLiteral("Retainage"));
    m_retainage->setToolTip(QStringLiteral("The share of each draw the lender holds back until the work is done; "
                                           "it applies to the draws to come."));
    m_nextDate->setObjectName(QStringLiteral("nextDate"));
    m_nextDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_nextDate->setCalendarPopup(true);
    m_nextDate->setAccessibleName(QStringLiteral("Next request's date"));
    m_nextDate->setToolTip(QStringLiteral("The date the next request goes out with, and is recorded on: its period "
                                          "ends that day."));
    auto *rate = new QFormLayout;
    rate->addRow(QStringLiteral("Re&tainage:"), m_retainage);
    rate->addRow(QStringLiteral("Next request &goes out on:"), m_nextDate);
    m_differences->setObjectName(QStringLiteral("differences"));
    m_export->setObjectName(QStringLiteral("export"));
    m_print->setObjectName(QStringLiteral("print"));
    m_differences->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_print);
    buttons->addStretch();
    auto *states = new QHBoxLayout;
    for (QPushButton *button : {m_submitted, m_funded, m_returned, m_requestedAgain, m_correct})
        states->addWidget(button);
    auto *loan = stateButton(QStringLiteral("Loan Detail&s..."), QStringLiteral("loan"));
    states->addStretch();
    states->addWidget(loan);
    m_loan->setObjectName(QStringLiteral("loanFigures"));
    m_loan->setWordWrap(true);
    m_loan->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rate);
    layout->addWidget(m_draws, 1);
    layout->addLayout(states);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_differences);
    layout->addWidget(m_loan);
    layout->addLayout(buttons);

    // The rate is set when the user is done with it (Return, or leaving the box), not at each
    // step of the arrows on the way, each of which would be an undo step of its own.
    connect(m_retainage, &QDoubleSpinBox::editingFinished, &commands, [this, &commands] {
        commands.setRetainage(int(std::lround(m_retainage->value() * BasisPointsPerPercent)));
    });
    connect(m_draws, &QTreeWidget::currentItemChanged, this, &DrawsView::showRowsOfSelectedDraw);
    connect(m_draws, &QTreeWidget::currentItemChanged, this, &DrawsView::enableStateButtons);
    const std::pair<QPushButton *, DrawFunding::State> moves[] = {{m_submitted, DrawFunding::State::Submitted},
                                                                  {m_funded, DrawFunding::State::Funded},
                                                                  {m_returned, DrawFunding::State::Returned},
                                                                  {m_requestedAgain, DrawFunding::State::Requested}};
    for (const auto &[button, state] : moves)
        connect(button, &QPushButton::clicked, &commands,
                [this, &commands, state] { commands.moveDraw(selectedDraw(), state); });
    connect(loan, &QPushButton::clicked, &commands, &DrawCommands::editLoan);
    connect(m_correct, &QPushButton::clicked, &commands, [this, &commands] { commands.correctDraw(selectedDraw()); });
    connect(m_nextDate, &QDateEdit::dateChanged, &commands, [this, &commands](const QDate &date) {
        commands.setNextRequestDate(date);
        m_draws->topLevelItem(0)->setText(1, commands.nextRequestDate().toString(Qt::ISODate));
    });
    connect(m_export, &QPushButton::clicked, this,
            [this, &output, &commands] { output.exportRequest(selectedDraw(), commands.nextRequestDate()); });
    connect(m_print, &QPushButton::clicked, this,
            [this, &output, &commands] { output.printRequest(selectedDraw(), commands.nextRequestDate()); });
    m_pendingRefresh.setSingleShot(true);
    m_pendingRefresh.setInterval(0);
    connect(&m_pendingRefresh, &QTimer::timeout, this, &DrawsView::refresh);
    connect(&document, &Document::historyChanged, this, [this] {
        m_historyChanged = true;
        m_pendingRefresh.start();
    });
    connect(&document.sheet().grid(), &Grid::cellChanged, &m_pendingRefresh, qOverload<>(&QTimer::start));
    showDraws();
}

void DrawsView::refresh()
{
    if (std::exchange(m_historyChanged, false))
        showDraws();
    else
        showNextDraw();
}

void DrawsView::showDraws()
{
    const EstimateHistory &history = m_document.history();
    {
        const QSignalBlocker quiet(m_retainage);
        m_retainage->setValue(double(history.retainageBasisPoints) / BasisPointsPerPercent);
    }
    {
        const QSignalBlocker quiet(m_nextDate);
        if (history.draws.isEmpty())
            m_nextDate->clearMinimumDate();
        else
            m_nextDate->setMinimumDate(history.draws.last().date);
        m_nextDate->setDate(m_commands.nextRequestDate());
    }
    const int selected = selectedDraw();
    m_draws->clear();
    m_draws->addTopLevelItem(item({QStringLiteral("Next"), m_commands.nextRequestDate().toString(Qt::ISODate),
                                   MoneyCents::text(DrawSnapshot::paidIn(nextDrawLines(m_document.sheet().grid()))),
                                   QStringLiteral("the next request, from the current amounts")},
                                  2, 2));
    for (const Draw &draw : history.draws)
        m_draws->addTopLevelItem(item({QString::number(draw.number), draw.date.toString(Qt::ISODate),
                                       MoneyCents::text(DrawSnapshot::paidIn(draw.lines)), draw.note, stateText(draw)},
                                      2, 2));
    m_draws->setCurrentItem(m_draws->topLevelItem(selected <= history.draws.size() ? selected : 0));
    showDifferences();
    showLoan();
    enableStateButtons();
}

// The next draw follows every amount typed; the recorded ones change only with the history.
void DrawsView::showNextDraw()
{
    setAmount(m_draws->topLevelItem(0), 2,
              MoneyCents::text(DrawSnapshot::paidIn(nextDrawLines(m_document.sheet().grid()))));
    if (selectedDraw() == 0)
        showRowsOfSelectedDraw();
    showDifferences();
    // Of the loan's figures only the balance follows the amounts typed, and only with a loan
    // to hold them against; the rest change with the history.
    if (m_document.history().loan)
        showLoan();
}

void DrawsView::showLoan()
{
    const EstimateHistory &history = m_document.history();
    const LoanFigures figures =
        LoanFigures::of(m_document.sheet().grid(), m_document.header(), history, QDate::currentDate());
    m_loan->setText(loanText(figures, history.loan.has_value()));
    m_loan->setVisible(!history.draws.isEmpty() || history.loan);
}

void DrawsView::enableStateButtons()
{
    const int draw = selectedDraw();
    const DrawFunding::State state =
        draw > 0 ? m_document.history().draws.at(draw - 1).state() : DrawFunding::State::Requested;
    m_submitted->setEnabled(draw > 0 && state == DrawFunding::State::Requested);
    m_funded->setEnabled(draw > 0
                         && (state == DrawFunding::State::Requested || state == DrawFunding::State::Submitted));
    m_returned->setEnabled(draw > 0
                           && (state == DrawFunding::State::Requested || state == DrawFunding::State::Submitted));
    m_requestedAgain->setEnabled(draw > 0 && state == DrawFunding::State::Returned);
    m_correct->setEnabled(draw > 0);
}

void DrawsView::showRowsOfSelectedDraw()
{
    m_rows->clear();
    const int draw = selectedDraw();
    const Grid &grid = m_document.sheet().grid();
    const QList<DrawLine> lines = draw < 1 ? nextDrawLines(grid) : m_document.history().draws.at(draw - 1).lines;
    for (const DrawLine &line : lines)
        m_rows->addTopLevelItem(
            item({QString::number(line.row), grid.text(line.row, EstimateSheet::DescriptionColumn).simplified(),
                  MoneyCents::text(line.scheduledValue), MoneyCents::text(line.previousPayments),
                  MoneyCents::text(line.paid)},
                 2, 4));
}

void DrawsView::showDifferences()
{
    const Grid &grid = m_document.sheet().grid();
    QStringList rows;
    for (const auto &difference : DrawRequestChecks::previousPaymentsDifferingFromHistory(grid, m_document.history()))
        rows << QStringLiteral("%1: %2 shown, %3 recorded")
                    .arg(EstimateSheet::rowName(grid, difference.row), MoneyCents::text(difference.shown),
                         MoneyCents::text(difference.recorded));
    m_differences->setText(rows.isEmpty() ? QString()
                                          : QStringLiteral("The \"Total of Previous Payment\" is not what the "
                                                           "recorded draws paid in:\n")
                                   + rows.join(u'\n'));
    m_differences->setVisible(!rows.isEmpty());
}

int DrawsView::selectedDraw() const
{
    QTreeWidgetItem *current = m_draws->currentItem();
    return current ? m_draws->indexOfTopLevelItem(current) : 0;
}
