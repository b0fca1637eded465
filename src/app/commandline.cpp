#include "commandline.h"

namespace CommandLine {

QString documentPath(const QStringList &arguments)
{
    QString path = arguments.mid(1).join(u' ');
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.sliced(1, path.size() - 2);
    return path;
}

}
