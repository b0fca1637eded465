#include "app/commandline.h"
#include "document/estimatefile.h"
#include "windowfixture.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>

class TestDocumentCommands : public QObject
{
    Q_OBJECT

private slots:
    void menusAsDesigned();
    void closeAsksAndCancelKeepsWindow();
    void exitAsksOnce();
    void openEditIsSavedNotLost();
    void headerEditsMarkChanged();
    void leavingAddressMarksChanged();
    void toolbarRunsCommands();
    void commandLineDocumentOpensOnce();
    void commandLine_data();
    void commandLine();
    void registersAtStartUp();

private:
    QTemporaryDir m_folder;
};

namespace {
QAction *action(const WindowFixture &f, const char *name)
{
    return f.window->findChild<QAction *>(QLatin1String(name));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

void TestDocumentCommands::menusAsDesigned()
{
    const QString appName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QSettings(appName, appName).remove(QStringLiteral("Recent"));
    WindowFixture f;
    QStringList items;
    for (QAction *menu : f.window->menuBar()->actions()) {
        items << menu->text();
        for (QAction *item : menu->menu()->actions()) {
            if (item->isVisible())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text() + u'|' + item->shortcut().toString());
        }
    }
    // The designed items in their order, with the additions in between.
    const QStringList expected = {"&File", "&New|Ctrl+N", "&Open...|Ctrl+O", "&Save|Ctrl+S", "Save &As...|Ctrl+A",
                                  "-", "&Print|Ctrl+P", "Print Pre&view...|", "Export as P&DF...|",
                                  "Export as CS&V...|", "-", "E&xit|",
                                  "&Edit", "&Undo|Ctrl+Z", "&Redo|Ctrl+Shift+Z", "-", "Cu&t|Ctrl+X", "&Copy|Ctrl+C",
                                  "&Paste|Ctrl+V", "&Delete|Del", "-", "Edit Cell|F2",
                                  "&Help", "&About|"};
    QCOMPARE(items, expected);
}

void TestDocumentCommands::closeAsksAndCancelKeepsWindow()
{
    WindowFixture f;
    f.enter(3, 3, QStringLiteral("10"));
    f.messages->answers = {MessageBoxes::Cancel};
    QVERIFY(!f.window->close());
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.text(3, 3), QStringLiteral("$10.00"));
    f.messages->answers = {MessageBoxes::No};
    QVERIFY(f.window->close());
    QCOMPARE(f.messages->shown.size(), 2);
}

void TestDocumentCommands::exitAsksOnce()
{
    WindowFixture f;
    f.enter(3, 3, QStringLiteral("10"));
    f.messages->answers = {MessageBoxes::Cancel};
    action(f, "mnuExit")->trigger();
    QVERIFY(f.window->isVisible());
    f.messages->answers = {MessageBoxes::No};
    action(f, "mnuExit")->trigger();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.messages->shown.size(), 2);
}

void TestDocumentCommands::openEditIsSavedNotLost()
{
    WindowFixture f;
    const QString path = m_folder.filePath("typed.vrn");
    f.dialogs->savePaths = {path};
    f.clickCell(4, 3);
    f.type(QStringLiteral("12"));
    QVERIFY(f.editor->isVisible());
    f.press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!f.editor->isVisible());
    QVERIFY(readFile(path).contains("\"\",\"Foundation\",\"$12.00\",\"$12.00\",\"\",\"\",\"$12.00\"\r\n"));
    QVERIFY(f.window->document().DocumentSaved());

    // An edit still open when the window closes is asked about, not dropped.
    f.clickCell(4, 1);
    f.type(QStringLiteral("Mason"));
    f.messages->answers = {MessageBoxes::Yes};
    QVERIFY(f.window->close());
    QVERIFY(readFile(path).contains("\"Mason\",\"Foundation\""));
}

