#include "platformservices.h"

#include "qtfiledialogs.h"
#include "qtmessageboxes.h"

PlatformServices PlatformServices::ofThisDesktop()
{
    return {std::make_unique<QtFileDialogs>(), std::make_unique<QtMessageBoxes>(),
            FileIconAssociation::forThisPlatform(), std::make_unique<PrinterDialog>()};
}
