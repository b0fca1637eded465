#include "commandline.h"
#include "core/document/document.h"
#include "core/export/scratchfolder.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "gui/dialogs/platformservices.h"
#include "gui/window/estimateform.h"
#include "gui/window/frmmain.h"
#include "gui/window/programicon.h"
#include "programidentity.h"
#include "systemfonts.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
// Working without a window, the program speaks only through its exit status and its own
// one-line messages. What Qt cannot go on from (a platform plugin that cannot be loaded, so
// no report can be drawn) is a failure like any other: its first line, and status 1 rather
// than an abort.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr, "VARN: %s\n", qPrintable(message.section(u'\n', 0, 0)));
    std::_Exit(1);
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Only a report needs fonts, and so a QGuiApplication; text is written without one, which
// spares the font set-up. No report needs a widget.
int runOptions(int &argc, char *argv[], const QStringList &arguments)
{
    qInstallMessageHandler(quietMessages);
    ScratchFolder::removeLeftBehind();
    if (!CommandLine::drawsPages(arguments)) {
        QCoreApplication application(argc, argv);
        return CommandLine::runOptions(QCoreApplication::arguments());
    }
    // No display is needed to write a report.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SystemFonts::leaveOut();
    QGuiApplication application(argc, argv);
    return CommandLine::runOptions(QGuiApplication::arguments());
}

int runWindow(int &argc, char *argv[])
{
    QApplication application(argc, argv);
    EstimateSheet sheet(EstimateForm::naturalRowHeight());
    HeaderFields header;
    PlatformServices services = PlatformServices::ofThisDesktop();
    Document document(sheet, header, *services.fileDialogs, *services.messageBoxes);
    document.setCommandLineDocument(CommandLine::documentPath(QApplication::arguments()));
    FrmMain window(document, services);
    window.show();
    // Decoding the icon and handing it to the window system would hold back the window's
    // first appearance; it follows a moment later.
    QTimer::singleShot(0, &application, [] { QApplication::setWindowIcon(programIcon()); });
    // Looking through the temporary folder for them would hold the window back too; nothing
    // of this run's is in use before its event loop turns.
    QTimer::singleShot(0, &application, &ScratchFolder::removeLeftBehind);
    return application.exec();
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
    const QStringList arguments = argumentsOf(argc, argv);
    // Each run starts and ends by removing the scratch folders that a killed run left behind,
    // and its own that could not be removed when they went out of use.
    const int status =
        CommandLine::startsWithOption(arguments) ? runOptions(argc, argv, arguments) : runWindow(argc, argv);
    ScratchFolder::removeLeftBehind();
    return status;
}
