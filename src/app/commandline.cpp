#include "commandline.h"

#include "core/document/attachmentfolder.h"
#include "core/document/document.h"
#include "core/document/programsettings.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/registration/fileiconassociation.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "report/reportpaper.h"
#include "report/reports.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <optional>

#include <cstdio>

namespace {
enum ExitStatus { Done = 0, FileFailed = 1, UsageError = 2 };

const QStringList &optionNames()
{
    static const QStringList names = {"--export",   "--export-dir", "--format",  "--report",    "--draw",
                                      "--date",     "--paper",      "-h",        "--help",      "-?",
                                      "--help-all", "-v",           "--version", "--unregister"};
    return names;
}

// A message is one line, whatever the paths in it hold: a line break in a file's name would
// make a failure two lines, and a reader of the output count two failures.
QByteArray oneLine(const QString &message)
{
    QByteArray line;
    for (const char byte : message.toLocal8Bit()) {
        if (byte == '\n')
            line += "\\n";
        else if (byte == '\r')
            line += "\\r";
        else if (uchar(byte) < 0x20 && byte != '\t')
            line += "\\x" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
        else
            line += byte;
    }
    return line;
}

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "VARN: %s\n", oneLine(message).constData());
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
        m_parser.addOptions({m_export, m_exportDir, m_format, m_report, m_draw, m_date, m_paper, m_unregister});
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
    QString report() const { return m_parser.value(m_report); }
    bool drawIsSet() const { return m_parser.isSet(m_draw); }
    QString draw() const { return m_parser.value(m_draw); }
    bool dateIsSet() const { return m_parser.isSet(m_date); }
    QString date() const { return m_parser.value(m_date); }
    bool paperIsSet() const { return m_parser.isSet(m_paper); }
    QString paper() const { return m_parser.value(m_paper); }
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
    const QCommandLineOption m_report{QStringLiteral("report"),
                                      QStringLiteral("What to export: estimate (the default), draw-request, the "
                                                     "lender's Draw Request (pdf, csv or xlsx), budget, the "
                                                     "budget summary (pdf) or the change-order register (csv), , "
                                                     "loan, the loan statement (pdf, csv or xlsx), or draw-package, "
                                                     "the request with the papers behind it (pdf)."),
                                      QStringLiteral("REPORT"), QStringLiteral("estimate")};
    const QCommandLineOption m_draw{
        QStringLiteral("draw"),
        QStringLiteral(
            "With --report draw-request: the request of recorded draw N again, rather than the next "
            "request from the current amounts; with --report draw-package: the package of draw N rather than of "
            "the last draw."),
        QStringLiteral("N")};
    const QCommandLineOption m_date{
        QStringLiteral("date"),
        QStringLiteral("With --report draw-request and without --draw: the date the next request goes out with, as "
                       "YYYY-MM-DD; today without it."),
        QStringLiteral("DATE")};
    const QCommandLineOption m_paper{QStringLiteral("paper"),
                                     QStringLiteral("The paper of a PDF: a4 or letter; without it, the one of the "
                                                    "locale, A4 but in the US and Canada."),
                                     QStringLiteral("PAPER")};
    const QCommandLineOption m_unregister{
        QStringLiteral("unregister"),
        QStringLiteral("Remove the .vrn file type, the desktop entry and the icons VARN wrote for this user.")};
};

// What one run exports of each input: a report in one of its forms, on a paper, of the
// next Draw Request (draw 0) or of a recorded draw.
struct Job
{
    const Report &report;
    const Report::Form &form;
    QPageSize paper;
    int draw = 0;
    // The next request's date, when given.
    QDate date;

    // The name an exported file takes in --export-dir's folder.
    QString outputName(const QString &input) const
    {
        const QString ending = draw == 0 ? QString(form.nameEnding)
            : report.ofRecordedDraw      ? QStringLiteral("-draw-%1-package").arg(draw)
                                         : QStringLiteral("-draw-%1").arg(draw);
        return QFileInfo(input).completeBaseName() + ending + u'.' + QString(form.suffix);
    }
};

void warn(const QString &input, const QString &warning)
{
    std::fprintf(stderr, "VARN: warning: %s\n", oneLine(input + QStringLiteral(": ") + warning).constData());
}

// Qt's help names the program by the path it was started from and knows only one way to
// call it: the usage lines are ours, the options below them Qt's.
QString helpText(const QCommandLineParser &parser)
{
    const QString generated = parser.helpText();
    return QStringLiteral(
               "Usage: VARN [FILE.vrn]\n"
               "       VARN --export OUTPUT [--report REPORT [--draw N | --date DATE]] [--paper PAPER] INPUT.vrn\n"
               "       VARN --export-dir FOLDER [--format FORMAT] [--report REPORT [--draw N | --date DATE]] "
               "[--paper PAPER] INPUT.vrn...\n"
               "       VARN --unregister\n")
        + generated.mid(generated.indexOf(u'\n') + 1);
}

