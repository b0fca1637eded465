#include "about/frmabout.h"
#include "about/registryvalues.h"
#include "about/sysinfostarter.h"
#include "app/messageboxes.h"
#include "app/productinfo.h"
#include "app/twips.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

namespace {

const QString UnavailableMessage =
        QStringLiteral("information|Cost Estimate|System Information Is Unavailable At This Time");

// Records every box as "kind|title|text".
class RecordingMessageBoxes : public MessageBoxes
{
public:
    QStringList calls;

    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        calls << "question|" + title + '|' + text;
        return Cancel;
    }
    void showCritical(const QString &text, const QString &title) override
    {
        calls << "critical|" + title + '|' + text;
    }
    void showWarning(const QString &text, const QString &title) override
    {
        calls << "warning|" + title + '|' + text;
    }
    void showInformation(const QString &text, const QString &title) override
    {
        calls << "information|" + title + '|' + text;
    }
};

const QString MsInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// Values by key path and name, read as the Windows registry reads them; counts the keys
// left open.
class FakeRegistry : public RegistryReader
{
public:
    QHash<QString, QHash<QString, Value>> keys;
    int openKeys = 0;

    std::optional<Key> openKey(Root, const QString &keyPath) override
    {
        if (!keys.contains(keyPath))
            return std::nullopt;
        m_opened << keyPath;
        ++openKeys;
        return Key(m_opened.size() - 1);
    }
    std::optional<Value> queryValue(Key key, const QString &name, qsizetype bufferSize) override
    {
        const QHash<QString, Value> &values = keys[m_opened.at(key)];
        if (!values.contains(name) || values[name].data.size() > bufferSize)
            return std::nullopt;
        return values[name];
    }
    void closeKey(Key) override { --openKeys; }

private:
    QStringList m_opened;
};

RegistryReader::Value stringValue(const QString &text)
{
    return { RegistryReader::StringType,
             QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2) };
}

RegistryReader::Value numberValue(quint32 number)
{
    QByteArray data(4, '\0');
    qToLittleEndian(number, data.data());
    return { RegistryReader::NumberType, data };
}

void createFile(const QString &path, const QByteArray &content = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.setPermissions(file.permissions() | QFile::ExeOwner);
}

QString labelText(const QWidget &box, const QString &name)
{
    return box.findChild<QLabel *>(name)->text();
}

}

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { qputenv("PATH", m_savedPath); }

    void captions();
    void shownBoxKeepsItsDesign();
    void keysClose_data();
    void keysClose();
    void tabOrder();
    void clicksKeepTheBoxOpen();
    void everyShowingIsFresh();

    void keyValue_data();
    void keyValue();
    void msInfoPath();
    void msInfoLookupStopsAtValueWithoutData();

    void startsFirstToolOnPath_data();
    void startsFirstToolOnPath();
    void reportsUnavailableTool_data();
    void reportsUnavailableTool();

private:
    QByteArray m_savedPath;
};

void TestAbout::initTestCase()
{
    QPixmap artwork(64, 64);
    artwork.fill(Qt::darkBlue);
    QApplication::setWindowIcon(QIcon(artwork));
    m_savedPath = qgetenv("PATH");
}

void TestAbout::captions()
{
    RecordingMessageBoxes messages;
    const FrmAbout box(messages);
    QCOMPARE(box.objectName(), "frmAbout");
    QCOMPARE(box.windowTitle(), "About Cost Estimate");
    QCOMPARE(labelText(box, "lblTitle"), "Cost Estimate");
    QCOMPARE(labelText(box, "lblVersion"), "Version 2.4.6");
    QCOMPARE(labelText(box, "lblDescription"),
             "Cost Estimate\r\n" + ProductInfo::webAddress() + "\r\n"
                     + ProductInfo::contactEmail() + "\r\n");
    QCOMPARE(labelText(box, "lblDisclaimer"),
             ProductInfo::authorLine() + "\r\n" + ProductInfo::companyWebAddress()
                     + "\r\nPlease report any bugs to " + ProductInfo::bugReportEmail());
    QCOMPARE(box.findChild<QPushButton *>("cmdOK")->text(), "OK");
    QCOMPARE(box.findChild<QPushButton *>("cmdSysInfo")->text(), "&System Info...");
    QCOMPARE(box.findChild<QLabel *>("picIcon")->pixmap().size(), QSize(32, 32));
}

