#include "document/document.h"
#include "document/estimatefile.h"
#include "document/headerfields.h"
#include "fakes.h"
#include "sheet/estimatesheet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A document with its sheet and fake dialogs, as the main window holds one.
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

    QByteArray bytes(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void nothingToSaveAsksNothing();
    void anyMoveMarksChanged();
    void promptCancelKeepsEverything();
    void promptNoDiscards();
    void promptYesWritesCurrentFile();
    void promptYesWithoutFileShowsSaveDialog();
    void promptYesCancelledOrFailedStops();
    void newClearsTheEstimate();
    void saveAndOpenRoundTrip();
    void openRecalculates();
    void openFailuresKeepEverything_data();
    void openFailuresKeepEverything();
    void cancelledDialogsKeepCurrentFile();
    void saveAsOffersCurrentFile();
    void failedSaveKeepsOldFile();
    void commandLineDocument();
    void lostCharactersReported();
};

void TestDocument::nothingToSaveAsksNothing()
{
    DocumentFixture f;
    QVERIFY(f.document.DocumentSaved());
    QCOMPARE(f.document.QuerySaveChanges(), 6);
    f.document.newEstimate();
    f.document.open();
    QVERIFY(f.messages.shown.isEmpty());
}

void TestDocument::anyMoveMarksChanged()
{
    DocumentFixture f;
    f.grid().setCurrentCell(3, 3);
    QVERIFY(!f.document.DocumentSaved());
}

void TestDocument::promptCancelKeepsEverything()
{
    DocumentFixture f;
    f.enter(4, 3, "100");
    f.header.setText(HeaderFields::Name, "Owner");
    f.messages.answers = {MessageBoxes::Cancel};
    f.document.newEstimate();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().text, QStringLiteral("Do you want to save your Current document?"));
    QCOMPARE(f.messages.shown.first().title, QStringLiteral("Stop"));
    QCOMPARE(f.grid().text(4, 3), QStringLiteral("$100.00"));
    QCOMPARE(f.header.text(HeaderFields::Name), QStringLiteral("Owner"));
    QVERIFY(!f.document.DocumentSaved());
}

void TestDocument::promptNoDiscards()
{
    DocumentFixture f;
    f.enter(4, 3, "100");
    f.messages.answers = {MessageBoxes::No};
    QCOMPARE(f.document.QuerySaveChanges(), 7);
    QCOMPARE(f.dialogs.savePresets.size(), 0);
}

void TestDocument::promptYesWritesCurrentFile()
{
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("a.vrn")};
    f.enter(2, 3, "5");
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    f.enter(2, 4, "7");
    f.messages.answers = {MessageBoxes::Yes};
    QCOMPARE(f.document.QuerySaveChanges(), 6);
    QCOMPARE(f.dialogs.savePresets.size(), 1);
    QVERIFY(f.document.DocumentSaved());
    QVERIFY(f.bytes("a.vrn").contains("\"\",\"Utilities\",\"$5.00\",\"$7.00\",\"\",\"\",\"$7.00\"\r\n"));
}

void TestDocument::promptYesWithoutFileShowsSaveDialog()
{
    DocumentFixture f;
    f.enter(2, 3, "5");
    f.dialogs.savePaths = {f.path("new.vrn")};
    f.messages.answers = {MessageBoxes::Yes};
    QCOMPARE(f.document.QuerySaveChanges(), 6);
    QCOMPARE(f.dialogs.savePresets, QStringList{QString()});
    QCOMPARE(f.document.CurrentFile(), f.path("new.vrn"));
    QVERIFY(QFile::exists(f.path("new.vrn")));
}

