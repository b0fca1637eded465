#include "app/commandline.h"
#include "gui/window/frmmain.h"
#include "gui/window/programicon.h"

#include <QApplication>
#include <QTimer>

// The window and all it needs (widgets, printing) live in a module of their own, which the
// program loads only to show the window: an export from the command line loads none of it.
extern "C" Q_DECL_EXPORT int varnRunWindow(int &argc, char **argv)
{
    QApplication application(argc, argv);
    FrmMain window(CommandLine::documentPath(QApplication::arguments()));
    window.show();
    // Decoding the icon and handing it to the window system would hold back the window's
    // first appearance; it follows a moment later.
    QTimer::singleShot(0, &application, [] { QApplication::setWindowIcon(programIcon()); });
    return application.exec();
}
