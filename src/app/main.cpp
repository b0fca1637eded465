#include "commandline.h"
#include "gui/window/frmmain.h"
#include "gui/window/programicon.h"
#include "programidentity.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

namespace {
// Working without a window, the program speaks only through its exit status and its own
// one-line messages.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "VARN: %s\n", qPrintable(message));
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
}

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // Past a file-size limit a write is to fail and be reported, not to kill the program
    // with the estimate half saved.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    ProgramIdentity::apply();
    if (CommandLine::startsWithOption(argumentsOf(argc, argv))) {
        // No display is needed to write a report.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietMessages);
        QGuiApplication application(argc, argv);
        return CommandLine::runOptions(QGuiApplication::arguments());
    }

    QApplication application(argc, argv);
    QApplication::setWindowIcon(programIcon());
    FrmMain window(CommandLine::documentPath(QApplication::arguments()));
    window.show();
    return application.exec();
}
