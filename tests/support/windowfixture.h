#pragma once

// A real main window, shown on the offscreen platform, with fake dialogs, and the means to
// click and type on it as a user does.

#include "core/document/document.h"
#include "core/sheet/estimatesheet.h"
#include "core/sheet/headerfields.h"
#include "core/sheet/twips.h"
#include "drawquestionkeys.h"
#include "fakes.h"
#include "gui/dialogs/platformservices.h"
#include "gui/print/printerdialog.h"
#include "gui/sheet/gridtablemodel.h"
#include "gui/sheet/gridview.h"
#include "gui/window/estimateform.h"
#include "gui/window/estimatestatusbar.h"
#include "gui/window/frmmain.h"

#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <memory>

// The printer dialog as a user answers it who prints to a PDF file.
class PdfPrinterDialog : public PrinterDialog
{
public:
    QString pdfPath;
    // The paper the user picks, when they pick one.
    QPageSize paper;
    bool confirm = true;
    int showings = 0;

protected:
    bool exec(QPrinter &printer, QWidget *) override
    {
        ++showings;
        if (confirm) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            if (paper.isValid())
                printer.setPageSize(paper);
        }
        return confirm;
    }
};

class WindowFixture
{
public:
    // firstAnswers answer the questions the window asks as it comes up.
    explicit WindowFixture(const QString &commandLineDocument = QString(),
                           const QList<MessageBoxes::Answer> &firstAnswers = {})
    {
        auto fileDialogs = std::make_unique<FakeFileDialogs>();
        auto messageBoxes = std::make_unique<FakeMessageBoxes>();
        messageBoxes->answers = firstAnswers;
        dialogs = fileDialogs.get();
        messages = messageBoxes.get();
        auto association = std::make_unique<FakeFileIconAssociation>();
        registrar = association.get();
        auto printerDialog = std::make_unique<PdfPrinterDialog>();
        printer = printerDialog.get();
        services = {std::move(fileDialogs), std::move(messageBoxes), std::move(association), std::move(printerDialog)};
        document = std::make_unique<Document>(sheet, header, *services.fileDialogs, *services.messageBoxes);
        document->setCommandLineDocument(commandLineDocument);
        window = std::make_unique<FrmMain>(*document, services);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        grid = window->findChild<GridView *>(QStringLiteral("grdMain"));
        editor = window->findChild<QLineEdit *>(QStringLiteral("txtCell"));
    }

    // The window at the size it was designed at, smaller than the whole sheet: for the
    // cases that need part of the sheet out of sight.
    void resizeToDesign() const
    {
        const QSize design(Twips::Scale::of(*window).x(9885),
                           window->menuBar()->sizeHint().height() + Twips::Scale::of(*window).y(7950));
        window->resize(design);
        QTRY_COMPARE(window->size(), design);
    }

    Grid &model() const { return window->sheet().grid(); }
    template <typename T = QWidget> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    void trigger(const char *action) const { child<QAction>(action)->trigger(); }
    // A file of the test's own folder, to save into.
    QString path(const QString &name) const { return folder.filePath(name); }
    const QString &text(int row, int column) const { return model().text(row, column); }
    QString statusNotice() const { return qobject_cast<EstimateStatusBar *>(window->statusBar())->notice(); }
    // The texts of a row's cells from one column to another.
    QStringList texts(int row, int first, int last) const
    {
        QStringList shown;
        for (int column = first; column <= last; ++column)
            shown << text(row, column);
        return shown;
    }
    std::pair<int, int> current() const { return {model().currentRow(), model().currentColumn()}; }

