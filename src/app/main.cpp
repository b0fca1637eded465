#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(programIcon());
    FrmMain window(CommandLine::documentPath(QApplication::arguments()));
    window.show();
    return application.exec();
}
