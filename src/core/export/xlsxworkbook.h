#pragma once

#include <QByteArray>
#include <QString>

#include <xlsxwriter.h>

#include <functional>

// A workbook made with libxlsxwriter, which writes to a path, its scratch files too: both go
// into a folder of our own, and only the finished bytes come out, read back whole. The library
// does not check every write and read of its scratch files, so a full or failing disk could
// otherwise give a workbook with a part cut short, reported as made.
namespace XlsxWorkbook {
// The currency form of every amount in our workbooks, negative amounts in parentheses and red.
inline constexpr char MoneyFormat[] = "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)";

// fill writes the worksheets and gives the first error it met. The workbook's bytes; empty,
// with errorString telling why, when it could not be made whole.
QByteArray make(const std::function<lxw_error(lxw_workbook *)> &fill, QString *errorString);
}
