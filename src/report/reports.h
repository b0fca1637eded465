#pragma once

#include "core/history/estimatehistory.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <span>

class EstimateSheet;
class HeaderFields;
struct DrawRequest;

// One report an estimate gives, as one entry of the table that the command line, the File
// menu and the export dialogs all read: its name, the forms it is written in with the writer
// of each, and the name its file takes beside the estimate's. A new report is a new entry.
struct Report
{
    // What a report is made of: the estimate as read, the paper its pages go on and, for a
    // report of a draw, the Draw Request, which whoever asks for it makes and checks first.
    struct Source
    {
        const EstimateSheet &sheet;
        const HeaderFields &header;
        const EstimateHistory &history;
        // What followed the estimate in its file and could not be read: a copy keeps it.
        const QByteArray &unreadLines;
        const QPageSize &paper;
        const DrawRequest *request = nullptr;
        // The estimate's file, beside which its papers are kept; empty for one never saved.
        QString estimatePath = {};
        // What the writer tells of a file it wrote all the same: a paper it could not enclose.
        QStringList *notices = nullptr;
    };
    using Writer = bool (*)(const QString &path, const Source &source, QString *errorString);

    // One form of the report, told by the file's extension.
    struct Form
    {
        QLatin1StringView suffix;
        Writer write;
        // Drawing pages needs fonts, and so a QGuiApplication; the other forms are only text.
        bool drawsPages = false;
        // What this form holds, where the report's forms hold different things.
        QString holds;
        // The export dialog that offers this form, with its file filter; none for a form
        // only the command line writes.
        QString dialogTitle;
        QString dialogFilter;
        // What the file's name adds to the estimate's, so that it does not take the place of
        // the estimate's own export ("house-budget.pdf").
        QLatin1StringView nameEnding;
    };

    // The name --report takes.
    QLatin1StringView name;
    // The report as a usage message names it: "a draw request".
    QString noun;
    std::span<const Form> forms;
    // Made of a Draw Request: the next one, or that of a recorded draw again.
    bool ofDraw = false;
    // Made of the draw history, so that an estimate whose history cannot be read has none.
    bool ofHistory = false;
    // Why a file whose name ends in none of the forms is not written; without it the form of
    // the dialog that asked is written whatever the name ends in.
    QString refusal;
    // Of a recorded draw: without --draw, the last one rather than the next request.
    bool ofRecordedDraw = false;

    // The form of this suffix (without the point, any case), or null.
    const Form *form(const QString &suffix) const;
    // The file filter of the dialog of this title: the filters of every form it offers.
    QString dialogFilter(const QString &title) const;
    // The suffixes of the forms, as a usage message lists them: "pdf (the summary) or csv".
    QString formList() const;
    // Writes the form the path's extension names, or the one of fallbackSuffix where the
    // report refuses no name; errorString learns why not.
    bool write(const QString &path, const Source &source, const QString &fallbackSuffix, QString *errorString) const;
};

namespace Reports {
std::span<const Report> all();
// The report --report names, or null.
const Report *named(const QString &name);
const Report &estimate();
const Report &drawRequest();
const Report &budget();
const Report &loan();
const Report &drawPackage();
// The suffixes of every form of every report, each once, in the table's order.
QStringList suffixes();
// "a, b or c".
QString alternatives(const QStringList &items);
}