void TestDocument::promptYesCancelledOrFailedStops()
{
    DocumentFixture f;
    f.enter(2, 3, "5");
    // Saying yes and then cancelling the save dialog keeps the changes: the command stops.
    f.messages.answers = {MessageBoxes::Yes};
    QCOMPARE(f.document.QuerySaveChanges(), 2);
    QVERIFY(!f.document.DocumentSaved());

    // A write that fails says so and stops too.
    f.messages.answers = {MessageBoxes::Yes};
    f.dialogs.savePaths = {f.path("missing-folder/x.vrn")};
    f.document.newEstimate();
    QCOMPARE(f.grid().text(2, 3), QStringLiteral("$5.00"));
    QVERIFY(!f.document.DocumentSaved());
    QCOMPARE(f.messages.shown.last().text, QStringLiteral("An error as accured while trying to save this file."));
    QCOMPARE(f.messages.shown.last().title, QStringLiteral("File Error"));
    QCOMPARE(f.messages.shown.last().kind, QStringLiteral("critical"));
}

void TestDocument::newClearsTheEstimate()
{
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("a.vrn")};
    f.enter(3, 3, "20");
    f.grid().setText(3, 2, "Changed");
    f.grid().setText(32, 2, "Shed");
    f.header.setText(HeaderFields::Address, "1 Main St\nTown");
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    f.document.newEstimate();
    QCOMPARE(f.grid().text(3, 2), QStringLiteral("Excavation"));
    QCOMPARE(f.grid().text(32, 2), QString());
    QCOMPARE(f.grid().text(3, 3), QString());
    QCOMPARE(f.grid().text(37, 3), QStringLiteral("0"));
    QCOMPARE(f.header.text(HeaderFields::Address), QString());
    QCOMPARE(f.document.CurrentFile(), QString());
    QVERIFY(f.document.DocumentSaved());
}

void TestDocument::saveAndOpenRoundTrip()
{
    DocumentFixture f;
    f.header.setText(HeaderFields::Name, "Pat Owner");
    f.header.setText(HeaderFields::Address, "12 Elm Road\nSpringfield");
    f.header.setText(HeaderFields::Builder, "Self");
    f.enter(1, 3, "1500");
    f.enter(1, 5, "200");
    f.enter(8, 6, "75");
    f.grid().setText(8, 1, "Roofers, Inc.");
    f.dialogs.savePaths = {f.path("house.vrn")};
    QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
    const EstimateContent saved = f.document.content();

    DocumentFixture g;
    g.dialogs.openPaths = {f.path("house.vrn")};
    g.document.open();
    QCOMPARE(g.document.content(), saved);
    QCOMPARE(g.grid().text(37, 3), QStringLiteral("$1,500.00"));
    QCOMPARE(g.grid().text(37, 7), QStringLiteral("$1,225.00"));
    QCOMPARE(g.grid().textColour(8, 7), TextColour::Red);
    QCOMPARE(g.document.CurrentFile(), f.path("house.vrn"));
    QVERIFY(g.document.DocumentSaved());
    QCOMPARE(g.grid().currentRow(), 1);
    QCOMPARE(g.grid().currentColumn(), 1);
}

void TestDocument::openRecalculates()
{
    DocumentFixture f;
    EstimateContent content;
    content.cells[4][2] = "$1,000.00";
    content.cells[4][6] = "$5.00"; // a stale remainder, recomputed on open
    content.cells[5][4] = "300";
    f.writeFile("stale.vrn", EstimateFile::encode(content));
    f.dialogs.openPaths = {f.path("stale.vrn")};
    f.document.open();
    QCOMPARE(f.grid().text(5, 4), QStringLiteral("$1,000.00"));
    QCOMPARE(f.grid().text(5, 7), QStringLiteral("$1,000.00"));
    QCOMPARE(f.grid().text(6, 7), QStringLiteral("($300.00)"));
    QCOMPARE(f.grid().text(37, 5), QStringLiteral("$300.00"));
    QCOMPARE(f.grid().text(5, 2), QString());
}

void TestDocument::openFailuresKeepEverything_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("cut short") << EstimateFile::encode({}).left(300);
    QTest::newRow("empty") << QByteArray("");
}