void TestAbout::shownBoxKeepsItsDesign()
{
    RecordingMessageBoxes messages;
    FrmAbout box(messages);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const int dpi = box.logicalDpiX();
    QCOMPARE(box.size(), QSize(Twips::toPixels(5730, dpi), Twips::toPixels(3555, dpi)));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    for (const QWidget *control : box.findChildren<QWidget *>())
        QVERIFY2(box.rect().contains(control->geometry()), qPrintable(control->objectName()));
    // The line ends are line breaks on screen, and no line is cut off, whatever the font.
    for (const QLabel *label : box.findChildren<QLabel *>())
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(label->objectName()));
    const QLabel *notice = box.findChild<QLabel *>("lblDisclaimer");
    QVERIFY(notice->heightForWidth(notice->width()) >= 3 * notice->fontMetrics().lineSpacing());
}

void TestAbout::keysClose_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focused");
    QTest::newRow("Enter on OK") << int(Qt::Key_Return) << "cmdOK";
    QTest::newRow("keypad Enter on OK") << int(Qt::Key_Enter) << "cmdOK";
    QTest::newRow("Enter on the icon") << int(Qt::Key_Return) << "picIcon";
    QTest::newRow("Escape on OK") << int(Qt::Key_Escape) << "cmdOK";
    QTest::newRow("Escape on System Info") << int(Qt::Key_Escape) << "cmdSysInfo";
}

void TestAbout::keysClose()
{
    QFETCH(int, key);
    QFETCH(QString, focused);
    RecordingMessageBoxes messages;
    FrmAbout box(messages);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QWidget *control = box.findChild<QWidget *>(focused);
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));
    QTRY_VERIFY(box.isHidden());
    QVERIFY(messages.calls.isEmpty());
}

void TestAbout::tabOrder()
{
    RecordingMessageBoxes messages;
    FrmAbout box(messages);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QStringList visited;
    for (int step = 0; step < 4; ++step) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({ "cmdOK", "picIcon", "cmdSysInfo", "cmdOK" }));
}

void TestAbout::clicksKeepTheBoxOpen()
{
    const QTemporaryDir folderWithoutTools;
    qputenv("PATH", QFile::encodeName(folderWithoutTools.path()));
    RecordingMessageBoxes messages;
    FrmAbout box(messages);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.findChild<QLabel *>("lblTitle"), Qt::LeftButton);
    QVERIFY(box.isVisible());
    QVERIFY(messages.calls.isEmpty());

    QTest::mouseClick(box.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(messages.calls, QStringList(UnavailableMessage));
    QVERIFY(box.isVisible());
}

void TestAbout::everyShowingIsFresh()
{
    RecordingMessageBoxes messages;
    QList<QStringList> textsOfShowings;
    for (int showing = 0; showing < 2; ++showing) {
        QPointer<QWidget> shownBox;
        QTimer::singleShot(0, this, [&] {
            shownBox = QApplication::activeModalWidget();
            QStringList texts { shownBox->windowTitle() };
            for (const QLabel *label : shownBox->findChildren<QLabel *>())
                texts << label->text();
            textsOfShowings << texts;
            QTest::keyClick(shownBox, Qt::Key_Escape);
        });
        FrmAbout::showModal(nullptr, messages);
        QVERIFY(shownBox.isNull());
    }
    QCOMPARE(textsOfShowings.size(), 2);
    QCOMPARE(textsOfShowings.at(1), textsOfShowings.at(0));
    QVERIFY(textsOfShowings.at(0).contains("Version 2.4.6"));
}

void TestAbout::keyValue_data()
{
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<RegistryReader::Value>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("text");
    const QString tool = QStringLiteral("C:\\Windows\\msinfo32.exe");
    const QString nul(1, QChar(u'\0'));
    QTest::newRow("string loses its NUL") << MsInfoKey << stringValue(tool + nul) << true << tool;
    QTest::newRow("string without NUL stays whole")
            << MsInfoKey << stringValue(tool) << true << tool;
    QTest::newRow("only one NUL is dropped")
            << MsInfoKey << stringValue("ab" + nul + nul) << true << QString("ab" + nul);
    QTest::newRow("1024 bytes fill the buffer")
            << MsInfoKey << stringValue(QString(512, u'x')) << true << QString(512, u'x');
    QTest::newRow("1026 bytes do not fit")
            << MsInfoKey << stringValue(QString(513, u'x')) << false << QString();
    QTest::newRow("number") << MsInfoKey << numberValue(0xABCD) << true << "&hABCD";
    QTest::newRow("number zero") << MsInfoKey << numberValue(0) << true << "&h0";
    QTest::newRow("number with top bit set")
            << MsInfoKey << numberValue(0x80000001u) << true << "&h80000001";
    QTest::newRow("other type keeps the text")
            << MsInfoKey << RegistryReader::Value { 3, "\x01\x02" } << true << "passed";
    QTest::newRow("key that cannot be opened")
            << LocationKey << stringValue(tool) << false << QString();
}

