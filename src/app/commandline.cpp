#include "commandline.h"

#include "core/document/document.h"
#include "core/document/headerfields.h"
#include "core/sheet/estimatesheet.h"
#include "gui/export/exportformats.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {
enum ExitStatus { Done = 0, FileFailed = 1, UsageError = 2 };

const QStringList &optionNames()
{
    static const QStringList names = {"--export", "-h", "--help", "-?", "--help-all", "-v", "--version"};
    return names;
}

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "VARN: %s\n", qPrintable(message));
    return status;
}

// Qt's help names the program by the path it was started from and knows only one way to
// call it: the usage line is ours, the options below it Qt's.
QString helpText(const QCommandLineParser &parser)
{
    const QString generated = parser.helpText();
    return QStringLiteral("Usage: VARN [FILE.vrn]\n"
                          "       VARN --export OUTPUT INPUT.vrn\n")
        + generated.mid(generated.indexOf(u'\n') + 1);
}

int exportEstimate(const QString &output, const QString &input)
{
    const ExportFormat *format = ExportFormats::forSuffix(QFileInfo(output).suffix());
    if (!format)
        return fail(
            UsageError,
            QStringLiteral("cannot export to %1: the output must end in .pdf, .csv, .xlsx or .vrn").arg(output));
    EstimateSheet sheet;
    HeaderFields header;
    QString errorString;
    if (!Document::ReadEstimateFile(sheet, header, input, &errorString))
        return fail(FileFailed, QStringLiteral("cannot read %1: %2").arg(input, errorString));
    if (!format->write(output, sheet, header, &errorString))
        return fail(FileFailed, QStringLiteral("cannot write %1: %2").arg(output, errorString));
    return Done;
}
}

namespace CommandLine {

QString documentPath(const QStringList &arguments)
{
    QString path = arguments.mid(1).join(u' ');
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.sliced(1, path.size() - 2);
    return path;
}

bool startsWithOption(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString &first = arguments.at(1);
    return optionNames().contains(first) || first.startsWith(QStringLiteral("--export="));
}

int runOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Cost Estimate: plan and pay for the building of a house.\n"
                                                    "Without options, the arguments name an estimate to open."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write the estimate INPUT to OUTPUT (.pdf, .csv, .xlsx or .vrn) "
                       "without opening a window."),
        QStringLiteral("OUTPUT"));
    parser.addOption(exportOption);
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("The estimate file (.vrn) to export."));

    if (!parser.parse(arguments))
        return fail(UsageError, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(helpText(parser)), stdout);
        return Done;
    }
    if (parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(Done);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    const QStringList inputs = parser.positionalArguments();
    if (inputs.size() != 1)
        return fail(UsageError, QStringLiteral("--export takes one OUTPUT and one INPUT file; see --help"));
    return exportEstimate(parser.value(exportOption), inputs.constFirst());
}

}
