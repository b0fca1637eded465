#include "app/frmmain.h"
#include "app/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(programIcon());
    FrmMain window;
    window.show();
    return application.exec();
}
