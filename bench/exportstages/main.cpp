// VARN's PDF export cut short at each stage of its start, to show where the whole
// process's time goes before the report itself. It is linked with the same libraries as
// VARN, so that loading and relocating them costs what it costs VARN. Each stage does the
// work of the one above it and more:
//
//     export_stages exit                   returns at once from main
//     export_stages application            starts QGuiApplication without a display, as
//                                          VARN's export does
//     export_stages font                   measures a line in the default font, which
//                                          starts fontconfig and loads a font
//     export_stages line OUT.pdf           writes that line through QPdfWriter
//
// These end at once after their work, leaving out Qt's clean-up at exit, which the stages
// below measure apart:
//
//     export_stages line-cleanup OUT.pdf   line, then returns from main as VARN does
//     export_stages application-cleanup    application, then returns from main
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QString &line()
{
    static const QString text = QStringLiteral("Cost Estimate");
    return text;
}

int usage()
{
    std::fprintf(stderr, "usage: export_stages exit|application|font|application-cleanup\n"
                         "       export_stages line|line-cleanup OUT.pdf\n");
    return 2;
}

bool measureLine()
{
    return QFontMetricsF(QFont()).horizontalAdvance(line()) > 0;
}

bool writeLine(const char *path)
{
    QPdfWriter writer(QString::fromLocal8Bit(path));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.drawText(QPointF(100, 200), line());
    return painter.end();
}

bool is(const char *stage, const char *name)
{
    return std::strcmp(stage, name) == 0;
}

}

int main(int argc, char *argv[])
{
    if (argc < 2)
        return usage();
    const char *stage = argv[1];
    if (is(stage, "exit"))
        return 0;
    const bool writesLine = is(stage, "line") || is(stage, "line-cleanup");
    const bool known = writesLine || is(stage, "application") || is(stage, "font") || is(stage, "application-cleanup");
    if (!known || writesLine != (argc == 3))
        return usage();

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (is(stage, "application-cleanup"))
        return 0;
    const bool measured = is(stage, "application") || measureLine();
    const bool succeeded = measured && (!writesLine || writeLine(argv[2]));
    if (is(stage, "line-cleanup"))
        return succeeded ? 0 : 1;
    std::fflush(nullptr);
    std::_Exit(succeeded ? 0 : 1);
}