void TestAbout::keyValue()
{
    QFETCH(QString, keyPath);
    QFETCH(RegistryReader::Value, value);
    QFETCH(bool, read);
    QFETCH(QString, text);
    FakeRegistry registry;
    registry.keys[MsInfoKey]["PATH"] = value;
    const RegistryValues values(registry);
    const auto root = RegistryReader::Root::LocalMachine;
    QString valueText = QStringLiteral("passed");
    QCOMPARE(values.GetKeyValue(root, keyPath, "PATH", valueText), read);
    QCOMPARE(valueText, text);

    valueText = QStringLiteral("passed");
    QVERIFY(!values.GetKeyValue(root, MsInfoKey, "Missing", valueText));
    QCOMPARE(valueText, QString());
    QCOMPARE(registry.openKeys, 0);
}

void TestAbout::msInfoPath()
{
    const QTemporaryDir tools;
    const QString folderWithTool = tools.filePath("msinfo");
    // The lookup joins with a Windows separator; here that makes a single file name.
    createFile(folderWithTool + "\\MSINFO32.EXE");

    const auto lookUp = [](std::optional<RegistryReader::Value> path, const QString &folder) {
        FakeRegistry registry;
        if (path)
            registry.keys[MsInfoKey]["PATH"] = *path;
        if (!folder.isNull())
            registry.keys[LocationKey]["MSINFO"] = stringValue(folder);
        return SysInfoStarter::msInfoPath(RegistryValues(registry));
    };
    const QString missingTool = QStringLiteral("C:\\Nowhere\\msinfo32.exe");
    QCOMPARE(lookUp(stringValue(missingTool), QString()), missingTool);
    QCOMPARE(lookUp(stringValue(missingTool), folderWithTool), missingTool);
    QCOMPARE(lookUp(std::nullopt, folderWithTool), folderWithTool + "\\MSINFO32.EXE");
    QCOMPARE(lookUp(std::nullopt, tools.path()), std::nullopt);
    QCOMPARE(lookUp(std::nullopt, QString()), std::nullopt);
    // Read, but of a type that says nothing: the empty path later fails to start.
    QCOMPARE(lookUp(RegistryReader::Value { 2, "%x%" }, folderWithTool), QString());
}

void TestAbout::msInfoLookupStopsAtValueWithoutData()
{
    const QTemporaryDir tools;
    createFile(tools.path() + "\\MSINFO32.EXE");
    FakeRegistry registry;
    registry.keys[MsInfoKey]["PATH"] = { RegistryReader::StringType, QByteArray() };
    registry.keys[LocationKey]["MSINFO"] = stringValue(tools.path());
    QVERIFY_THROWS_EXCEPTION(RegistryValues::EmptyValueError,
                             SysInfoStarter::msInfoPath(RegistryValues(registry)));
    QCOMPARE(registry.openKeys, 0);
}

void TestAbout::startsFirstToolOnPath_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");
    const QStringList tools = SysInfoStarter::desktopTools();
    QTest::newRow("preferred tool") << QStringList { tools.last(), tools.first() } << tools.first();
    QTest::newRow("later tool") << QStringList { tools.last() } << tools.last();
}

void TestAbout::startsFirstToolOnPath()
{
#ifdef Q_OS_WIN
    QSKIP("Windows takes its tool from the registry");
#endif
    QFETCH(QStringList, installed);
    QFETCH(QString, started);
    const QTemporaryDir folder;
    for (const QString &tool : installed)
        createFile(folder.filePath(tool), "#!/bin/sh\n: > \"$0.started\"\n");
    qputenv("PATH", QFile::encodeName(folder.path()));
    RecordingMessageBoxes messages;

    SysInfoStarter(messages).StartSysInfo();
    QTRY_VERIFY(QFile::exists(folder.filePath(started + ".started")));
    for (const QString &tool : installed)
        QCOMPARE(QFile::exists(folder.filePath(tool + ".started")), tool == started);
    QVERIFY(messages.calls.isEmpty());
}

void TestAbout::reportsUnavailableTool_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::newRow("no tool") << QByteArray();
    QTest::newRow("tool that cannot start") << QByteArray("#!/nonexistent/interpreter\n");
}

void TestAbout::reportsUnavailableTool()
{
#ifdef Q_OS_WIN
    QSKIP("Windows takes its tool from the registry");
#endif
    QFETCH(QByteArray, script);
    const QTemporaryDir folder;
    if (!script.isEmpty())
        createFile(folder.filePath(SysInfoStarter::desktopTools().first()), script);
    qputenv("PATH", QFile::encodeName(folder.path()));
    RecordingMessageBoxes messages;

    SysInfoStarter(messages).StartSysInfo();
    QCOMPARE(messages.calls, QStringList(UnavailableMessage));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
