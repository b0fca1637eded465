#include "app/commandline.h"
#include "app/programidentity.h"
#include "core/document/estimatefile.h"
#include "core/history/changeorders.h"
#include "core/history/drawrequest.h"
#include "core/history/drawrequestchecks.h"
#include "core/sheet/money.h"
#include "gui/dialogs/qtfiledialogs.h"
#include "gui/help/userguide.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestDocumentCommands : public QObject
{
    Q_OBJECT

    // The links of the guide's contents: where each leads and where it stands in the text.
    static QList<std::pair<QString, int>> contentsLinks(const QTextBrowser &guide)
    {
        QList<std::pair<QString, int>> links;
        for (QTextBlock block = guide.document()->begin(); block.isValid(); block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QString href = fragment.fragment().charFormat().anchorHref();
                if (href.startsWith(u'#') && links.size() < 20)
                    links.append({href.mid(1), fragment.fragment().position() + 1});
            }
            if (block.text() == u"Keys"_s)
                break;
        }
        return links;
    }

    // The guide's sections as the contents list names them and as its headings do, and any text
    // that was meant as markup and shows as itself: a heading's "#", a paragraph laid out as code.
    struct GuideOutline
    {
        QStringList contents;
        QStringList headings;
        QStringList shownAsMarkup;
    };

    static GuideOutline outlineOf(const QTextBrowser &guide)
    {
        GuideOutline outline;
        bool inContents = false;
        for (QTextBlock block = guide.document()->begin(); block.isValid(); block = block.next()) {
            const int level = block.blockFormat().headingLevel();
            if (level > 0)
                inContents = block.text() == u"Contents"_s;
            if (level == 2 && block.text() != u"Contents"_s)
                outline.headings << UserGuide::anchorOf(block.text());
            if (inContents && block.textList())
                outline.contents << block.begin().fragment().charFormat().anchorHref().mid(1);
            if (block.text().trimmed().startsWith(u'#') || block.blockFormat().nonBreakableLines())
                outline.shownAsMarkup << block.text();
        }
        return outline;
    }

    static QTextBlock headingNamed(const QTextBrowser &guide, const QString &anchor)
    {
        for (QTextBlock block = guide.document()->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() > 0 && UserGuide::anchorOf(block.text()) == anchor)
                return block;
        }
        return {};
    }

