#pragma once

#include <QDialog>

class QTextBrowser;

// The handbook, shipped inside the program and read in a window of its own beside the
// estimate; there is one, shown again where it was left.
class UserGuide : public QDialog
{
    Q_OBJECT

public:
    explicit UserGuide(QWidget *parent = nullptr);

    // The guide of this window, made at its first showing, brought to the front.
    static void showFor(QWidget *window);

private:
    QTextBrowser *m_browser = nullptr;
};
