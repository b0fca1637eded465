#pragma once

#include <QString>

// Why a path cannot be read or written as an estimate, in the words both directions use.
namespace FileReasons {
inline QString folderNotFile()
{
    return QStringLiteral("It is a folder, not a file");
}

inline QString notRegularFile()
{
    return QStringLiteral("It is not a regular file");
}
}
