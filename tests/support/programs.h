#pragma once

// Other programs as the tests start them: VARN's own command line, and pdftotext and
// pdftoppm to read back what it wrote.

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct ProgramRun
{
    int status = -1;
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
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

#ifdef VARN_EXECUTABLE
inline ProgramRun varn(const QStringList &arguments, const QProcessEnvironment &settings = QProcessEnvironment())
{
    return run(QStringLiteral(VARN_EXECUTABLE), arguments, settings);
}
#endif

// A PDF's text as pdftotext lays it out, in the compatibility form, in which a ligature or
// another spelling of a character reads as the letters it stands for.
inline QString pdfText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .output.normalized(QString::NormalizationForm_KC);
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