void TestDocument::openFailuresKeepEverything()
{
    QFETCH(QByteArray, bytes);
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("mine.vrn")};
    f.enter(6, 3, "42");
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    f.header.setText(HeaderFields::Builder, "Kept");
    f.enter(6, 4, "40");
    const EstimateContent before = f.document.content();
    if (!bytes.isNull())
        f.writeFile("bad.vrn", bytes);

    f.messages.answers = {MessageBoxes::No};
    f.dialogs.openPaths = {f.path("bad.vrn")};
    f.document.open();
    QCOMPARE(f.messages.shown.last().text, QStringLiteral("An error as accured while trying to open this file."));
    QCOMPARE(f.messages.shown.last().title, QStringLiteral("File Error"));
    QCOMPARE(f.document.content(), before);
    QVERIFY(!f.document.DocumentSaved());
    // The document still belongs to its own file: a Save cannot overwrite the bad one.
    QCOMPARE(f.document.CurrentFile(), f.path("mine.vrn"));
}

void TestDocument::cancelledDialogsKeepCurrentFile()
{
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("mine.vrn")};
    QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
    f.document.open();
    QCOMPARE(f.dialogs.openCount, 1);
    QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Cancelled);
    QCOMPARE(f.document.CurrentFile(), f.path("mine.vrn"));
    QVERIFY(f.messages.shown.isEmpty());
}

void TestDocument::saveAsOffersCurrentFile()
{
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("one.vrn"), f.path("two.vrn")};
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Saved);
    QCOMPARE(f.dialogs.savePresets, (QStringList{QString(), f.path("one.vrn")}));
    QCOMPARE(f.document.CurrentFile(), f.path("two.vrn"));
    // Save with a file writes it without a dialog.
    f.enter(1, 1, "x");
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    QCOMPARE(f.dialogs.savePresets.size(), 2);
}

void TestDocument::failedSaveKeepsOldFile()
{
    DocumentFixture f;
    f.dialogs.savePaths = {f.path("keep.vrn")};
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    const QByteArray old = f.bytes("keep.vrn");
    QVERIFY(QDir(f.folder.path()).mkdir("keep.vrn.folder"));

    f.enter(2, 3, "9");
    f.dialogs.savePaths = {f.path("keep.vrn.folder")};
    QCOMPARE(f.document.saveAs(), Document::SaveOutcome::Failed);
    QVERIFY(!f.document.DocumentSaved());
    QCOMPARE(f.messages.shown.last().text, QStringLiteral("An error as accured while trying to save this file."));
    QCOMPARE(f.bytes("keep.vrn"), old);
}

void TestDocument::commandLineDocument()
{
    DocumentFixture f;
    EstimateContent content;
    content.name = "From the command line";
    f.writeFile("cli.vrn", EstimateFile::encode(content));
    f.document.setCommandLineDocument(f.path("cli.vrn"));
    f.document.open();
    f.document.setCommandLineOpened();
    QCOMPARE(f.dialogs.openCount, 0);
    QCOMPARE(f.header.text(HeaderFields::Name), QStringLiteral("From the command line"));
    f.document.open();
    QCOMPARE(f.dialogs.openCount, 1);

    // A document named on the command line that cannot be read says so.
    DocumentFixture g;
    g.document.setCommandLineDocument(g.path("no such file.vrn"));
    g.document.open();
    QCOMPARE(g.messages.texts(), QStringList{"An error as accured while trying to open this file."});
    QCOMPARE(g.document.CurrentFile(), QString());
}

void TestDocument::lostCharactersReported()
{
    DocumentFixture f;
    f.header.setText(HeaderFields::Builder, QString::fromUtf16(u"Zo\u00eb \u03a9mega"));
    f.dialogs.savePaths = {f.path("greek.vrn")};
    QCOMPARE(f.document.save(), Document::SaveOutcome::Saved);
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().kind, QStringLiteral("warning"));
    QVERIFY(f.messages.shown.first().text.contains(QString::fromUtf16(u"Builder: \u03a9")));
    QVERIFY(f.bytes("greek.vrn").contains("\"Zo\xeb ?mega\""));
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
