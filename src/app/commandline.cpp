#include "commandline.h"

#include "core/document/document.h"
#include "core/document/headerfields.h"
#include "core/document/programsettings.h"
#include "core/registration/fileiconassociation.h"
#include "core/sheet/estimatesheet.h"
#include "report/exportformats.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cstdio>

namespace {
enum ExitStatus { Done = 0, FileFailed = 1, UsageError = 2 };

const QStringList &optionNames()
{
    static const QStringList names = {"--export", "--export-dir", "--format",     "-h", "--help",
                                      "-?",       "--help-all",   "--unregister", "-v", "--version"};
    return names;
}

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "VARN: %s\n", qPrintable(message));
    return status;
}

// The options and the parser that knows them, made the same way for every question asked
// of the command line.
class Options
{
public:
    Options()
    {
        m_parser.setApplicationDescription(QStringLiteral("Cost Estimate: plan and pay for the building of a house.\n"
                                                          "Without options, the arguments name an estimate to open."));
        m_parser.addHelpOption();
        m_parser.addVersionOption();
        m_parser.addOptions({m_export, m_exportDir, m_format, m_unregister});
        m_parser.addPositionalArgument(QStringLiteral("INPUT"),
                                       QStringLiteral("The estimate file (.vrn) to export; several with --export-dir."),
                                       QStringLiteral("INPUT.vrn..."));
    }

    bool parse(const QStringList &arguments) { return m_parser.parse(arguments); }
    QCommandLineParser &parser() { return m_parser; }
    QString output() const { return m_parser.value(m_export); }
    bool exportsToFolder() const { return m_parser.isSet(m_exportDir); }
    QString folder() const { return m_parser.value(m_exportDir); }
    QString formatName() const { return m_parser.value(m_format); }
    bool formatIsSet() const { return m_parser.isSet(m_format); }
    bool unregisters() const { return m_parser.isSet(m_unregister); }

private:
    QCommandLineParser m_parser;
    const QCommandLineOption m_export{
        QStringLiteral("export"),
        QStringLiteral("Write the estimate INPUT to OUTPUT (.pdf, .csv, .xlsx or .vrn) without opening a window."),
        QStringLiteral("OUTPUT")};
    const QCommandLineOption m_exportDir{
        QStringLiteral("export-dir"),
        QStringLiteral("Write each INPUT into the existing folder FOLDER, named after it, without opening a window."),
        QStringLiteral("FOLDER")};
    const QCommandLineOption m_format{
        QStringLiteral("format"), QStringLiteral("The form --export-dir writes: pdf (the default), csv, xlsx or vrn."),
        QStringLiteral("FORMAT"), QStringLiteral("pdf")};
    const QCommandLineOption m_unregister{
        QStringLiteral("unregister"),
        QStringLiteral("Remove the .vrn file type, the desktop entry and the icons VARN wrote for this user.")};
};

// Qt's help names the program by the path it was started from and knows only one way to
// call it: the usage lines are ours, the options below them Qt's.
QString helpText(const QCommandLineParser &parser)
{
    const QString generated = parser.helpText();
    return QStringLiteral("Usage: VARN [FILE.vrn]\n"
                          "       VARN --export OUTPUT INPUT.vrn\n"
                          "       VARN --export-dir FOLDER [--format FORMAT] INPUT.vrn...\n"
                          "       VARN --unregister\n")
        + generated.mid(generated.indexOf(u'\n') + 1);
}

QString unknownOutputType(const QString &output)
{
    return QStringLiteral("cannot export to %1: the output must end in .pdf, .csv, .xlsx or .vrn").arg(output);
}

// One estimate read and written; a failure is reported on its own line, naming the file.
bool exportEstimate(const ExportFormat &format, const QString &input, const QString &output)
{
    EstimateSheet sheet;
    HeaderFields header;
    QString errorString;
    if (!Document::ReadEstimateFile(sheet, header, input, &errorString)) {
        fail(FileFailed, QStringLiteral("cannot read %1: %2").arg(input, errorString));
        return false;
    }
    if (!format.write(output, sheet, header, &errorString)) {
        fail(FileFailed, QStringLiteral("cannot write %1: %2").arg(output, errorString));
        return false;
    }
    return true;
}

int exportOne(const QString &output, const QStringList &inputs)
{
    if (inputs.size() != 1)
        return fail(UsageError, QStringLiteral("--export takes one OUTPUT and one INPUT file; see --help"));
    const ExportFormat *format = ExportFormats::forSuffix(QFileInfo(output).suffix());
    if (!format)
        return fail(UsageError, unknownOutputType(output));
    return exportEstimate(*format, inputs.constFirst(), output) ? Done : FileFailed;
}

// Every input is tried, so that one bad file among many costs only its own export.
int exportAll(const QString &folder, const QString &formatName, const QStringList &inputs)
{
    if (inputs.isEmpty())
        return fail(UsageError, QStringLiteral("--export-dir takes one or more INPUT files; see --help"));
    const ExportFormat *format = ExportFormats::forSuffix(formatName);
    if (!format)
        return fail(UsageError, QStringLiteral("unknown format %1: it must be pdf, csv, xlsx or vrn").arg(formatName));
    if (!QFileInfo(folder).isDir())
        return fail(FileFailed, QStringLiteral("cannot write into %1: it is not a folder").arg(folder));

    const QDir target(folder);
    QHash<QString, QString> inputOfOutput;
    bool allDone = true;
    for (const QString &input : inputs) {
        const QString output = target.filePath(QFileInfo(input).completeBaseName() + u'.' + QString(format->suffix));
        const QString clean = QDir::cleanPath(QFileInfo(output).absoluteFilePath());
        if (const auto earlier = inputOfOutput.constFind(clean); earlier != inputOfOutput.cend()) {
            allDone = false;
            fail(FileFailed, QStringLiteral("cannot write %1: it is the export of %2 as well").arg(output, *earlier));
            continue;
        }
        inputOfOutput.insert(clean, input);
        allDone = exportEstimate(*format, input, output) && allDone;
    }
    return allDone ? Done : FileFailed;
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
    return optionNames().contains(first) || first.startsWith(QStringLiteral("--export="))
        || first.startsWith(QStringLiteral("--export-dir=")) || first.startsWith(QStringLiteral("--format="));
}

bool drawsPages(const QStringList &arguments)
{
    Options options;
    if (!options.parse(arguments))
        return false;
    const QString suffix = options.exportsToFolder() ? options.formatName() : QFileInfo(options.output()).suffix();
    const ExportFormat *format = ExportFormats::forSuffix(suffix);
    return format && format->drawsPages;
}

int runOptions(const QStringList &arguments)
{
    Options options;
    QCommandLineParser &parser = options.parser();
    if (!options.parse(arguments))
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
    if (options.unregisters()) {
        ProgramSettings settings;
        FileIconAssociation::forThisPlatform()->unregister(settings, ProgramSettings::applicationName());
        return Done;
    }
    if (options.exportsToFolder()) {
        if (parser.isSet(QStringLiteral("export")))
            return fail(UsageError, QStringLiteral("--export and --export-dir cannot be used together; see --help"));
        return exportAll(options.folder(), options.formatName(), inputs);
    }
    if (options.formatIsSet())
        return fail(UsageError, QStringLiteral("--format goes with --export-dir; --export takes it from OUTPUT"));
    return exportOne(options.output(), inputs);
}

}
