#pragma once

// A document with its sheet and fake dialogs, as the main window holds one, for the tests of
// the core without a window.

#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "fakes.h"

#include <QTemporaryDir>
#include <QTest>
struct DocumentFixture
{
    EstimateSheet sheet;
    HeaderFields header;
    FakeFileDialogs dialogs;
    FakeMessageBoxes messages;
    Document document{sheet, header, dialogs, messages};
    QTemporaryDir folder;

    Grid &grid() { return sheet.grid(); }
    QString path(const QString &name) const { return folder.filePath(name); }

    // An edit as the editor commits it.
    void enter(int row, int column, const QString &text)
    {
        grid().setCurrentCell(row, column);
        grid().setText(row, column, text);
        sheet.FormatMoneyCell(row, column);
        sheet.RecalculateTotals();
    }

    // The kind, text and title of the i-th message box shown, or of the last one.
    QStringList message(qsizetype i = -1) const
    {
        const FakeMessageBoxes::Shown box = messages.shown.value(i < 0 ? messages.shown.size() - 1 : i);
        return {box.kind, box.text, box.title};
    }
};
