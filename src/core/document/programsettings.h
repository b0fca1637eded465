#pragma once

#include <QSettings>

// The per-user settings store of the program, named after its executable as it was
// called (VARN for the delivered program), so that a renamed copy keeps settings apart.
class ProgramSettings : public QSettings
{
public:
    ProgramSettings();

    // The executable's base name, which names the store and the program's file type.
    static QString applicationName();
};
