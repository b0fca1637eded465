#pragma once

#include <QStringList>

// What the program was asked to do on its command line: open a document in the window,
// or, when the first argument is one of its options, work without a window.
namespace CommandLine {
// The document to open: every argument after the program's name, joined by single blanks
// (so a path with blanks works unquoted), without one pair of enclosing double quotes.
QString documentPath(const QStringList &arguments);

// Options are recognised only as the first argument; anything else is a document path.
bool startsWithOption(const QStringList &arguments);

// Whether the options draw a report, which needs a QGuiApplication for its fonts; help,
// version and the text forms of an export run on a QCoreApplication.
bool drawsPages(const QStringList &arguments);

// Runs the options (help, version, export one file or many) and gives the exit status:
// 0 done, 1 a file could not be read or written, 2 a usage error.
int runOptions(const QStringList &arguments);
}
