#include "core/document/estimatefile.h"
#include "support/documentfixture.h"
#include "support/rows.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void savePrompt()
    {
        DocumentFixture f;
        // Nothing to save asks nothing.
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        f.enter(2, 3, "5");
        f.grid().setText(2, 2, "Changed");
        f.grid().setText(32, 2, "Shed");
        f.header.setText(HeaderFields::Address, "1 Main St\nTown");
        const EstimateContent before = f.document.content();

        // Cancel, and Yes with the save dialog cancelled, keep everything: the command stops.
        f.messages.answers = {MessageBoxes::Cancel, MessageBoxes::Yes, MessageBoxes::Yes, MessageBoxes::Yes};
        f.document.newEstimate();
        QCOMPARE(f.message(0), (QStringList{"question", "Do you want to save your Current document?", "Stop"}));
        QCOMPARE(f.document.QuerySaveChanges(), 2);
        QCOMPARE(f.document.content(), before);
        QVERIFY(!f.document.DocumentSaved());
        // Yes without a file shows the save dialog; with one it writes it without a dialog.
        f.dialogs.savePaths = {f.path("new.vrn")};
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        QVERIFY(EstimateFile::load(f.path("new.vrn")) == before);
        f.enter(2, 4, "7");
        QCOMPARE(f.document.QuerySaveChanges(), 6);
        QVERIFY(EstimateFile::load(f.path("new.vrn")) == f.document.content());
        QCOMPARE(f.dialogs.savePresets, (QStringList{"", ""}));
        // A write that fails stops the command too.
        f.enter(2, 4, "8");
        QVERIFY(QDir(f.folder.path()).removeRecursively());
        f.messages.answers = {MessageBoxes::Yes, MessageBoxes::No};
        QCOMPARE(f.document.QuerySaveChanges(), 2);
        QCOMPARE(f.message(),
                 (QStringList{"critical", "An error as accured while trying to save this file.", "File Error"}));
        QVERIFY(!f.document.DocumentSaved());

        // No discards: New restores the sheet of a new estimate.
        f.document.newEstimate();
        QCOMPARE((QStringList{f.grid().text(2, 2), f.grid().text(32, 2), f.grid().text(2, 4), f.grid().text(37, 3),
                              f.header.text(HeaderFields::Address), f.document.CurrentFile()}),
                 (QStringList{"Utilities", "", "", "0", "", ""}));
        QVERIFY(f.document.DocumentSaved());
    }

    void saveAndOpenRoundTrip()
    {
        DocumentFixture f;
        f.header.setText(HeaderFields::Name, "Pat Owner");
        f.header.setText(HeaderFields::Address, "12 Elm Road\nSpringfield");
        f.header.setText(HeaderFields::Builder, QString::fromUtf16(u"Zo\u00eb \u03a9mega"));
        f.enter(1, 3, "1500");
        f.enter(8, 6, "75");
        f.grid().setText(8, 1, "Roofers, Inc.");
        f.grid().setText(9, 2, QString());
        // Texts left stale, as another program may write them.
        f.grid().setText(5, 3, "$1,000.00");
        f.grid().setText(5, 7, "$5.00");
        f.dialogs.savePaths = {f.path("house.vrn")};
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
        // Characters the file cannot hold are stored as "?" and reported.
        QCOMPARE(f.message().first(), QStringLiteral("warning"));
        QVERIFY(f.message().at(1).contains(QString::fromUtf16(u"Builder: \u03a9")));

        // The command-line document opens once, without a dialog, and recalculated.
        DocumentFixture g;
        g.document.setCommandLineDocument(f.path("house.vrn"));
        QSignalSpy leaves(&g.grid(), &Grid::leavingCell);
        g.document.open();
        // Opening moves the current cell once, to the first item cell.
        QCOMPARE(leaves.count(), 1);
        g.document.setCommandLineOpened();
        EstimateContent expected = f.document.content();
        expected.builder = QString::fromUtf16(u"Zo\u00eb ?mega");
        expected.cells[4][3] = expected.cells[4][6] = "$1,000.00";
        QCOMPARE(g.document.content(), expected);
        QCOMPARE(g.grid().text(37, 4), QStringLiteral("$2,500.00"));
        QCOMPARE(g.grid().textColour(8, 7), TextColour::Red);
        QCOMPARE(std::pair(g.grid().currentRow(), g.grid().currentColumn()), std::pair(1, 1));
        QCOMPARE(g.document.CurrentFile(), f.path("house.vrn"));
        QVERIFY(g.document.DocumentSaved());
        QCOMPARE(g.dialogs.openCount, 0);
        g.document.open();
        QCOMPARE(g.dialogs.openCount, 1);

        // Any move of the current cell, edit or not, marks the document changed.
        g.grid().setCurrentCell(3, 3);
        QVERIFY(!g.document.DocumentSaved());
    }

    void openFailuresKeepEverything_data()
    {
        Rows::columns<QByteArray, bool>("bytes", "commandLine");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("cut short") << EstimateFile::encode({}).left(300) << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("command-line document missing") << QByteArray() << true;
    }

    void openFailuresKeepEverything()
    {
        auto [bytes, commandLine] = Rows::fetch<QByteArray, bool>("bytes", "commandLine");
        DocumentFixture f;
        f.dialogs.savePaths = {f.path("mine.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        f.header.setText(HeaderFields::Builder, "Kept");
        f.enter(6, 4, "40");
        const EstimateContent before = f.document.content();
        if (!bytes.isNull()) {
            QFile file(f.path("bad.vrn"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }

        f.messages.answers = {MessageBoxes::No};
        f.dialogs.openPaths = {f.path("bad.vrn")};
        if (commandLine)
            f.document.setCommandLineDocument(f.path("bad.vrn"));
        f.document.open();
        QCOMPARE(f.dialogs.openCount, commandLine ? 0 : 1);
        QCOMPARE(f.message(),
                 (QStringList{"critical", "An error as accured while trying to open this file.", "File Error"}));
        QCOMPARE(f.document.content(), before);
        QVERIFY(!f.document.DocumentSaved());
        // The document still belongs to its own file: a Save cannot overwrite the bad one.
        QCOMPARE(f.document.CurrentFile(), f.path("mine.vrn"));
    }

    void historyThroughOpenAndSave_data()
    {
        Rows::columns<QByteArray, bool>("section", "readable");
        EstimateContent content;
        content.history.draws = {{1, QDate(2026, 12, 1), "framing", 0, {{5, 100, 100, 0, 50}}}};
        const QByteArray section = EstimateFile::encode(content).mid(EstimateFile::encode({}).size());
        QTest::newRow("an estimate from before the history") << QByteArray() << true;
        QTest::newRow("with a history") << section << true;
        QTest::newRow("history cut short") << section.chopped(4) << false;
    }

    // An estimate opened and saved again is the same file; one whose history cannot be read
    // opens, says so, and is written without the history only when the user says yes.
    void historyThroughOpenAndSave()
    {
        auto [section, readable] = Rows::fetch<QByteArray, bool>("section", "readable");
        DocumentFixture f;
        EstimateContent content;
        content.cells[4] = {"Summit Roofing", "Roofing", "$1.00", "$1.00", "", "$0.50", "$0.50"};
        const QByteArray sheet = EstimateFile::encode(content);
        QFile file(f.path("house.vrn"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheet + section) == sheet.size() + section.size());
        file.close();
        f.document.openFile(f.path("house.vrn"));
        QCOMPARE(f.document.content().cells, content.cells);
        QCOMPARE(f.document.history().draws.size(), readable && !section.isEmpty() ? 1 : 0);
        const auto bytes = [&f] {
            QFile saved(f.path("house.vrn"));
            return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
        };
        if (readable) {
            QVERIFY(f.messages.shown.isEmpty());
            QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
            QCOMPARE(bytes(), sheet + section);
            return;
        }
        QCOMPARE(f.message().mid(0, 1), QStringList{"warning"});
        QVERIFY2(f.message().at(1).contains("draw history in this file could not be read: it is cut short"),
                 qPrintable(f.message().at(1)));
        f.messages.answers = {MessageBoxes::No, MessageBoxes::Yes};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Cancelled);
        QCOMPARE(f.message().mid(0, 1), QStringList{"yes/no question"});
        QCOMPARE(bytes(), sheet + section);
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(bytes(), sheet);
    }

    void saveAsAndCancelledDialogs()
    {
        DocumentFixture f;
        QVERIFY(QDir(f.folder.path()).mkdir("folder.vrn"));
        f.dialogs.savePaths = {f.path("one.vrn"), f.path("two.vrn"), QString(), f.path("folder.vrn")};
        QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
        f.document.open();
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Cancelled);
        QCOMPARE(f.dialogs.openCount, 1);
        QCOMPARE(f.document.CurrentFile(), f.path("two.vrn"));
        QVERIFY(f.messages.shown.isEmpty());

        // A save that fails leaves the old file whole.
        const auto saved = EstimateFile::load(f.path("two.vrn"));
        f.enter(2, 3, "10");
        QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Failed);
        QCOMPARE(f.dialogs.savePresets, (QStringList{"", f.path("one.vrn"), f.path("two.vrn"), f.path("two.vrn")}));
        QVERIFY(!f.document.DocumentSaved());
        QVERIFY(saved && EstimateFile::load(f.path("two.vrn")) == saved);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
