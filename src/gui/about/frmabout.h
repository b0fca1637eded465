#pragma once

#include "sysinfostarter.h"

#include <QDialog>

#include <array>

class MessageBoxes;
class QColor;
class QFrame;
class QLabel;
class QPushButton;

// The About box: the program's title, version and notices, and the way to the
// operating system's information tool. It is built afresh for every showing and
// destroyed when closed, so nothing of it outlives one showing.
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(MessageBoxes &messages, QWidget *parent = nullptr);

    // Shows a new box modally over owner and returns when the user has closed it.
    static void showModal(QWidget *owner, MessageBoxes &messages);

private:
    QLabel *addLabel(const QString &name, const QRect &twips);
    QPushButton *addButton(const QString &name, const QString &caption, const QRect &twips);
    QFrame *addRuleLine(const QString &name, const QColor &colour, int left, int top, int right, int thicknessPixels);
    void growToFitText(QLabel *label) const;
    void fitToText();

    void Form_Load();

    const SysInfoStarter m_sysInfo;

    QLabel *const picIcon;
    QLabel *const lblTitle;
    QLabel *const lblVersion;
    QLabel *const lblDescription;
    // The etched rule between the upper blocks and the notice: a white line under a grey one.
    const std::array<QFrame *, 2> Line1;
    QLabel *const lblDisclaimer;
    QPushButton *const cmdOK;
    QPushButton *const cmdSysInfo;
};
