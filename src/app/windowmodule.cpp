#include "windowmodule.h"

#include <QtGlobal>

#include <cstdio>

#ifdef Q_OS_WIN
#include <QLibrary>
#else
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#endif

namespace {
using WindowEntry = int (*)(int &argc, char **argv);
constexpr const char *EntryName = "varnRunWindow";

int cannotLoad(const char *reason)
{
    std::fprintf(stderr, "VARN: cannot load the window: %s\n", reason);
    return 1;
}
}

namespace WindowModule {

int run(int &argc, char **argv)
{
#ifdef Q_OS_WIN
    // Windows looks for a library beside the program first.
    QLibrary module(QStringLiteral("varn-window"));
    const auto entry = reinterpret_cast<WindowEntry>(module.resolve(EntryName));
    if (!entry)
        return cannotLoad(qPrintable(module.errorString()));
#else
    // Beside the program in a build folder, in its private library folder once installed:
    // both found from the program's own file, wherever the tree was put.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    void *module = nullptr;
    for (const QString &path : {folder + QStringLiteral("/varn-window.so"),
                                folder + QStringLiteral("/" VARN_MODULE_FROM_PROGRAM "/varn-window.so")}) {
        if (!module)
            module = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_LOCAL);
    }
    if (!module)
        return cannotLoad(dlerror());
    const auto entry = reinterpret_cast<WindowEntry>(dlsym(module, EntryName));
    if (!entry)
        return cannotLoad(dlerror());
#endif
    // The module stays loaded to the end: objects it made may be destroyed at exit.
    return entry(argc, argv);
}

}
