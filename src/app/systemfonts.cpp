#include "systemfonts.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <fontconfig/fontconfig.h>
#endif

void SystemFonts::leaveOut()
{
#ifndef Q_OS_WIN
    // fontconfig loads its configuration only when no configuration is current; an empty one
    // made current first holds no font but those the program adds itself.
    FcConfig *empty = FcConfigCreate();
    FcConfigSetCurrent(empty);
    FcConfigDestroy(empty);
#endif
}
