#include "core/sheet/twips.h"
#include "gui/about/frmabout.h"
#include "gui/about/registryvalues.h"
#include "gui/about/sysinfostarter.h"
#include "support/fakes.h"
#include "support/rows.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using Value = RegistryReader::Value;

const QString MsInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

// One value, PATH of the MSINFO key, read as the Windows registry reads it; counts the keys left open.
struct FakeRegistry : RegistryReader
{
    Value path;
    int openKeys = 0;

    std::optional<Key> openKey(Root, const QString &keyPath) override
    {
        return keyPath == MsInfoKey ? std::optional(Key(++openKeys)) : std::nullopt;
    }
    std::optional<Value> queryValue(Key, const QString &name, qsizetype bufferSize) override
    {
        return name == "PATH" && path.data.size() <= bufferSize ? std::optional(path) : std::nullopt;
    }
    void closeKey(Key) override { --openKeys; }
};

Value stringValue(const QString &text)
{
    return {RegistryReader::StringType, QByteArray(reinterpret_cast<const char *>(text.utf16()), 2 * text.size())};
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qputenv("PATH", m_savedPath); }

    void showing_data()
    {
        Rows::columns<qreal, bool, Qt::Key, QString>("points", "dark", "key", "focused");
        QTest::newRow("9 pt, light, Return on OK") << 9.0 << false << Qt::Key_Return << u"cmdOK"_s;
        QTest::newRow("12 pt, light, Enter on the icon") << 12.0 << false << Qt::Key_Enter << u"picIcon"_s;
        QTest::newRow("12 pt, dark, Escape on System Info") << 12.0 << true << Qt::Key_Escape << u"cmdSysInfo"_s;
    }

    // At the desktop's font size every caption shows whole, the notice's CR LF as line breaks,
    // in the theme's text colour, in a box no smaller than designed; the focusable icon has a
    // name. Enter or Escape closes the box wherever the focus is, and a closed box is gone.
    void showing()
    {
        auto [points, dark, key, focused] =
            Rows::fetch<qreal, bool, Qt::Key, QString>("points", "dark", "key", "focused");
        const QFont fontBefore = QApplication::font();
        const QPalette paletteBefore = QApplication::palette();
        QFont font = fontBefore;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        QPalette palette = paletteBefore;
        if (dark) {
            palette.setColor(QPalette::Window, QColor(0x31, 0x36, 0x3b));
            palette.setColor(QPalette::WindowText, QColor(0xef, 0xf0, 0xf1));
        }
        QApplication::setPalette(palette);
        QStringList faults;
        QPointer<QDialog> box;
        QTimer::singleShot(0, this, [&] {
            box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            const Twips::Scale scale = Twips::Scale::of(*box);
            if (box->width() < scale.x(5730) || box->height() < scale.y(3555))
                faults << "smaller than designed";
            if (box->windowTitle() != u"About Cost Estimate"
                || box->findChild<QLabel *>("lblVersion")->text() != u"Version 2.4.6")
                faults << box->windowTitle() + " " + box->findChild<QLabel *>("lblVersion")->text();
            const QLabel *notice = box->findChild<QLabel *>("lblDisclaimer");
            if (notice->heightForWidth(notice->width()) < 3 * notice->fontMetrics().lineSpacing())
                faults << "the notice's lines run together";
            for (const QLabel *label : box->findChildren<QLabel *>()) {
                if (!box->rect().contains(label->geometry()))
                    faults << label->objectName() + " outside the box";
                if (label->text().isEmpty())
                    continue;
                for (const QString &line : label->text().split(QStringLiteral("\r\n"))) {
                    if (label->fontMetrics().horizontalAdvance(line) > label->contentsRect().width())
                        faults << label->objectName() + " cuts " + line;
                }
                if (label->heightForWidth(label->width()) > label->height())
                    faults << label->objectName() + " cuts its last line";
                if (label->palette().color(QPalette::WindowText) != palette.color(QPalette::WindowText))
                    faults << label->objectName() + " in " + label->palette().color(QPalette::WindowText).name();
            }
            for (const QPushButton *button : box->findChildren<QPushButton *>()) {
                if (button->sizeHint().width() > button->width() || !box->rect().contains(button->geometry()))
                    faults << button->objectName() + " cut";
            }
            if (QAccessible::queryAccessibleInterface(box->findChild<QLabel *>("picIcon"))
                    ->text(QAccessible::Name)
                    .isEmpty())
                faults << "the icon has no name";
            const QString described = QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
            for (const char *label : {"lblTitle", "lblVersion"}) {
                if (!described.contains(box->findChild<QLabel *>(label)->text()))
                    faults << QString::fromLatin1(label) + " is not in the box's description";
            }
            QWidget *control = box->findChild<QWidget *>(focused);
            control->setFocus();
            QTest::keyClick(control, key);
            if (box->isVisible())
                faults << "still open";
            box->reject();
        });
        FakeMessageBoxes messages;
        FrmAbout::showModal(nullptr, messages);
        QApplication::setFont(fontBefore);
        QApplication::setPalette(paletteBefore);
        QCOMPARE(faults, QStringList());
        QVERIFY(box.isNull());
        QVERIFY(messages.shown.isEmpty());
    }

    void keyValue_data()
    {
        // read: 1 read, 0 not read, -1 a value without data
        Rows::columns<QString, Value, int, QString>("keyPath", "value", "read", "text");
        const QString tool = QStringLiteral("C:\\Windows\\msinfo32.exe");
        const QString nul(1, QChar(u'\0'));
        const auto number = [](const char *hex) { return Value{RegistryReader::NumberType, QByteArray::fromHex(hex)}; };
        QTest::newRow("string without NUL stays whole") << MsInfoKey << stringValue(tool) << 1 << tool;
        QTest::newRow("only one NUL is dropped") << MsInfoKey << stringValue("ab" + nul + nul) << 1 << "ab" + nul;
        QTest::newRow("1024 bytes fill the buffer")
            << MsInfoKey << stringValue(QString(512, u'x')) << 1 << QString(512, u'x');
        QTest::newRow("1026 bytes do not fit") << MsInfoKey << stringValue(QString(513, u'x')) << 0 << QString();
        QTest::newRow("number") << MsInfoKey << number("cdab0000") << 1 << "&hABCD";
        QTest::newRow("number zero") << MsInfoKey << number("00000000") << 1 << "&h0";
        QTest::newRow("number with top bit set") << MsInfoKey << number("01000080") << 1 << "&h80000001";
        QTest::newRow("other type keeps the text") << MsInfoKey << Value{3, "\x01"} << 1 << "passed";
        QTest::newRow("key that cannot be opened") << "SOFTWARE\\Other" << stringValue(tool) << 0 << QString();
        QTest::newRow("value without data") << MsInfoKey << Value{RegistryReader::StringType, {}} << -1 << "passed";
    }

    void keyValue()
    {
        auto [keyPath, value, read, text] =
            Rows::fetch<QString, Value, int, QString>("keyPath", "value", "read", "text");
        FakeRegistry registry;
        registry.path = value;
        QString valueText = QStringLiteral("passed");
        const auto get = [&] {
            return RegistryValues(registry).GetKeyValue(RegistryReader::Root::LocalMachine, keyPath, "PATH", valueText);
        };
        using Lookup = RegistryValues::Lookup;
        QCOMPARE(get(), read < 0 ? Lookup::WithoutData : read == 1 ? Lookup::Read : Lookup::NotRead);
        QCOMPARE(valueText, text);
        QCOMPARE(registry.openKeys, 0);
    }

    void sysInfo_data()
    {
        // started: none: the user is told so
        Rows::columns<QStringList, QByteArray, QString>("installed", "script", "started");
        const QStringList tools = SysInfoStarter::desktopTools();
        const QByteArray works = "#!/bin/sh\n: > \"$0.started\"\n";
        QTest::newRow("preferred tool") << QStringList{tools.last(), tools.first()} << works << tools.first();
        QTest::newRow("later tool") << QStringList{tools.last()} << works << tools.last();
        QTest::newRow("no tool") << QStringList() << works << QString();
        QTest::newRow("tool that cannot start")
            << QStringList{tools.first()} << QByteArray("#!/nonexistent/sh\n") << QString();
    }

    void sysInfo()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows takes its tool from the registry");
#endif
        auto [installed, script, started] =
            Rows::fetch<QStringList, QByteArray, QString>("installed", "script", "started");
        const QTemporaryDir folder;
        for (const QString &tool : installed) {
            QFile file(folder.filePath(tool));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script) == script.size()
                    && file.setPermissions(file.permissions() | QFile::ExeOwner));
        }
        qputenv("PATH", QFile::encodeName(folder.path()));
        FakeMessageBoxes messages;
        SysInfoStarter(messages).StartSysInfo();
        if (!started.isEmpty())
            QTRY_VERIFY(QFile::exists(folder.filePath(started + ".started")));
        for (const QString &tool : installed)
            QCOMPARE(QFile::exists(folder.filePath(tool + ".started")), tool == started);
        QCOMPARE(messages.texts(),
                 started.isEmpty() ? QStringList("System Information Is Unavailable At This Time") : QStringList());
        for (const FakeMessageBoxes::Shown &box : messages.shown)
            QCOMPARE(box.kind + '|' + box.title, "information|Cost Estimate");
    }

private:
    const QByteArray m_savedPath = qgetenv("PATH");
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