    // Scrolled into view first, where the sheet is wider or taller than its room, as the user
    // scrolls to a cell before clicking it.
    void clickCell(int row, int column) const
    {
        grid->scrollTo(static_cast<const GridTableModel *>(grid->model())->indexOfCell(row, column));
        const QPoint centre = grid->cellRect(row, column).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->viewport()->mapFrom(grid, centre));
    }

    void doubleClickCell(int row, int column) const
    {
        const QPoint centre = grid->viewport()->mapFrom(grid, grid->cellRect(row, column).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    }

    // Each key goes to whichever control has the focus by then, as typed keys do.
    void type(const QString &keys) const
    {
        for (const QChar key : keys)
            QTest::keyClicks(QApplication::focusWidget(), QString(key));
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // Clicks a cell, types an entry and presses Enter, as the user does.
    void enter(int row, int column, const QString &keys) const
    {
        clickCell(row, column);
        type(keys);
        press(Qt::Key_Return);
    }

    // Edit > Record Current Payments, its question answered with Return (yes) or Escape;
    // shown, when given, learns the question's texts.
    void recordCurrentPayments(bool yes = true, QStringList *shown = nullptr) const
    {
        answerDrawQuestion("mnuRecordPayments",
                           yes ? DrawQuestionKeys::Keys() : DrawQuestionKeys::Keys{{QKeySequence(Qt::Key_Escape), {}}},
                           shown);
    }

    // A command that asks the question of a draw, answered with these keys.
    void answerDrawQuestion(const char *action, const DrawQuestionKeys::Keys &keys, QStringList *shown = nullptr) const
    {
        QAction *command = window->findChild<QAction *>(QLatin1String(action));
        // Greyed, it asks nothing.
        if (!command->isEnabled())
            return;
        QStringList texts;
        DrawQuestionKeys::answerNext(keys, shown ? shown : &texts);
        command->trigger();
        // A window manager gives the window back the keys once the question is gone; the
        // offscreen platform has none.
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window.get());
    }

    // Saves through File > Save, as the user does, and gives the item rows as the file holds
    // them: for each row from 1 on, the texts of its seven columns.
    QList<QStringList> savedRows(const QString &path) const
    {
        dialogs->savePaths = {path};
        press(Qt::Key_S, Qt::ControlModifier);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        // The version line and the header line come first; these tests leave the header
        // texts without line breaks.
        const QList<QByteArray> lines = file.readAll().split('\r');
        QList<QStringList> rows;
        for (qsizetype line = 2; line < lines.size(); ++line) {
            const QByteArray fields = lines.at(line).trimmed();
            if (!fields.isEmpty())
                rows << QString::fromLatin1(fields.mid(1, fields.size() - 2)).split(QStringLiteral("\",\""));
        }
        return rows;
    }

    // The tooltip shown where the mouse rests over a cell, or nothing.
    QString toolTipOver(int row, int column) const
    {
        QWidget *viewport = grid->viewport();
        const QPoint over = viewport->mapFrom(grid, grid->cellRect(row, column).center());
        QHelpEvent help(QEvent::ToolTip, over, viewport->mapToGlobal(over));
        QApplication::sendEvent(viewport, &help);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return shown;
    }

    // Where the user sees a cell and the grid's cell area, in the editor's coordinates.
    QRect shownCell(int row, int column) const { return grid->cellRect(row, column).translated(grid->pos()); }
    QRect cellArea() const
    {
        return QRect(grid->viewport()->mapTo(editor->parentWidget(), QPoint()), grid->viewport()->size());
    }

    // A wheel turn over the middle of target as the platform delivers it: to the window,
    // which hands it to the control under the mouse and on to that control's parents
    // while none of them takes it.
    static void turn(QWidget *target, QPoint angle, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *window = target->window();
        const QPointF position = target->mapTo(window, target->rect().center());
        QWheelEvent event(position, window->mapToGlobal(position), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        // Handed to notify() itself, as sendEvent() would mark the turn as the program's own.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(window->windowHandle(), &event);
    }
    // Up (positive) or down, by eighths of a degree: 120 is a notch.
    static void turn(QWidget *target, int delta, Qt::KeyboardModifiers modifiers = {})
    {
        turn(target, QPoint(0, delta), modifiers);
    }

    QTemporaryDir folder;
    FakeFileDialogs *dialogs = nullptr;
    FakeMessageBoxes *messages = nullptr;
    FakeFileIconAssociation *registrar = nullptr;
    PdfPrinterDialog *printer = nullptr;
    // What the program makes before its window, and lets outlive it.
    EstimateSheet sheet{EstimateForm::naturalRowHeight()};
    HeaderFields header;
    PlatformServices services;
    std::unique_ptr<Document> document;
    std::unique_ptr<FrmMain> window;
    GridView *grid = nullptr;
    QLineEdit *editor = nullptr;
};
