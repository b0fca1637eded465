#include "changeorderregister.h"

#include "changeordercommands.h"
#include "changeorderdialog.h"
#include "changeordervoiddialog.h"
#include "core/document/document.h"
#include "core/document/messageboxes.h"
#include "core/history/changeorders.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/moneycents.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Change Orders");
// The register's column of amounts, after the number, the date, the row and the description.
constexpr int AmountColumn = 4;
}

ChangeOrderRegister::ChangeOrderRegister(ChangeOrderCommands &commands, MessageBoxes &messages, QWidget *parent)
    : QWidget(parent)
    , m_commands(commands)
    , m_messages(messages)
    , m_table(new QTableWidget(0, int(ChangeOrders::registerTitles().size()), this))
    , m_contingency(new QComboBox(this))
    , m_handEdits(new QLabel(this))
{
    setObjectName(QStringLiteral("changeOrderRegister"));
    m_table->setObjectName(QStringLiteral("tblChangeOrders"));
    m_table->setAccessibleName(Title);
    m_table->setHorizontalHeaderLabels(ChangeOrders::registerTitles());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_contingency->setObjectName(QStringLiteral("cboContingencyRow"));
    m_handEdits->setObjectName(QStringLiteral("lblHandEdits"));
    m_handEdits->setWordWrap(true);
    m_handEdits->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *buttons = new QHBoxLayout;
    m_new = addButton(QStringLiteral("Ne&w..."), QStringLiteral("cmdNewChangeOrder"));
    m_edit = addButton(QStringLiteral("Ed&it..."), QStringLiteral("cmdEditChangeOrder"));
    m_approve = addButton(QStringLiteral("&Approve"), QStringLiteral("cmdApproveChangeOrder"));
    m_reject = addButton(QStringLiteral("&Reject"), QStringLiteral("cmdRejectChangeOrder"));
    m_void = addButton(QStringLiteral("Mar&k Void..."), QStringLiteral("cmdVoidChangeOrder"));
    m_delete = addButton(QStringLiteral("De&lete"), QStringLiteral("cmdDeleteChangeOrder"));
    for (QPushButton *button : {m_new, m_edit, m_approve, m_reject, m_void, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *contingency = new QFormLayout;
    contingency->addRow(QStringLiteral("&Contingency:"), m_contingency);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    layout->addLayout(contingency);
    layout->addWidget(m_handEdits);

    connect(m_new, &QPushButton::clicked, this, [this] {
        const EstimateSheet &sheet = m_commands.sheet();
        ChangeOrder order;
        order.number = ChangeOrders::nextNumber(m_commands.history());
        order.date = QDate::currentDate();
        order.row = std::clamp(sheet.grid().currentRow(), 1, int(EstimateSheet::ItemRowCount));
        editOrder(order);
    });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        if (const ChangeOrder *order = selectedOrder())
            editOrder(*order);
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, m_edit, &QPushButton::click);
    connect(m_approve, &QPushButton::clicked, this, [this] { setSelectedStatus(ChangeOrder::Status::Approved); });
    connect(m_reject, &QPushButton::clicked, this, [this] { setSelectedStatus(ChangeOrder::Status::Rejected); });
    connect(m_void, &QPushButton::clicked, this, &ChangeOrderRegister::voidSelected);
    connect(m_delete, &QPushButton::clicked, this, &ChangeOrderRegister::deleteSelected);
    connect(m_contingency, &QComboBox::activated, this, &ChangeOrderRegister::chooseContingencyRow);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &ChangeOrderRegister::updateButtons);

    // The row names and the hand-edit check follow the sheet; several cells change with each
    // edit, so one refresh follows all of them.
    m_pendingRefresh.setSingleShot(true);
    m_pendingRefresh.setInterval(0);
    connect(&m_pendingRefresh, &QTimer::timeout, this, &ChangeOrderRegister::refresh);
    connect(&m_commands.sheet().grid(), &Grid::cellChanged, &m_pendingRefresh, qOverload<>(&QTimer::start));
    connect(&m_commands.document(), &Document::historyChanged, this, &ChangeOrderRegister::refresh);
    refresh();
}

QPushButton *ChangeOrderRegister::addButton(const QString &text, const QString &name)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    return button;
}

void ChangeOrderRegister::refresh()
{
    m_pendingRefresh.stop();
    fillTable();
    fillContingencyRows();
    showHandEdits();
    updateButtons();
}

