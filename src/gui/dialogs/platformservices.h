#pragma once

#include "core/document/filedialogs.h"
#include "core/document/messageboxes.h"
#include "core/registration/fileiconassociation.h"
#include "gui/print/printerdialog.h"

#include <memory>

// The platform parts the main window and its document talk through, each behind a small
// interface; tests pass their own.
struct PlatformServices
{
    std::unique_ptr<FileDialogs> fileDialogs;
    std::unique_ptr<MessageBoxes> messageBoxes;
    std::unique_ptr<FileIconAssociation> fileIconAssociation;
    std::unique_ptr<PrinterDialog> printerDialog;

    // The desktop's own: Qt's dialogs over the active window, the desktop's file types and
    // the system's printers.
    static PlatformServices ofThisDesktop();
};
