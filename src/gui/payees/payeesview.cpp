#include "payeesview.h"

#include "core/document/document.h"
#include "core/document/messageboxes.h"
#include "core/history/lienwaivers.h"
#include "core/history/payees.h"
#include "core/sheet/estimatesheet.h"
#include "payeecommands.h"
#include "payeedialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Payees");
constexpr int WaiverAmountColumn = 2;

void fillRow(QTableWidget *table, int index, const QStringList &texts, int number)
{
    for (int column = 0; column < texts.size(); ++column) {
        auto *item = new QTableWidgetItem(texts.at(column));
        item->setData(Qt::UserRole, number);
        table->setItem(index, column, item);
    }
}
}

PayeesView::PayeesView(Document &document, QUndoStack &undoStack, MessageBoxes &messages, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_commands(new PayeeCommands(document, undoStack, this))
    , m_messages(messages)
    , m_waiversTitle(new QLabel(this))
{
    setObjectName(QStringLiteral("payeesView"));
    m_payees = addTable(Payees::registerTitles(), QStringLiteral("tblPayees"), Title);
    m_add = addButton(QStringLiteral("&Add Payee..."), QStringLiteral("cmdAddPayee"), QStringLiteral("Add payee"));
    m_edit = addButton(QStringLiteral("&Edit..."), QStringLiteral("cmdEditPayee"), QStringLiteral("Edit payee"));
    m_delete = addButton(QStringLiteral("&Delete"), QStringLiteral("cmdDeletePayee"), QStringLiteral("Delete payee"));
    m_waivers =
        addTable(LienWaivers::registerTitles(), QStringLiteral("tblLienWaivers"), QStringLiteral("Lien waivers"));
    m_addWaiver =
        addButton(QStringLiteral("Add &Waiver..."), QStringLiteral("cmdAddWaiver"), QStringLiteral("Add lien waiver"));
    m_markReceived = addButton(QStringLiteral("Mark &Received..."), QStringLiteral("cmdMarkWaiverReceived"),
                               QStringLiteral("Mark lien waiver received"));
    m_removeWaiver =
        addButton(QStringLiteral("Remove"), QStringLiteral("cmdRemoveWaiver"), QStringLiteral("Remove lien waiver"));
    m_waiversTitle->setObjectName(QStringLiteral("lblLienWaivers"));
    m_waiversTitle->setWordWrap(true);

    auto *payeeButtons = new QHBoxLayout;
    for (QPushButton *button : {m_add, m_edit, m_delete})
        payeeButtons->addWidget(button);
    payeeButtons->addStretch();
    auto *waiverButtons = new QHBoxLayout;
    for (QPushButton *button : {m_addWaiver, m_markReceived, m_removeWaiver})
        waiverButtons->addWidget(button);
    waiverButtons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_payees, 3);
    layout->addLayout(payeeButtons);
    layout->addWidget(m_waiversTitle);
    layout->addWidget(m_waivers, 2);
    layout->addLayout(waiverButtons);
    // The keys go through the list, its buttons, then the waivers and theirs, as they are seen.
    setTabOrder(m_payees, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_waivers);
    setTabOrder(m_waivers, m_addWaiver);
    setTabOrder(m_addWaiver, m_markReceived);
    setTabOrder(m_markReceived, m_removeWaiver);

    connect(m_add, &QPushButton::clicked, this, &PayeesView::addPayee);
    connect(m_edit, &QPushButton::clicked, this, [this] {
        if (const Payee *payee = selectedPayee())
            editPayee(*payee);
    });
    connect(m_payees, &QTableWidget::cellDoubleClicked, m_edit, &QPushButton::click);
    connect(m_delete, &QPushButton::clicked, this, &PayeesView::deleteSelected);
    connect(m_addWaiver, &QPushButton::clicked, this, &PayeesView::addWaiver);
    connect(m_markReceived, &QPushButton::clicked, this, &PayeesView::markReceived);
    connect(m_removeWaiver, &QPushButton::clicked, this, &PayeesView::removeWaiver);
    connect(m_payees, &QTableWidget::itemSelectionChanged, this, [this] {
        fillWaivers();
        updateButtons();
    });
    connect(m_waivers, &QTableWidget::itemSelectionChanged, this, &PayeesView::updateButtons);
    connect(&m_document, &Document::historyChanged, this, &PayeesView::refresh);
    refresh();
}

QPushButton *PayeesView::addButton(const QString &text, const QString &name, const QString &accessibleName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    return button;
}

