#pragma once

#include <QDialog>

class QPrinter;
class QPrintPreviewWidget;

// The report as it will be printed, on the printer's paper. Its Print button does not print
// by itself: it closes the preview with Accepted, and whoever opened it then prints as File >
// Print does, through the printer dialog.
class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    explicit ReportPreview(QPrinter *printer, QWidget *parent = nullptr);

signals:
    void paintRequested(QPrinter *printer);

private:
    QPrintPreviewWidget *m_preview;
};
