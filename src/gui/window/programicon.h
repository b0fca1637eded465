#pragma once

#include <QIcon>

// The program's icon at the sizes a window shows; the desktop takes the larger ones from
// the installed icon theme. Each size is decoded as it is added, at every start.
inline QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/varn-%1.png").arg(size), QSize(size, size));
    return icon;
}
