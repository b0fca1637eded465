#pragma once

#include <QStatusBar>

class Document;
class Grid;
class QLabel;

// The line below the sheet: the estimate's file, what was just saved or exported, for a few
// seconds, and the sum of the selected amounts while more than one cell of the sheet is
// selected and the sheet, which shows the selection only then, has the focus.
class EstimateStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int MessageMilliseconds = 5000;

    EstimateStatusBar(const Document &document, const Grid &grid, const QWidget *sheet, QWidget *parent = nullptr);

    void showSaved(const QString &path);
    void showExported(const QString &path);
    void showRowsLeftOut(int count);
    // A new user's pointer to the example and the guide, until the estimate first changes or
    // another takes its place.
    void showFirstStartHint();
    static QString firstStartHint();

private:
    void showFileName();
    void showSelectionSum();
    void clearFirstStartHint();

    const Document &m_document;
    const Grid &m_grid;
    const QWidget *const m_sheet;
    QLabel *m_fileName = nullptr;
    QLabel *m_sum = nullptr;
};
