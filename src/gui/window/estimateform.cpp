#include "estimateform.h"

#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/twips.h"
#include "gui/editing/celleditor.h"
#include "gui/editing/helptips.h"
#include "gui/sheet/gridview.h"
#include "noticeaccessible.h"
#include "report/cellpainter.h"
#include "report/productinfo.h"
#include "tabtrapaccessible.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>

namespace {
constexpr int GridLeft = 120;
constexpr int GridTop = 1800;
// Up to the text box beside it, so that the caption fits in fonts wider than the design's.
constexpr int LabelWidth = 720;
// What the layout rule leaves beside the grid of the window's outer size, in twips.
constexpr int OuterWidthBesideGrid = 500;
constexpr int OuterHeightBesideGrid = 2700;
// Below this a dimension of the window is too small to lay out and the grid keeps its size.
constexpr int SmallestLaidOutSize = 3000;

QLabel *addLabel(const QString &caption, const char *name, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

template <typename Control> Control *addControl(const char *name, QWidget *parent)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

void describe(QWidget *control, const QString &name, const QString &description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}
}

EstimateForm::EstimateForm(Document &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    createControls();
    m_cellEditor = new CellEditor(document.sheet(), grdMain, txtCell, txtTemp, this);
    connect(m_cellEditor, &CellEditor::committed, &document, &Document::markChanged);
    m_helpTips = new HelpTips(document.sheet(), grdMain, txtHelp, this);
    setTabOrder();
    describeControls();
    bindHeaderFields();
    txtName->setFocus();
}

int EstimateForm::naturalRowHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QFontMetrics metrics(CellPainter::sheetFont());
    return Twips::fromPixels(metrics.height() + 4, screen ? screen->logicalDotsPerInchY() : 96.0);
}

QList<QWidget *> EstimateForm::textControls() const
{
    return {txtCell, txtTemp, txtName, txtAddress, txtBuilder, grdMain};
}

QList<QWidget *> EstimateForm::editingControls() const
{
    return {grdMain, txtCell, txtName, txtAddress, txtBuilder};
}

bool EstimateForm::showAdvice()
{
    return m_helpTips->showForCurrentCell();
}

