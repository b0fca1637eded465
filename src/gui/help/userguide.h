#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;

// The handbook, shipped inside the program and read in a window of its own beside the
// estimate; there is one, shown again where it was left. Its contents link to its sections,
// and Ctrl+F finds a word in it.
class UserGuide : public QDialog
{
    Q_OBJECT

public:
    explicit UserGuide(QWidget *parent = nullptr);

    // The guide of this window, made at its first showing, brought to the front.
    static void showFor(QWidget *window);

    // The anchor a section's heading is linked by: its words in small letters, joined by
    // hyphens, without punctuation, as Markdown viewers name it too.
    static QString anchorOf(const QString &heading);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void nameHeadings();
    QWidget *createFindBar();
    void startFinding();
    void find(bool backward);
    void stopFinding();

    QTextBrowser *m_browser = nullptr;
    QWidget *m_findBar = nullptr;
    QLineEdit *m_findText = nullptr;
    QLabel *m_notFound = nullptr;
};
