#pragma once

// Other programs as the tests start them: VARN's own command line, and the poppler tools
// that read back what it wrote.

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct ProgramRun
{
    int status = -1; // -1: it crashed, or hung and was stopped
    QString output;
    QString errors;
};

namespace Programs {
// Without a display at all, as a script on a server runs it; settings add to the environment.
inline ProgramRun run(const QString &program, const QStringList &arguments,
                      const QProcessEnvironment &settings = QProcessEnvironment())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    environment.insert(settings);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, QString::fromUtf8(process.readAllStandardError())};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

#ifdef VARN_EXECUTABLE
inline ProgramRun varn(const QStringList &arguments, const QProcessEnvironment &settings = QProcessEnvironment())
{
    return run(QStringLiteral(VARN_EXECUTABLE), arguments, settings);
}
#endif

// Whether every one of the tools is on the PATH.
inline bool installed(const QStringList &tools)
{
    for (const QString &tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    }
    return true;
}

// A Python that reads workbooks as a spreadsheet does, with openpyxl; none when there is none.
// Debian's python3-openpyxl belongs to the system's Python, which another one may hide.
inline QString openpyxlPython()
{
    for (const QString &python :
         {QStandardPaths::findExecutable(QStringLiteral("python3")), QStringLiteral("/usr/bin/python3")}) {
        if (!python.isEmpty() && run(python, {QStringLiteral("-c"), QStringLiteral("import openpyxl")}).status == 0)
            return python;
    }
    return {};
}

// A PDF's text as pdftotext lays it out, in the compatibility form, in which a ligature or
// another spelling of a character reads as the letters it stands for.
inline QString pdfText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .output.normalized(QString::NormalizationForm_KC);
}

// The first of the patterns the text does not hold after the one before it; empty when it
// holds them all, in their order.
inline QString missingInOrder(const QString &text, const QStringList &patterns,
                              QRegularExpression::PatternOptions options = {})
{
    qsizetype from = 0;
    for (const QString &pattern : patterns) {
        const QRegularExpressionMatch found = QRegularExpression(pattern, options).match(text, from);
        if (!found.hasMatch())
            return pattern;
        from = found.capturedEnd();
    }
    return {};
}

// The size of each page of a PDF in points, as "612 x 792".
inline QStringList pdfPageSizes(const QString &pdf)
{
    static const QRegularExpression size(QStringLiteral("Page +\\d+ size: +([\\d.]+ x [\\d.]+) pts"));
    QStringList sizes;
    const QString info = run(QStringLiteral("pdfinfo"), {QStringLiteral("-l"), QStringLiteral("99"), pdf}).output;
    for (auto match = size.globalMatch(info); match.hasNext();)
        sizes << match.next().captured(1);
    return sizes;
}

// The first page of a PDF as pixels.
inline QImage pdfPage(const QString &pdf, int dotsPerInch = 100)
{
    const QTemporaryDir folder;
    const QString image = folder.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
         image});
    return QImage(image + QStringLiteral(".png"));
}
}
