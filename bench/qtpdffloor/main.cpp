// The least a Qt program does to write a PDF, which VARN's export is held against: start
// QGuiApplication without a display, as VARN's export does, and write one line of text
// through QPdfWriter.
//
//     qt_pdf_floor OUT.pdf
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qt_pdf_floor OUT.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    QPainter painter;
    if (!painter.begin(&writer))
        return 1;
    painter.drawText(QPointF(100, 200), QStringLiteral("Cost Estimate"));
    return painter.end() ? 0 : 1;
}
