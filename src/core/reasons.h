#pragma once

#include <QString>

#include <cstring>

// Why an operation failed or was refused, in the words every reader, writer and command uses:
// a path that cannot be read or written, a change order that cannot be made. Every operation
// that can fail gives false (or nothing) and, where the caller asks for it with an
// errorString that is not null, the reason.
namespace Reasons {
inline QString folderNotFile()
{
    return QStringLiteral("It is a folder, not a file");
}

inline QString notRegularFile()
{
    return QStringLiteral("It is not a regular file");
}

// What the system says of one of its errors (an errno): "No space left on device".
inline QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Gives the reason to the caller that asked for it; false, for the failure it reports.
inline bool fail(QString *errorString, const QString &reason)
{
    if (errorString)
        *errorString = reason;
    return false;
}
}
