#include "estimatestatusbar.h"

#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/grid.h"
#include "core/sheet/money.h"
#include "noticeaccessible.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

EstimateStatusBar::EstimateStatusBar(const Document &document, const Grid &grid, const QWidget *sheet, QWidget *parent)
    : QStatusBar(parent)
    , m_document(document)
    , m_grid(grid)
    , m_sheet(sheet)
    , m_fileName(new QLabel(this))
    , m_notice(new QLabel(this))
    , m_sum(new QLabel(this))
    , m_noticeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("sbrStatus"));
    setAccessibleName(QStringLiteral("Status"));
    setSizeGripEnabled(false);
    m_fileName->setObjectName(QStringLiteral("lblFileName"));
    m_sum->setObjectName(QStringLiteral("lblSelectionSum"));
    m_notice->setObjectName(QStringLiteral("lblNotice"));
    // Long as a message may be, it is cut to the window rather than widen it.
    m_notice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_notice->hide();
    NoticeAccessible::mark(m_notice, QAccessible::Notification);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(MessageMilliseconds);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QWidget::hide);
    addWidget(m_fileName);
    addWidget(m_notice, 1);
    addPermanentWidget(m_sum);
    connect(&document, &Document::fileUsed, this, &EstimateStatusBar::showFileName);
    connect(&document, &Document::estimateReplaced, this, &EstimateStatusBar::showFileName);
    connect(&document, &Document::changed, this, &EstimateStatusBar::showFileName);
    connect(&grid, &Grid::selectionChanged, this, &EstimateStatusBar::showSelectionSum);
    connect(&grid, &Grid::currentCellChanged, this, &EstimateStatusBar::showSelectionSum);
    connect(&grid, &Grid::cellChanged, this, &EstimateStatusBar::showSelectionSum);
    connect(qApp, &QApplication::focusChanged, this, &EstimateStatusBar::showSelectionSum);
    showFileName();
    showSelectionSum();
}

void EstimateStatusBar::showSaved(const QString &path)
{
    showFileName();
    showNotice(QStringLiteral("Saved ") + QFileInfo(path).fileName());
}

void EstimateStatusBar::showExported(const QString &path)
{
    // An export cancelled or failed has nothing to show.
    if (path.isEmpty())
        return;
    showNotice(QStringLiteral("Exported ") + QFileInfo(path).fileName());
}

void EstimateStatusBar::showExported(const QString &path, const QStringList &notices)
{
    if (path.isEmpty() || notices.isEmpty())
        return showExported(path);
    showNotice(QStringLiteral("Exported %1; %2").arg(QFileInfo(path).fileName(), notices.join(QStringLiteral("; "))));
}

void EstimateStatusBar::showRowsLeftOut(int count)
{
    showNotice(count == 1 ? QStringLiteral("1 row of the paste did not fit and was left out")
                          : QStringLiteral("%1 rows of the paste did not fit and were left out").arg(count));
}

QString EstimateStatusBar::notice() const
{
    return m_notice->isVisible() ? m_notice->text() : QString();
}

// Beside the file name while it lasts; shown anew each time, as a screen reader says a
// notification when it appears.
void EstimateStatusBar::showNotice(const QString &text, bool lasting)
{
    m_notice->hide();
    m_notice->setText(text);
    m_notice->show();
    if (lasting)
        m_noticeTimer->stop();
    else
        m_noticeTimer->start();
}

QString EstimateStatusBar::firstStartHint()
{
    return QStringLiteral("New here? Help > Open Example Estimate shows a house in progress; Help > VARN User Guide "
                          "explains each step.");
}

void EstimateStatusBar::showFirstStartHint()
{
    showNotice(firstStartHint(), true);
    connect(&m_document, &Document::changed, this, &EstimateStatusBar::clearFirstStartHint, Qt::SingleShotConnection);
    connect(&m_document, &Document::estimateReplaced, this, &EstimateStatusBar::clearFirstStartHint,
            Qt::SingleShotConnection);
}

// Whatever came since stays.
void EstimateStatusBar::clearFirstStartHint()
{
    if (notice() == firstStartHint())
        m_notice->hide();
}

void EstimateStatusBar::showFileName()
{
    const QString &file = m_document.CurrentFile();
    m_fileName->setText(file.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(file).fileName());
}

// Notes and texts count as nothing, as in the totals.
void EstimateStatusBar::showSelectionSum()
{
    const bool severalCells = m_sheet->hasFocus()
        && (m_grid.selectionRow() != m_grid.currentRow() || m_grid.selectionColumn() != m_grid.currentColumn());
    m_sum->setVisible(severalCells);
    if (!severalCells)
        return;
    double sum = 0;
    for (int row = m_grid.fixedRows(); row < m_grid.rowCount(); ++row) {
        for (int column = m_grid.fixedColumns(); column < m_grid.columnCount(); ++column) {
            if (EstimateSheet::isMoneyColumn(column) && m_grid.isSelected(row, column))
                sum += Money::ReadMoneyValue(m_grid.text(row, column));
        }
    }
    m_sum->setText(QStringLiteral("Sum: ") + Money::moneyText(sum));
}
