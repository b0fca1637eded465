#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Whether a workbook came out whole. The spreadsheet library does not check every write and
// read of its scratch files, so a full or failing disk can leave a part cut short or empty
// in a workbook it reports as written; every workbook is read back before it replaces
// anything.
namespace WorkbookCheck {
// True when every part of the archive is there, reads back as it was packed and is
// well-formed XML, every part the workbook names is in it, its shared texts are all there
// and each worksheet holds as many cells as were written into it (cellsWritten, in the
// order of the worksheets); else false, with errorString naming the first part found
// wanting. A part can lose whole elements and stay well-formed.
bool isWhole(const QByteArray &workbook, const QList<int> &cellsWritten, QString *errorString = nullptr);
}
