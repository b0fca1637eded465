#include "app/commandline.h"
#include "gui/window/frmmain.h"
#include "gui/window/programicon.h"

#include <QApplication>

// The window and all it needs (widgets, printing) live in a module of their own, which the
// program loads only to show the window: an export from the command line loads none of it.
extern "C" Q_DECL_EXPORT int varnRunWindow(int &argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(programIcon());
    FrmMain window(CommandLine::documentPath(QApplication::arguments()));
    window.show();
    return application.exec();
}
