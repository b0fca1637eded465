#pragma once

#include <QIcon>

// The program's icon, rendered from its drawing at every size the desktop asks for.
inline QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/varn-%1.png").arg(size), QSize(size, size));
    return icon;
}