QString unknownOutputType(const QString &output)
{
    QStringList endings;
    for (const QString &suffix : Reports::suffixes())
        endings << u'.' + suffix;
    return QStringLiteral("cannot export to %1: the output must end in %2").arg(output, Reports::alternatives(endings));
}

// The Draw Request of an estimate read, after the checks a lender would make, each a
// warning: the request still goes out.
std::optional<DrawRequest> requestOf(const Job &job, const QString &input, const EstimateSheet &sheet,
                                     const HeaderFields &header, const EstimateContent &content)
{
    QString errorString;
    const EstimateHistory &history = content.history;
    // A date given is taken as it is, and refused when the request would run backwards.
    const QDate date = DrawRequest::nextDate(history, job.date.isValid() ? job.date : QDate::currentDate());
    if (job.draw == 0 && job.date.isValid() && date != job.date)
        errorString = QStringLiteral("the next request cannot be dated before draw %1, of %2")
                          .arg(history.draws.size())
                          .arg(date.toString(Qt::ISODate));
    const Grid &grid = sheet.grid();
    // A package encloses the papers of a draw that went out, by default the last one.
    const int draw = job.draw == 0 && job.report.ofRecordedDraw ? int(history.draws.size()) : job.draw;
    if (job.report.ofRecordedDraw && draw == 0)
        errorString = QStringLiteral("no draw has been recorded");
    std::optional<DrawRequest> request = !errorString.isEmpty() ? std::nullopt
        : draw > 0 ? DrawRequest::recorded(grid, header, history, draw, &errorString)
                   : DrawRequest::next(grid, header, history, date);
    if (!request) {
        fail(FileFailed, QStringLiteral("cannot export %1: %2").arg(input, errorString));
        return std::nullopt;
    }
    const PayeeChecks::UnavailablePapers unavailable = AttachmentFolder(input).unavailable(history.papers);
    const QStringList checks = draw > 0 ? DrawRequestChecks::ofRecorded(*request, grid, history, unavailable)
                                        : DrawRequestChecks::ofNext(*request, grid, history, unavailable);
    for (const QString &check : checks)
        warn(input, check);
    return request;
}

// One estimate read and written; a failure is reported on its own line, naming the file.
bool exportEstimate(const Job &job, const QString &input, const QString &output)
{
    EstimateSheet sheet;
    HeaderFields header;
    QString errorString;
    const std::optional<EstimateContent> content = Document::ReadEstimateFile(sheet, header, input, &errorString);
    if (!content) {
        fail(FileFailed, QStringLiteral("cannot read %1: %2").arg(input, errorString));
        return false;
    }
    // A report made of the history has nothing to show or warn of without it.
    if (job.report.ofHistory && content->historyUnread) {
        fail(FileFailed, QStringLiteral("cannot read the draw history of %1: %2").arg(input, content->historyError));
        return false;
    }
    // The texts of a file that looks damaged are exported as they stand, and the user told.
    // A copy of the estimate keeps the lines that could not be read, as Save does.
    if (const QString warning = content->openWarning(QStringLiteral(" ")); !warning.isEmpty())
        warn(input, warning);
    std::optional<DrawRequest> request;
    if (job.report.ofDraw) {
        request = requestOf(job, input, sheet, header, *content);
        if (!request)
            return false;
    }
    QStringList notices;
    const Report::Source source{sheet,
                                header,
                                content->history,
                                content->unreadLines,
                                job.paper,
                                request ? &*request : nullptr,
                                QFileInfo(input).absoluteFilePath(),
                                &notices};
    if (!job.form.write(output, source, &errorString)) {
        fail(FileFailed, QStringLiteral("cannot write %1: %2").arg(output, errorString));
        return false;
    }
    for (const QString &notice : std::as_const(notices))
        warn(output, notice);
    return true;
}

// The report --report names, or null after a usage error has been reported.
const Report *reportOf(const Options &options)
{
    const Report *report = Reports::named(options.report());
    if (!report) {
        QStringList names;
        for (const Report &known : Reports::all())
            names << QString(known.name);
        fail(UsageError,
             QStringLiteral("unknown report %1: it must be %2").arg(options.report(), Reports::alternatives(names)));
    }
    return report;
}