void ChangeOrderRegister::fillTable()
{
    const int selected = selectedOrder() ? selectedOrder()->number : 0;
    const Grid &grid = m_commands.sheet().grid();
    const QList<ChangeOrder> &orders = m_commands.history().changeOrders;
    m_table->setRowCount(int(orders.size()));
    for (int i = 0; i < orders.size(); ++i) {
        const ChangeOrder &order = orders.at(i);
        const QStringList texts = ChangeOrders::registerTexts(grid, order);
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setData(Qt::UserRole, order.number);
            if (column == 0 || column == AmountColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // A deduction is heard with its sign, not as a figure in brackets.
            if (column == AmountColumn)
                item->setData(Qt::AccessibleTextRole, MoneyCents::spokenText(texts.at(column)));
            // A void order's amount is struck through, as on paper: counted no more, still there.
            if (order.voided) {
                QFont font = item->font();
                font.setStrikeOut(column == AmountColumn);
                font.setItalic(true);
                item->setFont(font);
            }
            m_table->setItem(i, column, item);
        }
        if (order.number == selected)
            m_table->selectRow(i);
    }
    m_table->resizeColumnsToContents();
}

void ChangeOrderRegister::fillContingencyRows()
{
    const Grid &grid = m_commands.sheet().grid();
    m_contingency->clear();
    for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
        m_contingency->addItem(EstimateSheet::rowName(grid, row), row);
    m_contingency->setCurrentIndex(m_contingency->findData(m_commands.history().contingencyRow));
}

void ChangeOrderRegister::showHandEdits()
{
    const Grid &grid = m_commands.sheet().grid();
    QStringList lines;
    for (const ChangeOrders::HandEdit &edit : ChangeOrders::handEdits(grid, m_commands.history()))
        lines << ChangeOrders::handEditText(grid, edit);
    m_handEdits->setText(lines.join(u'\n'));
    m_handEdits->setVisible(!lines.isEmpty());
}

void ChangeOrderRegister::updateButtons()
{
    const ChangeOrder *order = selectedOrder();
    const bool standing = order && !order->voided;
    m_edit->setEnabled(standing);
    m_approve->setEnabled(standing && order->status != ChangeOrder::Status::Approved);
    m_reject->setEnabled(standing && order->status != ChangeOrder::Status::Rejected);
    m_void->setEnabled(order && order->isInForce());
    m_delete->setEnabled(standing && order->status == ChangeOrder::Status::Pending);
}

const ChangeOrder *ChangeOrderRegister::selectedOrder() const
{
    const QList<QTableWidgetItem *> items = m_table->selectedItems();
    return items.isEmpty() ? nullptr
                           : ChangeOrders::find(m_commands.history(), items.first()->data(Qt::UserRole).toInt());
}

void ChangeOrderRegister::editOrder(const ChangeOrder &order)
{
    ChangeOrderDialog dialog(m_commands.sheet().grid(), order, this);
    if (dialog.exec() != QDialog::Accepted || !mayTakeFromContingency(dialog.order()))
        return;
    QString errorString;
    report(m_commands.put(dialog.order(), &errorString), errorString);
}

bool ChangeOrderRegister::mayTakeFromContingency(const ChangeOrder &order)
{
    const QString question = ChangeOrders::overdrawQuestion(m_commands.sheet().grid(), m_commands.history(), order);
    return question.isEmpty() || m_messages.askYesNoDefaultNo(question, Title) == MessageBoxes::Yes;
}

void ChangeOrderRegister::setSelectedStatus(ChangeOrder::Status status)
{
    const ChangeOrder *order = selectedOrder();
    if (!order)
        return;
    const int number = order->number;
    ChangeOrder changed = *order;
    changed.status = status;
    if (!mayTakeFromContingency(changed))
        return;
    QString errorString;
    report(m_commands.setStatus(number, status, &errorString), errorString);
}

void ChangeOrderRegister::voidSelected()
{
    const ChangeOrder *order = selectedOrder();
    if (!order)
        return;
    ChangeOrderVoidDialog dialog(*order, this);
    const int number = order->number;
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString errorString;
    report(m_commands.voidOrder(number, dialog.voided(), &errorString), errorString);
}

void ChangeOrderRegister::deleteSelected()
{
    const ChangeOrder *order = selectedOrder();
    if (!order)
        return;
    const int number = order->number;
    if (m_messages.askYesNo(QStringLiteral("Delete change order %1, \"%2\"?").arg(number).arg(order->description),
                            Title)
        != MessageBoxes::Yes)
        return;
    QString errorString;
    report(m_commands.remove(number, &errorString), errorString);
}

void ChangeOrderRegister::chooseContingencyRow()
{
    QString errorString;
    report(m_commands.setContingencyRow(m_contingency->currentData().toInt(), &errorString), errorString);
    // A refused choice shows the row that is still the contingency.
    fillContingencyRows();
}

void ChangeOrderRegister::report(bool done, const QString &errorString)
{
    if (!done)
        m_messages.showWarning(errorString, Title);
}