void TestDocumentCommands::headerEditsMarkChanged()
{
    WindowFixture f;
    auto *name = f.window->findChild<QLineEdit *>(QStringLiteral("txtName"));
    name->setFocus();
    f.type(QStringLiteral("Pat"));
    QVERIFY(!f.window->document().DocumentSaved());
    QCOMPARE(f.window->header().text(HeaderFields::Name), QStringLiteral("Pat"));
    f.messages->answers = {MessageBoxes::Cancel};
    QVERIFY(!f.window->close());
    QCOMPARE(f.messages->shown.size(), 1);

    // New clears the header fields on screen and marks nothing.
    f.messages->answers = {MessageBoxes::No};
    action(f, "mnuNew")->trigger();
    QCOMPARE(name->text(), QString());
    QVERIFY(f.window->document().DocumentSaved());
}

void TestDocumentCommands::leavingAddressMarksChanged()
{
    WindowFixture f;
    auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
    address->setFocus();
    QVERIFY(f.window->document().DocumentSaved());
    f.press(Qt::Key_Tab);
    QVERIFY(!f.window->document().DocumentSaved());
}

void TestDocumentCommands::toolbarRunsCommands()
{
    WindowFixture f;
    f.window->Toolbar1_ButtonClick(QStringLiteral("Save"));
    QCOMPARE(f.dialogs->savePresets.size(), 1);
    f.window->Toolbar1_ButtonClick(QStringLiteral("Open"));
    QCOMPARE(f.dialogs->openCount, 1);
    f.window->Toolbar1_ButtonClick(QStringLiteral("save"));
    QCOMPARE(f.dialogs->savePresets.size(), 1);
}

void TestDocumentCommands::commandLineDocumentOpensOnce()
{
    EstimateContent content;
    content.name = QStringLiteral("Pat");
    content.address = QStringLiteral("1 Elm Road\nSpringfield");
    content.cells[0][2] = QStringLiteral("$2,000.00");
    const QString path = m_folder.filePath("folder with blanks/house.vrn");
    QVERIFY(QDir().mkpath(m_folder.filePath("folder with blanks")));
    QVERIFY(EstimateFile::save(path, content).saved);

    WindowFixture f(path);
    QTRY_COMPARE(f.window->document().CurrentFile(), path);
    auto *address = f.window->findChild<QPlainTextEdit *>(QStringLiteral("txtAddress"));
    QCOMPARE(address->toPlainText(), QStringLiteral("1 Elm Road\nSpringfield"));
    QCOMPARE(f.text(37, 7), QStringLiteral("$2,000.00"));
    QVERIFY(f.window->document().DocumentSaved());
    QCOMPARE(f.dialogs->openCount, 0);

    // Activating the window again opens nothing; a later Open shows the dialog.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f.window.get(), &activate);
    QCOMPARE(f.dialogs->openCount, 0);
    action(f, "mnuOpen")->trigger();
    QCOMPARE(f.dialogs->openCount, 1);
}

void TestDocumentCommands::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList{"VARN"} << "";
    QTest::newRow("one") << QStringList{"VARN", "/home/pat/house.vrn"} << "/home/pat/house.vrn";
    QTest::newRow("blanks unquoted") << QStringList{"VARN", "/home/pat/My", "House.vrn"} << "/home/pat/My House.vrn";
    QTest::newRow("quoted") << QStringList{"VARN", "\"C:\\My Files\\house.vrn\""} << "C:\\My Files\\house.vrn";
    QTest::newRow("lone quote kept") << QStringList{"VARN", "\""} << "\"";
}

void TestDocumentCommands::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(CommandLine::documentPath(arguments), path);
}

void TestDocumentCommands::registersAtStartUp()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    QSettings(program.completeBaseName(), program.completeBaseName()).remove(QStringLiteral("Settings"));
    WindowFixture f;
    QCOMPARE(f.registrar->registrations.size(), 1);
    QCOMPARE(f.registrar->registrations.first(),
             (QStringList{program.completeBaseName(), "vrn", program.absolutePath(), "GRAPH03.ICO"}));
    WindowFixture second;
    QCOMPARE(second.registrar->registrations.size(), 0);
}

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
