#include "qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

MessageBoxes::Answer QtMessageBoxes::askYesNoCancel(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return Cancel;
    }
}

MessageBoxes::Answer QtMessageBoxes::askYesNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

MessageBoxes::Answer QtMessageBoxes::askYesNoDefaultNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

MessageBoxes::Answer QtMessageBoxes::askSaveOverOrSaveAs(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton *saveOver = box.addButton(QStringLiteral("Save over it"), QMessageBox::DestructiveRole);
    QPushButton *saveAs = box.addButton(QStringLiteral("Save As..."), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    // What the other program saved is not lost by a key pressed in haste.
    box.setDefaultButton(saveAs);
    box.exec();
    if (box.clickedButton() == saveOver)
        return Yes;
    return box.clickedButton() == saveAs ? No : Cancel;
}

void QtMessageBoxes::showCritical(const QString &text, const QString &title)
{
    QMessageBox::critical(QApplication::activeWindow(), title, text);
}

void QtMessageBoxes::showFailure(const QString &text, const QString &title, const QString &reason)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setInformativeText(reason);
    box.exec();
}

void QtMessageBoxes::showWarning(const QString &text, const QString &title)
{
    QMessageBox::warning(QApplication::activeWindow(), title, text);
}

void QtMessageBoxes::showInformation(const QString &text, const QString &title)
{
    QMessageBox::information(QApplication::activeWindow(), title, text);
}