// The paper --paper names or the locale's, or nothing after a usage error has been reported.
std::optional<QPageSize> paperOf(const Options &options)
{
    if (!options.paperIsSet())
        return ReportPaper::ofLocale(QLocale());
    const std::optional<QPageSize> paper = ReportPaper::named(options.paper());
    if (!paper)
        fail(UsageError, QStringLiteral("unknown paper %1: it must be a4 or letter").arg(options.paper()));
    return paper;
}

// The job the options ask for in the form of this suffix, or nothing after a usage error has
// been reported.
std::optional<Job> jobOf(const Options &options, const QString &suffix)
{
    const Report *report = reportOf(options);
    if (!report)
        return std::nullopt;
    const Report::Form *form = report->form(suffix);
    if (!form) {
        fail(UsageError, QStringLiteral("%1 is exported as %2, not %3").arg(report->noun, report->formList(), suffix));
        return std::nullopt;
    }
    const std::optional<QPageSize> paper = paperOf(options);
    if (!paper)
        return std::nullopt;
    Job job{*report, *form, *paper, 0, QDate()};
    if (options.dateIsSet()) {
        job.date = QDate::fromString(options.date(), Qt::ISODate);
        if (!report->ofDraw || report->ofRecordedDraw || options.drawIsSet() || !job.date.isValid()) {
            fail(UsageError,
                 QStringLiteral("--date takes the next request's date as YYYY-MM-DD and goes with "
                                "--report draw-request, without --draw; see --help"));
            return std::nullopt;
        }
    }
    if (!options.drawIsSet())
        return job;
    bool isNumber = false;
    job.draw = options.draw().toInt(&isNumber);
    if (!report->ofDraw || !isNumber || job.draw < 1) {
        fail(UsageError,
             QStringLiteral("--draw takes the number of a recorded draw and goes with --report "
                            "draw-request or draw-package; see --help"));
        return std::nullopt;
    }
    return job;
}

int exportOne(const Options &options, const QStringList &inputs)
{
    const QString output = options.output();
    if (inputs.size() != 1)
        return fail(UsageError, QStringLiteral("--export takes one OUTPUT and one INPUT file; see --help"));
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (!Reports::suffixes().contains(suffix))
        return fail(UsageError, unknownOutputType(output));
    const std::optional<Job> job = jobOf(options, suffix);
    if (!job)
        return UsageError;
    return exportEstimate(*job, inputs.constFirst(), output) ? Done : FileFailed;
}

// Every input is tried, so that one bad file among many costs only its own export.
int exportAll(const Options &options, const QStringList &inputs)
{
    const QString folder = options.folder();
    if (inputs.isEmpty())
        return fail(UsageError, QStringLiteral("--export-dir takes one or more INPUT files; see --help"));
    const QString suffix = options.formatName().toLower();
    if (!Reports::suffixes().contains(suffix))
        return fail(UsageError,
                    QStringLiteral("unknown format %1: it must be %2")
                        .arg(options.formatName(), Reports::alternatives(Reports::suffixes())));
    const std::optional<Job> job = jobOf(options, suffix);
    if (!job)
        return UsageError;
    if (!QFileInfo(folder).isDir())
        return fail(FileFailed, QStringLiteral("cannot write into %1: it is not a folder").arg(folder));

    const QDir target(folder);
    QHash<QString, QString> inputOfOutput;
    bool allDone = true;
    for (const QString &input : inputs) {
        const QString output = target.filePath(job->outputName(input));
        const QString clean = QDir::cleanPath(QFileInfo(output).absoluteFilePath());
        if (const auto earlier = inputOfOutput.constFind(clean); earlier != inputOfOutput.cend()) {
            allDone = false;
            fail(FileFailed, QStringLiteral("cannot write %1: it is the export of %2 as well").arg(output, *earlier));
            continue;
        }
        inputOfOutput.insert(clean, input);
        allDone = exportEstimate(*job, input, output) && allDone;
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
    for (const char *withValue :
         {"--export=", "--export-dir=", "--format=", "--report=", "--draw=", "--date=", "--paper="}) {
        if (first.startsWith(QLatin1String(withValue)))
            return true;
    }
    return optionNames().contains(first);
}

bool drawsPages(const QStringList &arguments)
{
    Options options;
    if (!options.parse(arguments))
        return false;
    const Report *report = Reports::named(options.report());
    const QString suffix = options.exportsToFolder() ? options.formatName() : QFileInfo(options.output()).suffix();
    const Report::Form *form = report ? report->form(suffix) : nullptr;
    return form && form->drawsPages;
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
        return exportAll(options, inputs);
    }
    if (options.formatIsSet())
        return fail(UsageError, QStringLiteral("--format goes with --export-dir; --export takes it from OUTPUT"));
    return exportOne(options, inputs);
}

}