// Tab into the sheet would give the tab trap the focus for a moment, and a screen reader
// would announce it after the sheet it hands the focus on to: the sheet takes it at once.
// From the header fields Tab stays on the form, whatever views beside the sheet were put in
// the focus chain since; from the sheet it goes on to them.
bool EstimateForm::focusNextPrevChild(bool next)
{
    QWidget *const start = QApplication::focusWidget();
    const bool fromHeader = start == txtName || start == txtAddress || start == txtBuilder;
    QWidget *field = start;
    for (int step = 0; field && (fromHeader || step < 16); ++step) {
        field = next ? field->nextInFocusChain() : field->previousInFocusChain();
        if (field == start)
            break;
        if (fromHeader && !isAncestorOf(field))
            continue;
        const bool takesTab = field->isVisible() && field->isEnabled() && (field->focusPolicy() & Qt::TabFocus);
        if (field == txtTemp) {
            m_cellEditor->txtTemp_GotFocus();
            return true;
        }
        if (takesTab) {
            if (!fromHeader)
                break;
            field->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void EstimateForm::place(QWidget *widget, int left, int top, int width, int height) const
{
    widget->setGeometry(scale().rect(left, top, width, height));
}

// Controls are placed in the design's client coordinates, which count the toolbar.
void EstimateForm::placeInClient(QWidget *widget, int left, int top, int width, int height) const
{
    place(widget, left, top - DesignToolBarHeight, width, height);
}

void EstimateForm::createControls()
{
    // Created from back to front: a control made later lies over one made earlier.
    lblLogo = addLabel(QStringLiteral("VARN\n") + ProductInfo::webAddress() + u'\n', "lblLogo", this);
    // Bold alone, so that the size follows the form's as it zooms.
    QFont logoFont;
    logoFont.setBold(true);
    lblLogo->setFont(logoFont);
    lblLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtTemp = addControl<QLineEdit>("txtTemp", this);
    createBuilderFrame();
    grdMain = new GridView(m_document.sheet().grid(), this);
    grdMain->setObjectName(QStringLiteral("grdMain"));
    createLocationFrame();
    txtCell = addControl<QLineEdit>("txtCell", this);
    txtHelp = addControl<QPlainTextEdit>("txtHelp", this);
    placeControls();
}

void EstimateForm::placeControls()
{
    placeInClient(lblLogo, 6960, 600, 3255, 975);
    placeInClient(txtTemp, 5760, 1200, 735, 375);
    placeInClient(fraBuilder, 3720, 480, 3135, 1215);
    place(lblBuilder, 120, 240, LabelWidth, 255);
    place(txtBuilder, 840, 240, 2175, 315);
    const Grid &grid = m_document.sheet().grid();
    placeInClient(grdMain, GridLeft, GridTop, grid.width(), grid.height());
    placeInClient(fraLocation, 120, 480, 3495, 1215);
    place(lblName, 120, 240, LabelWidth, 255);
    place(lblAddress, 120, 600, LabelWidth, 255);
    place(txtName, 840, 240, 2535, 285);
    place(txtAddress, 840, 600, 2535, 525);
    placeInClient(txtCell, 7200, 1920, 1215, 285);
    placeInClient(txtHelp, 7200, 3120, 1575, 285);
    txtHelp->resize(scale().size(HelpTips::BoxWidth, grid.rowHeight(2)));
}

void EstimateForm::createBuilderFrame()
{
    fraBuilder = new QGroupBox(QStringLiteral("Builder"), this);
    fraBuilder->setObjectName(QStringLiteral("fraBuilder"));
    // Opaque, so that the tab trap behind it stays out of sight.
    fraBuilder->setAutoFillBackground(true);
    // Alt and the marked letter reach the text box; the letters are none of the menus'.
    lblBuilder = addLabel(QStringLiteral("Na&me:"), "lblBuilder", fraBuilder);
    txtBuilder = addControl<QLineEdit>("txtBuilder", fraBuilder);
    lblBuilder->setBuddy(txtBuilder);
}

void EstimateForm::createLocationFrame()
{
    fraLocation = new QGroupBox(QStringLiteral("Location"), this);
    fraLocation->setObjectName(QStringLiteral("fraLocation"));
    lblName = addLabel(QStringLiteral("&Name:"), "lblName", fraLocation);
    lblAddress = addLabel(QStringLiteral("A&ddress:"), "lblAddress", fraLocation);
    txtName = addControl<QLineEdit>("txtName", fraLocation);
    txtAddress = addControl<QPlainTextEdit>("txtAddress", fraLocation);
    txtAddress->setTabChangesFocus(true);
    lblName->setBuddy(txtName);
    lblAddress->setBuddy(txtAddress);
}

void EstimateForm::setZoom(qreal factor)
{
    m_zoom = factor;
    QFont zoomed = CellPainter::sheetFont();
    zoomed.setPointSizeF(CellPainter::SheetFontPoints * factor);
    setFont(zoomed);
    grdMain->setZoom(factor);
    placeControls();
}

void EstimateForm::setTabOrder()
{
    // The tab trap lies between the editor and the grid, so Tab in the editor lands on it.
    QWidget::setTabOrder(txtName, txtAddress);
    QWidget::setTabOrder(txtAddress, txtBuilder);
    QWidget::setTabOrder(txtBuilder, txtCell);
    QWidget::setTabOrder(txtCell, txtTemp);
    QWidget::setTabOrder(txtTemp, grdMain);
}

void EstimateForm::describeControls()
{
    describe(txtName, QStringLiteral("Owner's name"), QStringLiteral("The name of the owner of the property"));
    describe(txtAddress, QStringLiteral("Property address"), QStringLiteral("The address of the property"));
    describe(txtBuilder, QStringLiteral("Builder's name"), QStringLiteral("The name of the builder"));
    describe(fraLocation, fraLocation->title(), QStringLiteral("The owner's name and the property address"));
    describe(fraBuilder, fraBuilder->title(), QStringLiteral("The builder's name"));
    describe(grdMain, QStringLiteral("Estimate sheet"),
             QStringLiteral("The cost categories with their estimates, payments and cost to complete. "
                            "Type to fill the current cell, F2 to edit it, Enter to put the entry in."));
    grdMain->setRowTitleColumn(EstimateSheet::DescriptionColumn);
    grdMain->setAdvice(EstimateSheet::DescriptionColumn, m_document.sheet().CategoryHelpTexts);
    describe(txtCell, QStringLiteral("Cell entry"),
             QStringLiteral("The entry for the current cell of the sheet; Enter puts it in"));
    TabTrapAccessible::hide(txtTemp);
    // Marked first: a control keeps the accessible interface it was first asked for.
    NoticeAccessible::mark(txtHelp, QAccessible::ToolTip);
    describe(txtHelp, QStringLiteral("Category advice"), QStringLiteral("Advice for the category under the mouse"));
}

void EstimateForm::bindHeaderFields()
{
    HeaderFields &header = m_document.header();
    const auto bindLine = [this, &header](QLineEdit *edit, HeaderFields::Field field) {
        connect(edit, &QLineEdit::textEdited, this, [this, &header, field](const QString &text) {
            header.setText(field, text);
            m_document.markChanged();
        });
    };
    bindLine(txtName, HeaderFields::Name);
    bindLine(txtBuilder, HeaderFields::Builder);
    connect(txtAddress, &QPlainTextEdit::textChanged, this, [this, &header] {
        const QString text = txtAddress->toPlainText();
        if (text == header.text(HeaderFields::Address))
            return;
        header.setText(HeaderFields::Address, text);
        m_document.markChanged();
    });
    connect(&header, &HeaderFields::textChanged, this, &EstimateForm::showHeaderText);
    for (const HeaderFields::Field field : {HeaderFields::Name, HeaderFields::Address, HeaderFields::Builder})
        headerBox(field)->installEventFilter(this);
}

QWidget *EstimateForm::headerBox(HeaderFields::Field field) const
{
    switch (field) {
    case HeaderFields::Name:
        return txtName;
    case HeaderFields::Address:
        return txtAddress;
    case HeaderFields::Builder:
        break;
    }
    return txtBuilder;
}

void EstimateForm::finishHeaderEdit()
{
    for (const HeaderFields::Field field : {HeaderFields::Name, HeaderFields::Address, HeaderFields::Builder}) {
        if (headerBox(field)->hasFocus())
            finishHeaderEdit(field);
    }
}

void EstimateForm::finishHeaderEdit(HeaderFields::Field field)
{
    QString &entered = m_headerTextsEntered[field];
    const QString &text = m_document.header().text(field);
    if (text == entered)
        return;
    const QString before = std::exchange(entered, text);
    emit headerEdited(field, before, text, headerBox(field)->accessibleName());
}

void EstimateForm::showHeaderText(HeaderFields::Field field)
{
    // Typing comes here too; only a text that the box does not show yet is not the user's.
    const QString &text = m_document.header().text(field);
    switch (field) {
    case HeaderFields::Name:
        if (txtName->text() == text)
            return;
        txtName->setText(text);
        break;
    case HeaderFields::Builder:
        if (txtBuilder->text() == text)
            return;
        txtBuilder->setText(text);
        break;
    case HeaderFields::Address:
        if (txtAddress->toPlainText() == text)
            return;
        txtAddress->setPlainText(text);
        break;
    }
    m_headerTextsEntered[field] = text;
}

void EstimateForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

bool EstimateForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return QWidget::eventFilter(watched, event);
    // Leaving the field for another control counts as a change; a menu opening or another
    // program taking the focus does not leave it.
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return QWidget::eventFilter(watched, event);
    for (const HeaderFields::Field field : {HeaderFields::Name, HeaderFields::Address, HeaderFields::Builder}) {
        if (watched == headerBox(field))
            finishHeaderEdit(field);
    }
    if (watched == txtAddress || watched == txtBuilder)
        m_document.markChanged();
    return QWidget::eventFilter(watched, event);
}

void EstimateForm::fitGridToWindow(const QSize &outerPixels, int pixelsBelow)
{
    const Twips::Scale scale = this->scale();
    const int outerWidth = scale.twipsX(outerPixels.width());
    const int outerHeight = scale.twipsY(outerPixels.height());
    EstimateSheet &sheet = m_document.sheet();
    Grid &grid = sheet.grid();
    if (outerHeight > SmallestLaidOutSize)
        grid.setHeight(outerHeight - OuterHeightBesideGrid - scale.twipsY(pixelsBelow));
    if (outerWidth > SmallestLaidOutSize) {
        grid.setWidth(outerWidth - OuterWidthBesideGrid);
        sheet.SetColumnWidths();
    }
    grdMain->resize(scale.size(grid.width(), grid.height()));
}

QSize EstimateForm::outerSizeForWholeSheet(int pixelsBelow) const
{
    // Room for the grid's border, so that the last column and row are not cut by it.
    constexpr int GridBorder = 300;
    const Grid &grid = m_document.sheet().grid();
    int sheetHeight = GridBorder;
    for (int row = 0; row < grid.rowCount(); ++row)
        sheetHeight += grid.rowHeight(row);
    return scale().size(EstimateSheet::minimumGridWidth() + OuterWidthBesideGrid, sheetHeight + OuterHeightBesideGrid)
        + QSize(0, pixelsBelow);
}
