#include "budgetchart.h"

#include "core/budget/budgetscale.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QFontMetricsF>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QPalette>
#include <QValueAxis>

#include <algorithm>

namespace {
// The share of its width within its margins that the chart gives the axis at its left, the
// labels' padding and ticks included: a label longer than that it would draw past its edge.
constexpr qreal AxisShare = 0.4;

// The words of text in lines of at most room, a word too wide cut short.
QStringList wrapped(const QString &text, const QFontMetricsF &metrics, qreal room)
{
    QStringList lines;
    for (const QString &word : text.split(u' ')) {
        const QString longer = lines.isEmpty() ? word : lines.constLast() + u' ' + word;
        if (!lines.isEmpty() && metrics.horizontalAdvance(longer) <= room)
            lines.last() = longer;
        else
            lines << metrics.elidedText(word, Qt::ElideRight, room);
    }
    return lines;
}

QColor mixed(const QColor &a, const QColor &b, qreal shareOfB)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * shareOfB,
                            a.greenF() + (b.greenF() - a.greenF()) * shareOfB,
                            a.blueF() + (b.blueF() - a.blueF()) * shareOfB);
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightnessF() < 0.5;
}

qreal dollars(Cents cents)
{
    return qreal(cents) / 100;
}

// After an edit most bars stay as they were: only the values that changed are replaced, so
// that the chart keeps its bars rather than making all of them again.
void setValues(QBarSet *set, const QList<qreal> &values)
{
    if (set->count() != values.size()) {
        set->remove(0, set->count());
        set->append(values);
        return;
    }
    for (int i = 0; i < int(values.size()); ++i) {
        if (set->at(i) != values.at(i))
            set->replace(i, values.at(i));
    }
}
}

BudgetChart::BudgetChart(QGraphicsItem *parent)
    : QChart(parent)
    , m_series(new QHorizontalStackedBarSeries(this))
    , m_rowAxis(new QBarCategoryAxis(this))
    , m_amountAxis(new QValueAxis(this))
{
    setAnimationOptions(QChart::NoAnimation);
    addSets();
    addSeries(m_series);
    addAxis(m_rowAxis, Qt::AlignLeft);
    addAxis(m_amountAxis, Qt::AlignBottom);
    m_series->attachAxis(m_rowAxis);
    m_series->attachAxis(m_amountAxis);
    // Amounts read as money reads everywhere in the program, "$1,500", whatever the desktop's
    // language: the format's number is written in the digit groups of this locale.
    setLocalizeNumbers(true);
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    // The labels are cut to their room here, line by line, so that the overrun's line stays
    // whole; the axis's own cut would take the whole label to one line and an ellipsis.
    m_rowAxis->setTruncateLabels(false);
    legend()->setAlignment(Qt::AlignBottom);
    // In a narrow view the legend cuts its names short; the whole name is under the mouse.
    legend()->setShowToolTips(true);
    connect(m_series, &QAbstractBarSeries::clicked, this, [this](int index) {
        if (index >= 0 && index < m_rows.size())
            emit rowClicked(m_rows.at(index));
    });
    connect(m_series, &QAbstractBarSeries::hovered, this,
            [this](bool status, int index) { showToolTip(status, index); });
    connect(this, &QGraphicsWidget::geometryChanged, this, &BudgetChart::fitLabels);
    connect(this, &QChart::plotAreaChanged, this, &BudgetChart::fitTicks);
}

void BudgetChart::addSets()
{
    m_paid = new QBarSet(QStringLiteral("Paid"), this);
    m_current = new QBarSet(QStringLiteral("This period"), this);
    m_usedByChangeOrders = new QBarSet(QStringLiteral("Used by change orders"), this);
    m_left = new QBarSet(QStringLiteral("Left to pay"), this);
    m_overrun = new QBarSet(QStringLiteral("Over budget"), this);
    m_series->append({m_paid, m_current, m_usedByChangeOrders, m_left, m_overrun});
}

void BudgetChart::showLines(const QList<BudgetLine> &lines)
{
    QList<qreal> paid, current, used, left, overrun;
    m_rows.clear();
    m_labelLines.clear();
    const BudgetScale scale(lines);
    // The series counts its bars from the bottom up; the sheet's first row is to be on top.
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const BudgetLine::BarParts parts = scale.drawnParts(*line);
        paid << dollars(parts.paid);
        current << dollars(parts.current);
        used << dollars(parts.usedByChangeOrders);
        left << dollars(parts.left);
        overrun << dollars(parts.overrun);
        m_labelLines << line->labelLines();
        m_rows << line->row;
    }
    const std::pair<QBarSet *, const QList<qreal> *> sets[] = {
        {m_paid, &paid}, {m_current, &current}, {m_usedByChangeOrders, &used}, {m_left, &left}, {m_overrun, &overrun}};
    for (const auto &[set, values] : sets) {
        setValues(set, *values);
        // A kind of part no bar has is left out of the legend.
        const bool shown = std::any_of(values->cbegin(), values->cend(), [](qreal value) { return value > 0; });
        for (QLegendMarker *marker : legend()->markers(m_series)) {
            if (marker->label() == set->label())
                marker->setVisible(shown);
        }
    }
    fitLabels();
    showScale(scale);
}

