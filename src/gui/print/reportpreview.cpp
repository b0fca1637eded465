#include "reportpreview.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(QPrinter *printer, QWidget *parent)
    : QDialog(parent)
    , m_preview(new QPrintPreviewWidget(printer, this))
{
    setWindowTitle(QStringLiteral("Print Preview"));
    auto *toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->addAction(QStringLiteral("Print"), this, &QDialog::accept);
    toolBar->addSeparator();
    toolBar->addAction(QStringLiteral("Fit Page"), m_preview, &QPrintPreviewWidget::fitInView);
    toolBar->addAction(QStringLiteral("Fit Width"), m_preview, &QPrintPreviewWidget::fitToWidth);
    toolBar->addAction(QStringLiteral("Zoom In"), m_preview, [this] { m_preview->zoomIn(); });
    toolBar->addAction(QStringLiteral("Zoom Out"), m_preview, [this] { m_preview->zoomOut(); });
    toolBar->addSeparator();
    toolBar->addAction(QStringLiteral("Close"), this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintRequested);
    resize(700, 800);
}