private slots:
    // An estimate opened by a path relative to the folder VARN started in ("VARN
    // plans/house.vrn") is proposed for Save As in its own folder, as one opened by its whole path.
    void saveAsProposesTheEstimatesFolder_data()
    {
        QTest::addColumn<bool>("relative");
        QTest::newRow("relative path") << true;
        QTest::newRow("absolute path") << false;
    }

    void saveAsProposesTheEstimatesFolder()
    {
        QFETCH(bool, relative);
        QTemporaryDir started;
        QVERIFY(QDir(started.path()).mkdir(u"plans"_s));
        const QString before = QDir::currentPath();
        QDir::setCurrent(started.path());
        const QDir plans(started.filePath(u"plans"_s));
        const QString whole = plans.filePath(u"house.vrn"_s);
        // The folder the dialog shows, and the file it would write.
        QString shownFolder;
        QString proposed;
        QTimer::singleShot(0, [&shownFolder, &proposed] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shownFolder = dialog->directory().canonicalPath();
            proposed = dialog->selectedFiles().value(0);
            dialog->reject();
        });
        QtFileDialogs dialogs;
        dialogs.showSave(relative ? u"plans/house.vrn"_s : whole);
        QDir::setCurrent(before);
        QCOMPARE(shownFolder, plans.canonicalPath());
        QCOMPARE(QFileInfo(proposed).absoluteDir().canonicalPath(), plans.canonicalPath());
        QCOMPARE(QFileInfo(proposed).fileName(), u"house.vrn"_s);
    }

    // The name the program gives itself before its window opens: the desktop entry's ID is what
    // docks and task bars match the window with, to show the launcher's icon and name.
    void programIdentity()
    {
        const QString testName = QCoreApplication::applicationName();
        ProgramIdentity::apply();
        const QString programName = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(testName);
        QCOMPARE(programName, QStringLiteral("VARN"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("example.varn.varn"));
    }

    // A first window: its menus as designed, and the file type registered at start-up, only
    // when the program's folder changed.
    void startUp()
    {
        const QFileInfo program(QCoreApplication::applicationFilePath());
        QSettings(program.completeBaseName(), program.completeBaseName()).clear();
        WindowFixture f;
        QStringList items;
        for (QAction *menu : f.window->menuBar()->actions()) {
            items << menu->text();
            for (QAction *item : menu->menu()->actions()) {
                if (item->isVisible())
                    items << (item->isSeparator() ? QStringLiteral("-")
                                                  : item->text() + u'|' + item->shortcut().toString());
            }
        }
        // The designed items keep their order and keys, whatever is added between them.
        const QStringList designed =
            QStringLiteral("&File,&New|Ctrl+N,&Open...|Ctrl+O,&Save|Ctrl+S,Save &As...|Ctrl+A,-,&Print|Ctrl+P,-,"
                           "E&xit|Ctrl+Q,&Edit,Cu&t|Ctrl+X,&Copy|Ctrl+C,&Paste|Ctrl+V,&Delete|Del,-,"
                           "Rec&ord Current Payments|,-,Edit Cell|F2,&Help,&About|")
                .split(u',');
        qsizetype found = 0;
        for (const QString &item : std::as_const(items))
            found += found < designed.size() && item == designed.at(found) ? 1 : 0;
        QVERIFY2(found == designed.size(), qPrintable(items.join(u' ')));

        QCOMPARE(f.registrar->registrations,
                 (QList<QStringList>{{program.completeBaseName(), "vrn", program.absolutePath(), "GRAPH03.ICO"}}));
        WindowFixture second;
        QCOMPARE(second.registrar->registrations.size(), 0);
    }

    // Help > Open Example Estimate, by the menu's letters: a house in progress whose totals tie
    // out and whose history reads whole, as an untitled copy that Save cannot write back.
    void exampleEstimate()
    {
        WindowFixture f;
        f.press(Qt::Key_H, Qt::AltModifier);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E);
        const Grid &grid = f.model();
        QVERIFY(!f.text(5, EstimateSheet::SupplierColumn).isEmpty());
        QCOMPARE(f.document->CurrentFile(), QString());
        QVERIFY(f.document->DocumentSaved());
        QCOMPARE(f.messages->shown.size(), 0);

        const EstimateContent content = f.document->content();
        QCOMPARE(content.unreadLines, QByteArray());
        QCOMPARE(content.historyError, QString());
        QVERIFY(!content.historyUnread);
        QCOMPARE(content.history.later, LaterSection());
        QCOMPARE(content.history.draws.size(), 3);
        QCOMPARE(content.history.changeOrders.size(), 3);
        QVERIFY(content.history.retainageBasisPoints > 0);
        for (int column = EstimateSheet::OriginalEstimateColumn; column <= EstimateSheet::CostToCompleteColumn;
             ++column) {
            double sum = 0;
            for (int row = 1; row <= EstimateSheet::ItemRowCount; ++row)
                sum += Money::ReadMoneyValue(grid.text(row, column));
            QCOMPARE(grid.text(EstimateSheet::TotalRow, column), Money::moneyText(sum));
        }
        QVERIFY(Money::ReadMoneyValue(grid.text(EstimateSheet::TotalRow, EstimateSheet::CurrentPaymentColumn)) > 0);
        QCOMPARE(DrawRequestChecks::previousPaymentsDifferingFromHistory(grid, content.history),
                 QList<DrawRequestChecks::PaymentDifference>());
        // Approved orders moved the adjusted estimates, and nothing else did.
        QVERIFY(std::any_of(content.history.changeOrders.begin(), content.history.changeOrders.end(),
                            [](const ChangeOrder &order) { return order.status == ChangeOrder::Status::Approved; }));
        QCOMPARE(ChangeOrders::handEdits(grid, content.history), QList<ChangeOrders::HandEdit>());
        const std::optional<DrawRequest> first = DrawRequest::recorded(grid, f.header, content.history, 1);
        QVERIFY(first);
        QVERIFY(first->openingBalance() > 0);
        QCOMPARE(first->previousPayments, first->openingBalance());

        // Save asks for a name and writes there what the example holds, byte for byte.
        const QString saved = f.path(u"our house.vrn"_s);
        f.dialogs->savePaths = {saved};
        f.press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs->savePresets, QStringList{QString()});
        QFile example(u":/example/example.vrn"_s);
        QVERIFY(example.open(QIODevice::ReadOnly));
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), example.readAll());
        QCOMPARE(EstimateFile::load(saved), std::optional<EstimateContent>(content));
    }

    // The example replaces the estimate as Open does: unsaved changes are asked about first,
    // and its own, once changed, are asked about when it goes.
    void exampleGuardedAsAnyEstimate()
    {
        WindowFixture f;
        f.enter(5, 3, u"100"_s);
        f.trigger("mnuOpenExample");
        QCOMPARE(f.messages->texts(), QStringList{u"Do you want to save your Current document?"_s});
        QCOMPARE(f.text(5, 3), u"$100.00"_s);
        f.messages->answers = {MessageBoxes::No};
        f.trigger("mnuOpenExample");
        QVERIFY(f.text(5, 3) != u"$100.00"_s);
        f.messages->shown.clear();
        f.enter(5, 3, u"200"_s);
        f.messages->answers = {MessageBoxes::No};
        f.trigger("mnuNew");
        QCOMPARE(f.messages->texts(), QStringList{u"Do you want to save your Current document?"_s});
        QCOMPARE(f.text(5, 3), QString());
    }

    // The guide's contents take the reader to each section, and Ctrl+F finds a word in it.
    void userGuideContentsAndFind()
    {
        WindowFixture f;
        f.press(Qt::Key_F1, Qt::ShiftModifier);
        auto *guide = f.window->findChild<QTextBrowser *>();
        QVERIFY(guide);
        QVERIFY(QTest::qWaitForWindowExposed(guide->window()));
        const GuideOutline outline = outlineOf(*guide);
        QCOMPARE(outline.contents, outline.headings);
        QCOMPARE(outline.shownAsMarkup, QStringList());
        const QList<std::pair<QString, int>> links = contentsLinks(*guide);
        QVERIFY(links.size() >= 10);
        for (const auto &[target, position] : links) {
            guide->verticalScrollBar()->setValue(0);
            QTextCursor link(guide->document());
            link.setPosition(position);
            QTest::mouseClick(guide->viewport(), Qt::LeftButton, {}, guide->cursorRect(link).center());
            const QTextBlock heading = headingNamed(*guide, target);
            QVERIFY2(heading.isValid(), qPrintable(target));
            QVERIFY2(guide->viewport()->rect().contains(guide->cursorRect(QTextCursor(heading)).center()),
                     qPrintable(target));
        }

        guide->setFocus();
        QTest::keySequence(guide, QKeySequence::Find);
        auto *findText = guide->window()->findChild<QLineEdit *>(u"txtFindInGuide"_s);
        QVERIFY(findText && findText->isVisible() && findText->hasFocus());
        QTest::keyClicks(findText, u"opening balance"_s);
        QCOMPARE(guide->textCursor().selectedText().toLower(), u"opening balance"_s);
        const int firstFound = guide->textCursor().position();
        QTest::keyClick(findText, Qt::Key_Return);
        QVERIFY(guide->textCursor().position() != firstFound);
        QCOMPARE(guide->textCursor().selectedText().toLower(), u"opening balance"_s);
        auto *notFound = guide->window()->findChild<QLabel *>(u"lblNotFound"_s);
        QVERIFY(!notFound->isVisible());
        QTest::keyClicks(findText, u"xyzzy"_s);
        QVERIFY(notFound->isVisible());
        QTest::keyClick(findText, Qt::Key_Escape);
        QVERIFY(!findText->isVisible());
        QVERIFY(guide->window()->isVisible());
    }

    // Help > VARN User Guide, from the keyboard (the menu's arrows, its letter, Shift+F1),
    // shows the handbook in the program, each time the same one.
    void userGuide()
    {
        WindowFixture f;
        for (int opening = 0; opening < 3; ++opening) {
            if (opening == 2) {
                f.press(Qt::Key_F1, Qt::ShiftModifier);
            } else {
                f.press(Qt::Key_H, Qt::AltModifier);
                auto *help = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(help);
                const auto onGuide = [help] {
                    return help->activeAction() && help->activeAction()->text() == "VARN User &Guide";
                };
                for (int down = 0; opening == 0 && down < 5 && !onGuide(); ++down)
                    QTest::keyClick(help, Qt::Key_Down);
                QVERIFY(opening == 1 || onGuide());
                QTest::keyClick(help, opening == 0 ? Qt::Key_Return : Qt::Key_G);
            }
            auto *shown = f.window->findChild<QTextBrowser *>();
            QVERIFY2(shown, qPrintable(QString::number(opening)));
            QTRY_VERIFY(shown->window()->isVisible());
            if (opening < 2)
                shown->window()->close();
        }
        const QList<QTextBrowser *> guides = f.window->findChildren<QTextBrowser *>();
        QCOMPARE(guides.size(), 1);
        QTextBrowser *guide = guides.first();
        QTRY_VERIFY(guide->isVisible());
        QCOMPARE(guide->window()->windowTitle(), QStringLiteral("VARN User Guide"));
        const QString text = guide->toPlainText();
        for (const char *topic : {"Record Current Payments", "Export Draw Request", "Estimated Cost to Complete",
                                  "Total of Previous Payment", "F2", "Ctrl+Tab", "lender"})
            QVERIFY2(text.contains(QLatin1String(topic)), topic);
        // Read as a handbook, not as Markdown source.
        QVERIFY(!text.contains(QLatin1String("## ")));
        QVERIFY(guide->document()->blockCount() > 20);
    }

    // Alt+F and one letter reach every File item, the recent files included.
    void fileMenuMnemonics()
    {
        WindowFixture f;
        const QString file = m_folder.filePath("recent.vrn");
        f.dialogs->savePaths = {file};
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        QStringList letters;
        for (const QAction *item : f.window->menuBar()->actions().first()->menu()->actions()) {
            const qsizetype mark = item->text().indexOf(u'&');
            if (item->isVisible() && !item->isSeparator() && mark >= 0)
                letters << item->text().mid(mark + 1, 1).toLower();
        }
        QVERIFY(letters.size() >= 10);
        QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
    }

    // Alt and the underlined letter of a caption reach the text box beside it from anywhere,
    // the sheet included, without opening a menu.
    void labelMnemonics()
    {
        WindowFixture f;
        for (const auto &[letter, textBox] :
             {std::pair(Qt::Key_N, "txtName"), {Qt::Key_D, "txtAddress"}, {Qt::Key_M, "txtBuilder"}}) {
            f.clickCell(4, 3);
            QCOMPARE(QApplication::focusWidget(), f.grid);
            f.press(letter, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(textBox));
            QVERIFY(!QApplication::activePopupWidget());
        }
    }

    // An export is offered beside the estimate, under its name; the budget summary and the
    // loan statement under names of their own, so that they do not take the report's place.
    void exportProposesEstimateName()
    {
        WindowFixture f;
        const QStringList commands{"mnuExportPdf",    "mnuExportCsv",  "mnuExportXlsx",
                                   "mnuExportBudget", "mnuExportLoan", "mnuExportDrawPackage"};
        for (const QString &command : commands)
            f.window->findChild<QAction *>(command)->trigger();
        QCOMPARE(f.dialogs->exportPresets, QStringList(6, QString()));
        QVERIFY(QDir().mkpath(m_folder.filePath("site")));
        f.dialogs->savePaths = {m_folder.filePath("site/house.vrn")};
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        for (const QString &command : commands)
            f.window->findChild<QAction *>(command)->trigger();
        QCOMPARE(
            f.dialogs->exportPresets.mid(6),
            (QStringList{m_folder.filePath("site/house.pdf"), m_folder.filePath("site/house.csv"),
                         m_folder.filePath("site/house.xlsx"), m_folder.filePath("site/house-budget.pdf"),
                         m_folder.filePath("site/house-loan.pdf"), m_folder.filePath("site/house-draw-package.pdf")}));
    }

    void exportLoanStatement_data()
    {
        Rows::columns<QString, QByteArray, QString>("name", "written", "message");
        QTest::newRow("PDF") << "loan.pdf" << QByteArray("%PDF") << "";
        QTest::newRow("CSV") << "loan.csv" << QByteArray("Draw") << "";
        QTest::newRow("workbook") << "loan.xlsx" << QByteArray("PK\x03\x04") << "";
        QTest::newRow("another name") << "loan.txt" << QByteArray()
                                      << "loan.txt: a loan statement is written as .pdf, .csv or .xlsx";
    }

    // File > Export Loan Statement... writes the form the chosen name ends in.
    void exportLoanStatement()
    {
        auto [name, written, message] = Rows::fetch<QString, QByteArray, QString>("name", "written", "message");
        WindowFixture f;
        f.dialogs->exportPaths = {f.path(name)};
        f.trigger("mnuExportLoan");
        QCOMPARE(f.dialogs->exportTitles, QStringList{u"Export Loan Statement"_s});
        QCOMPARE(Files::read(f.path(name)).left(4), written);
        const QString shown = f.messages->texts().join(u'\n');
        QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.endsWith(message), qPrintable(shown));
    }

    // File > Export Draw Package... writes the last draw's package, and the status bar names the
    // paper it could not enclose.
    void exportDrawPackage()
    {
        WindowFixture f;
        EstimateHistory history;
        Draw draw;
        draw.number = 1;
        draw.date = QDate(2026, 5, 1);
        draw.lines = {DrawLine{5, 100000, 100000, 0, 25000, std::nullopt, {}, {}}};
        history.draws = {draw};
        Paper paper;
        paper.number = 1;
        paper.title = u"gone"_s;
        paper.subjectNumber = 1;
        paper.file = AttachedFile{u"house documents/gone.pdf"_s, QByteArray(32, 'x'), 10};
        history.papers = {paper};
        f.window->document().setHistory(history);
        f.dialogs->savePaths = {f.path("house.vrn")};
        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        f.dialogs->exportPaths = {f.path("house-draw-package.pdf")};
        f.trigger("mnuExportDrawPackage");
        QCOMPARE(f.dialogs->exportTitles, QStringList{u"Export Draw Package"_s});
        QCOMPARE(Files::read(f.path("house-draw-package.pdf")).left(4), QByteArray("%PDF"));
        QVERIFY2(f.messages->texts().isEmpty(), qPrintable(f.messages->texts().join(u'\n')));
        QCOMPARE(f.statusNotice(),
                 u"Exported house-draw-package.pdf; Enclosure 1, Invoice: gone not included: the file is missing"_s);
    }

    // An open edit goes into its cell before Save, and before close or Exit asks, the desktop's
    // key for quitting too; Cancel keeps the window and Exit asks only once.
    void openEditAndClosing()
    {
        WindowFixture f;
        const QString path = m_folder.filePath("typed.vrn");
        f.dialogs->savePaths = {path};
        f.clickCell(4, 3);
        f.type(QStringLiteral("12"));
        f.press(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.model().currentColumn(), 3);
        QVERIFY(f.window->document().DocumentSaved());
        QCOMPARE(EstimateFile::load(path).value_or(EstimateContent()).cells[3][2], QStringLiteral("$12.00"));

        f.clickCell(4, 1);
        f.type(QStringLiteral("Mason"));
        f.messages->answers = {MessageBoxes::Cancel, MessageBoxes::Cancel, MessageBoxes::No, MessageBoxes::No};
        QVERIFY(!f.window->close());
        QCOMPARE(f.text(4, 1), QStringLiteral("Mason"));
        f.press(Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(f.messages->shown.size(), 2);
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->close());
        // Exit asks once, not again as the window closes.
        f.window->show();
        f.trigger("mnuExit");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.messages->shown.size(), 4);
    }

    void fileChangedByAnotherProgram_data()
    {
        // inFile: the supplier the file holds afterwards
        // inCopy: and the copy saved under another name
        Rows::columns<bool, MessageBoxes::Answer, QString, QString>("otherSaves", "answer", "inFile", "inCopy");
        QTest::newRow("no other save") << false << MessageBoxes::Cancel << "Acme" << QString();
        QTest::newRow("save over it") << true << MessageBoxes::Yes << "Acme" << QString();
        QTest::newRow("save as") << true << MessageBoxes::No << u"Bolt"_s << u"Acme"_s;
        QTest::newRow("cancel") << true << MessageBoxes::Cancel << "Bolt" << QString();
    }

    // Two windows on one file: Save asks before it writes over what the other saved since.
    void fileChangedByAnotherProgram()
    {
        auto [otherSaves, answer, inFile, inCopy] =
            Rows::fetch<bool, MessageBoxes::Answer, QString, QString>("otherSaves", "answer", "inFile", "inCopy");
        const QString path = m_folder.filePath(QStringLiteral("shared %1.vrn").arg(QTest::currentDataTag()));
        const QString copy = m_folder.filePath(QStringLiteral("copy %1.vrn").arg(QTest::currentDataTag()));
        QVERIFY(EstimateFile::save(path, EstimateContent()));
        WindowFixture first(path);
        WindowFixture other(path);
        QTRY_COMPARE(first.window->document().CurrentFile(), path);
        QTRY_COMPARE(other.window->document().CurrentFile(), path);
        // Keys go to the window the user works in.
        const auto activate = [](const WindowFixture &window) {
            window.window->activateWindow();
            return QTest::qWaitForWindowActive(window.window.get());
        };
        QVERIFY(activate(first));
        first.enter(5, 1, QStringLiteral("Acme"));
        if (otherSaves) {
            QVERIFY(activate(other));
            other.enter(5, 1, QStringLiteral("Bolt"));
            other.press(Qt::Key_S, Qt::ControlModifier);
        }

        first.messages->answers = {answer};
        first.dialogs->savePaths = {copy};
        QVERIFY(activate(first));
        first.press(Qt::Key_S, Qt::ControlModifier);
        const QString question = QStringLiteral("shared %1.vrn was changed by another program since you opened it. "
                                                "Save over it, or Save As...?")
                                     .arg(QTest::currentDataTag());
        QCOMPARE(first.messages->texts(), otherSaves ? QStringList{question} : QStringList());
        const auto supplier = [](const QString &file) {
            return EstimateFile::load(file).value_or(EstimateContent()).cells[4][0];
        };
        QCOMPARE(supplier(path), inFile);
        QCOMPARE(supplier(copy), inCopy);
        QCOMPARE(first.window->document().DocumentSaved(), answer != MessageBoxes::Cancel || !otherSaves);
    }

    void headerEditsMarkChanged()
    {
        WindowFixture f;
        auto *name = f.child<QLineEdit>("txtName");
        name->setFocus();
        f.type(QStringLiteral("Pat"));
        QVERIFY(!f.window->document().DocumentSaved());
        QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat"));

        // New clears the header fields on screen and marks nothing; Tab out of the address marks.
        f.messages->answers = {MessageBoxes::No};
        f.trigger("mnuNew");
        QCOMPARE(name->text(), QString());
        f.child<QPlainTextEdit>("txtAddress")->setFocus();
        QVERIFY(f.window->document().DocumentSaved());
        f.press(Qt::Key_Tab);
        QVERIFY(!f.window->document().DocumentSaved());

        // The toolbar's keys are exact: "save" is none of them.
        f.window->Toolbar1_ButtonClick(QStringLiteral("save"));
        f.window->Toolbar1_ButtonClick(QStringLiteral("Save"));
        QCOMPARE(f.dialogs->savePresets, QStringList{QString()});
        // The desktop's key for Save As works beside Ctrl+A.
        f.grid->setFocus();
        f.press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.dialogs->savePresets.size(), 2);
    }

    void commandLineDocumentOpensOnce()
    {
        EstimateContent content;
        content.address = QStringLiteral("1 Elm Road\nSpringfield");
        const QString path = m_folder.filePath("folder with blanks/house.vrn");
        QVERIFY(QDir().mkpath(m_folder.filePath("folder with blanks")));
        QVERIFY(EstimateFile::save(path, content));

        WindowFixture f(path);
        QTRY_COMPARE(f.window->document().CurrentFile(), path);
        QCOMPARE(f.child<QPlainTextEdit>("txtAddress")->toPlainText(), content.address);
        QVERIFY(f.window->document().DocumentSaved());

        // Activating the window again opens nothing; a later Open, here from the toolbar,
        // shows the dialog.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(f.window.get(), &activate);
        f.window->Toolbar1_ButtonClick(QStringLiteral("open"));
        QCOMPARE(f.dialogs->openCount, 0);
        f.window->Toolbar1_ButtonClick(QStringLiteral("Open"));
        QCOMPARE(f.dialogs->openCount, 1);
    }

    void commandLine_data()
    {
        Rows::columns<QStringList, QString>("arguments", "path");
        QTest::newRow("none") << QStringList{"VARN"} << "";
        QTest::newRow("blanks unquoted") << QStringList{"VARN", "/home/pat/My", "House.vrn"}
                                         << "/home/pat/My House.vrn";
        QTest::newRow("quoted") << QStringList{"VARN", "\"C:\\My Files\\house.vrn\""} << "C:\\My Files\\house.vrn";
        QTest::newRow("lone quote kept") << QStringList{"VARN", "\""} << "\"";
    }

    void commandLine()
    {
        auto [arguments, path] = Rows::fetch<QStringList, QString>("arguments", "path");
        QCOMPARE(CommandLine::documentPath(arguments), path);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
