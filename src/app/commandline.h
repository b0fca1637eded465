#pragma once

#include <QStringList>

// What the program was asked to do on its command line.
namespace CommandLine {
// The document to open: every argument after the program's name, joined by single blanks
// (so a path with blanks works unquoted), without one pair of enclosing double quotes.
QString documentPath(const QStringList &arguments);
}
