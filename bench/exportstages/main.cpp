// VARN's PDF export cut short at each stage of its start, to show where the whole
// process's time goes before the report itself. It is linked with the same libraries as
// VARN, so that loading and relocating them costs what it costs VARN, and starts as VARN's
// export does. Each stage does the work of the one above it and more:
//
//     export_stages exit                   returns at once from main
//     export_stages application            starts QGuiApplication without a display and
//                                          without the system's fonts
//     export_stages font                   measures a line in the report's typeface,
//                                          which loads it
//     export_stages line OUT.pdf           writes that line through QPdfWriter
//
// These end at once after their work, leaving out Qt's clean-up at exit, which the stages
// below measure apart:
//
//     export_stages line-cleanup OUT.pdf   line, then returns from main as VARN does
//     export_stages application-cleanup    application, then returns from main
#include "app/systemfonts.h"
#include "report/reportfont.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The size of the report's body text at QPdfWriter's own resolution.
constexpr int LinePixelSize = 100;

const QString &line()
{
    static const QString text = QStringLiteral("Cost Estimate");
    return text;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: export_stages exit|application|font|application-cleanup\n"
                 "       export_stages line|line-cleanup OUT.pdf\n");
    return 2;
}

bool measureLine()
{
    return QFontMetricsF(ReportFont::font(LinePixelSize, false)).horizontalAdvance(line()) > 0;
}

bool writeLine(const char *path)
{
    QPdfWriter writer(QString::fromLocal8Bit(path));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setFont(ReportFont::font(LinePixelSize, false));
    painter.drawText(QPointF(1000, 2000), line());
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
    SystemFonts::leaveOut();
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
