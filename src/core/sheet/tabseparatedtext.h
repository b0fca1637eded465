#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Cells as spreadsheets put them on the clipboard: lines of fields between tabs. A field that
// holds a tab, a line break or a quote comes between quotes, with its quotes doubled; any
// other quote is part of the text. The line break after the last line ends that line and
// opens no empty one.
namespace TabSeparatedText {
QList<QStringList> read(QString text);

// One cell's text as a spreadsheet puts it on the clipboard: between quotes when it holds a
// tab or a line break, so that it reads back as one cell.
QString cellText(const QString &text);
}
