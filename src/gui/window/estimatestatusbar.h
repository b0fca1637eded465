#pragma once

#include <QStatusBar>
#include <QStringList>

class Document;
class Grid;
class QLabel;
class QTimer;

// The line below the sheet: the estimate's file, what was just saved or exported, for a few
// seconds beside it and told to a screen reader as a notification, and the sum of the selected amounts while more
// than one cell of the sheet is selected and the sheet, which shows the selection only then, has the focus.
class EstimateStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int MessageMilliseconds = 5000;

    EstimateStatusBar(const Document &document, const Grid &grid, const QWidget *sheet, QWidget *parent = nullptr);

    void showSaved(const QString &path);
    void showExported(const QString &path);
    // An export written without some of what it was to hold: what was left out, and why.
    void showExported(const QString &path, const QStringList &notices);
    void showRowsLeftOut(int count);
    // A new user's pointer to the example and the guide, until the estimate first changes or
    // another takes its place.
    void showFirstStartHint();
    static QString firstStartHint();
    // What was just done, or the pointer, while it is shown.
    QString notice() const;

private:
    // For a few seconds, or until it is cleared where lasting.
    void showNotice(const QString &text, bool lasting = false);
    void showFileName();
    void showSelectionSum();
    void clearFirstStartHint();

    const Document &m_document;
    const Grid &m_grid;
    const QWidget *const m_sheet;
    QLabel *m_fileName = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_sum = nullptr;
    QTimer *m_noticeTimer = nullptr;
};