void BudgetChart::showScale(const BudgetScale &scale)
{
    m_scale = scale;
    const QString format = scale.decimals() == 0 ? QStringLiteral("$%.0f") : QStringLiteral("$%.2f");
    if (m_amountAxis->labelFormat() != format)
        m_amountAxis->setLabelFormat(format);
    if (m_amountAxis->min() != 0 || m_amountAxis->max() != scale.end())
        m_amountAxis->setRange(0, scale.end());
    fitTicks();
}

// The axis's labels are rich text: the overrun goes on a line of its own, so that the label
// fits beside the bars in a view of a third of the window, and on two where the view is
// narrower still; the row's name is cut short.
void BudgetChart::fitLabels()
{
    const QFontMetricsF metrics(m_rowAxis->labelsFont());
    const qreal room = labelRoom();
    QStringList labels;
    for (const QStringList &lines : m_labelLines) {
        QStringList shown = {metrics.elidedText(lines.constFirst(), Qt::ElideRight, room)};
        for (qsizetype line = 1; line < lines.size(); ++line)
            shown += wrapped(lines.at(line), metrics, room);
        for (QString &text : shown)
            text = text.toHtmlEscaped();
        labels << shown.join(QStringLiteral("<br>"));
    }
    if (m_rowAxis->categories() != labels)
        m_rowAxis->setCategories(labels);
}

// What the axis leaves its labels of its share, the padding and ticks taken off; never less
// than a row's number with the start of its name: a label still says which row it is.
qreal BudgetChart::labelRoom() const
{
    const QFontMetricsF metrics(m_rowAxis->labelsFont());
    qreal widest = 0;
    for (const QStringList &lines : m_labelLines) {
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const qreal share = AxisShare * (size().width() - margins().left() - margins().right()) - metrics.height();
    return std::min(widest, std::max(share, metrics.horizontalAdvance(QStringLiteral("00 Mmmmm\u2026"))));
}

// Until the chart is first laid out, the scale's own ticks.
void BudgetChart::fitTicks()
{
    const QFontMetricsF metrics(m_amountAxis->labelsFont());
    const qreal length = plotArea().width();
    const int ticks = length > 0
        ? m_scale.tickCountFor(length, metrics.horizontalAdvance(m_scale.tickText(m_scale.end())), metrics.height())
        : m_scale.tickCount();
    if (m_amountAxis->tickCount() != ticks)
        m_amountAxis->setTickCount(ticks);
}

// A label cut short is there whole where the mouse rests on its bar.
void BudgetChart::showToolTip(bool hovered, int index)
{
    setToolTip(hovered && index >= 0 && index < m_labelLines.size() ? m_labelLines.at(index).join(u'\n') : QString());
}

QColor BudgetChart::overrunColour(const QPalette &palette)
{
    return isDark(palette) ? QColor(255, 107, 107) : QColor(200, 30, 30);
}

void BudgetChart::setColours(const QPalette &palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    const QColor highlight = palette.color(QPalette::Highlight);
    setBackgroundBrush(base);
    setBackgroundPen(Qt::NoPen);
    setTitleBrush(text);
    legend()->setLabelColor(text);
    m_paid->setColor(highlight);
    m_current->setColor(mixed(highlight, base, 0.55));
    m_usedByChangeOrders->setColor(mixed(text, base, 0.45));
    m_left->setColor(mixed(text, base, 0.8));
    m_overrun->setColor(overrunColour(palette));
    for (QBarSet *set : m_series->barSets())
        set->setBorderColor(base);
    for (QAbstractAxis *axis : {static_cast<QAbstractAxis *>(m_rowAxis), static_cast<QAbstractAxis *>(m_amountAxis)}) {
        axis->setLabelsColor(text);
        axis->setLinePenColor(mixed(text, base, 0.5));
        axis->setGridLineColor(mixed(text, base, 0.85));
    }
}

void BudgetChart::setTextFont(const QFont &font)
{
    m_rowAxis->setLabelsFont(font);
    m_amountAxis->setLabelsFont(font);
    legend()->setFont(font);
    fitLabels();
    fitTicks();
}
