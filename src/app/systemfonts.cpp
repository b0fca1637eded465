#include "systemfonts.h"

#include <QtGlobal>

#ifdef VARN_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

void SystemFonts::leaveOut()
{
#ifdef VARN_HAS_FONTCONFIG
    // fontconfig loads its configuration only when no configuration is current; an empty one
    // made current first holds no font but those the program adds itself.
    FcConfig *empty = FcConfigCreate();
    FcConfigSetCurrent(empty);
    FcConfigDestroy(empty);
#endif
}