QTableWidget *PayeesView::addTable(const QStringList &titles, const QString &name, const QString &accessibleName)
{
    auto *table = new QTableWidget(0, int(titles.size()), this);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void PayeesView::refresh()
{
    fillPayees();
    fillWaivers();
    updateButtons();
}

void PayeesView::fillPayees()
{
    const int selected = selectedPayee() ? selectedPayee()->number : 0;
    const QList<Payee> &payees = m_commands->history().payees;
    const QSignalBlocker blocker(m_payees);
    m_payees->clearSelection();
    m_payees->setRowCount(int(payees.size()));
    for (int index = 0; index < payees.size(); ++index) {
        fillRow(m_payees, index, Payees::registerTexts(payees.at(index)), payees.at(index).number);
        if (payees.at(index).number == selected)
            m_payees->selectRow(index);
    }
    m_payees->resizeColumnsToContents();
}

void PayeesView::fillWaivers()
{
    const Payee *payee = selectedPayee();
    const LienWaiver *selected = selectedWaiver();
    const std::optional<LienWaiver> kept = selected ? std::optional(*selected) : std::nullopt;
    m_shownWaivers = payee ? LienWaivers::of(m_commands->history(), payee->number) : QList<LienWaiver>();
    const QString title = payee ? QStringLiteral("Lien waivers of payee %1, %2").arg(payee->number).arg(payee->name)
                                : QStringLiteral("Lien waivers: select a payee");
    m_waiversTitle->setText(title);
    m_waivers->setAccessibleName(title);
    const QSignalBlocker blocker(m_waivers);
    m_waivers->clearSelection();
    m_waivers->setRowCount(int(m_shownWaivers.size()));
    for (int index = 0; index < m_shownWaivers.size(); ++index) {
        const LienWaiver &waiver = m_shownWaivers.at(index);
        fillRow(m_waivers, index, LienWaivers::registerTexts(waiver), index);
        m_waivers->item(index, WaiverAmountColumn)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (kept && kept->draw == waiver.draw && kept->kind == waiver.kind)
            m_waivers->selectRow(index);
    }
    m_waivers->resizeColumnsToContents();
}

void PayeesView::updateButtons()
{
    const bool payee = selectedPayee() != nullptr;
    m_edit->setEnabled(payee);
    m_delete->setEnabled(payee);
    m_addWaiver->setEnabled(payee);
    const LienWaiver *waiver = selectedWaiver();
    m_markReceived->setEnabled(waiver && waiver->status != LienWaiver::Status::Received);
    m_removeWaiver->setEnabled(waiver != nullptr);
}

const Payee *PayeesView::selectedPayee() const
{
    const QList<QTableWidgetItem *> items = m_payees->selectedItems();
    return items.isEmpty() ? nullptr : Payees::find(m_commands->history(), items.first()->data(Qt::UserRole).toInt());
}

const LienWaiver *PayeesView::selectedWaiver() const
{
    const QList<QTableWidgetItem *> items = m_waivers->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int index = items.first()->data(Qt::UserRole).toInt();
    return index >= 0 && index < m_shownWaivers.size() ? &m_shownWaivers.at(index) : nullptr;
}

void PayeesView::addPayee()
{
    Payee payee;
    payee.number = Payees::nextNumber(m_commands->history());
    editPayee(payee);
}

// A change the list refuses opens the dialog again as the user left it, so that nothing typed
// is lost.
void PayeesView::editPayee(const Payee &payee)
{
    Payee edited = payee;
    for (;;) {
        PayeeDialog dialog(m_document.sheet().grid(), edited, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        edited = dialog.payee();
        QString errorString;
        if (m_commands->put(edited, &errorString))
            return;
        report(false, errorString);
    }
}

void PayeesView::deleteSelected()
{
    const Payee *payee = selectedPayee();
    if (!payee)
        return;
    const int number = payee->number;
    if (m_messages.askYesNoDefaultNo(QStringLiteral("Delete payee %1, \"%2\"?").arg(number).arg(payee->name), Title)
        != MessageBoxes::Yes)
        return;
    QString errorString;
    report(m_commands->remove(number, &errorString), errorString);
}

void PayeesView::addWaiver()
{
    const Payee *payee = selectedPayee();
    if (!payee)
        return;
    const EstimateHistory &history = m_commands->history();
    LienWaiver waiver;
    waiver.payee = payee->number;
    // Before the first draw, the waiver goes out with the first request.
    waiver.draw = history.draws.isEmpty() ? 1 : history.draws.last().number;
    waiver.through = history.draws.isEmpty() ? QDate::currentDate() : history.draws.last().date;
    askForWaiver(waiver, LienWaiverDialog::Purpose::Request);
}

void PayeesView::markReceived()
{
    if (const LienWaiver *waiver = selectedWaiver())
        askForWaiver(*waiver, LienWaiverDialog::Purpose::Receive);
}

// As with a payee, a refused waiver comes back as the user left it.
void PayeesView::askForWaiver(LienWaiver waiver, LienWaiverDialog::Purpose purpose)
{
    for (;;) {
        LienWaiverDialog dialog(m_commands->history(), waiver, purpose, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        waiver = dialog.waiver();
        QString errorString;
        const bool done = purpose == LienWaiverDialog::Purpose::Request
            ? m_commands->addWaiver(waiver, &errorString)
            : m_commands->markReceived(waiver, &errorString);
        if (done)
            return;
        report(false, errorString);
    }
}

void PayeesView::removeWaiver()
{
    const LienWaiver *selected = selectedWaiver();
    if (!selected)
        return;
    const LienWaiver waiver = *selected;
    const QString question = QStringLiteral("Remove the %1 waiver of payee %2 for draw %3?")
                                 .arg(LienWaivers::kindName(waiver.kind).toLower())
                                 .arg(waiver.payee)
                                 .arg(waiver.draw);
    if (m_messages.askYesNoDefaultNo(question, Title) != MessageBoxes::Yes)
        return;
    QString errorString;
    report(m_commands->removeWaiver(waiver, &errorString), errorString);
}

void PayeesView::report(bool done, const QString &errorString)
{
    if (!done)
        m_messages.showWarning(errorString, Title);
}
