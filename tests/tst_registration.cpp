#include "document/desktopfileassociation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestRegistration : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartRegisters();
    void sameFolderRegistersNothing();
    void movedProgramRegistersAgain();
    void installedPackageIsNotShadowed();
    void execQuoting_data();
    void execQuoting();

private:
    QString dataPath(const QString &relative) const { return m_home->filePath("data/" + relative); }
    QString desktopEntry() const { return dataPath("applications/example.varn.varn.desktop"); }
    QString xdgMime(const QStringList &arguments) const;
    QByteArray read(const QString &path) const;
    void registerFrom(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_home;
};

void TestRegistration::init()
{
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty() || QStandardPaths::findExecutable("update-mime-database").isEmpty())
        QSKIP("xdg-utils and shared-mime-info are needed (scripts/install-deps.sh installs them)");
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_home->filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", m_home->filePath("config").toUtf8());
    qputenv("XDG_DATA_DIRS", m_home->filePath("system").toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
}

QString TestRegistration::xdgMime(const QStringList &arguments) const
{
    QProcess process;
    process.start("xdg-mime", arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QByteArray TestRegistration::read(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestRegistration::registerFrom(const QString &folder)
{
    QSettings settings(m_home->filePath("config/VARN/VARN.conf"), QSettings::IniFormat);
    DesktopFileAssociation().registerIfMoved(settings, "VARN", folder);
}

void TestRegistration::firstStartRegisters()
{
    registerFrom("/opt/My Estimates");
    QSettings settings(m_home->filePath("config/VARN/VARN.conf"), QSettings::IniFormat);
    QCOMPARE(settings.value("Settings/Assoc").toString(), QStringLiteral("/opt/My Estimates"));

    const QByteArray entry = read(desktopEntry());
    QVERIFY(entry.contains("\nExec=\"/opt/My Estimates/VARN\" %f\n"));
    QVERIFY(entry.contains("\nMimeType=application/x-varn;\n"));
    QVERIFY(QFile::exists(dataPath("icons/hicolor/48x48/apps/example.varn.varn.png")));

    const QString estimate = m_home->filePath("house.vrn");
    QFile file(estimate);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("2,4,6\r\n");
    file.close();
    QCOMPARE(xdgMime({"query", "filetype", estimate}), QStringLiteral("application/x-varn"));
    QCOMPARE(xdgMime({"query", "default", "application/x-varn"}), QStringLiteral("example.varn.varn.desktop"));
}

void TestRegistration::sameFolderRegistersNothing()
{
    registerFrom("/opt/varn");
    QVERIFY(QFile::remove(desktopEntry()));
    registerFrom("/opt/varn");
    QVERIFY(!QFile::exists(desktopEntry()));
}

void TestRegistration::movedProgramRegistersAgain()
{
    registerFrom("/opt/varn");
    registerFrom("/home/pat/varn");
    QVERIFY(read(desktopEntry()).contains("\nExec=/home/pat/varn/VARN %f\n"));
    // Letter case counts: another spelling is another folder.
    registerFrom("/home/pat/VARN");
    QVERIFY(read(desktopEntry()).contains("\nExec=/home/pat/VARN/VARN %f\n"));
}

void TestRegistration::installedPackageIsNotShadowed()
{
    // An earlier registration from a build folder left entries of its own.
    registerFrom("/home/pat/build");
    QVERIFY(QFile::exists(desktopEntry()));
    const QString installed = m_home->filePath("system/applications/example.varn.varn.desktop");
    QVERIFY(QDir().mkpath(QFileInfo(installed).absolutePath()));
    QFile file(installed);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=Cost Estimate\nExec=/usr/bin/VARN %f\n"
               "MimeType=application/x-varn;\n");
    file.close();

    registerFrom("/usr/bin");
    QVERIFY(!QFile::exists(desktopEntry()));
    QVERIFY(!QFile::exists(dataPath("mime/packages/example.varn.varn.xml")));
    QCOMPARE(xdgMime({"query", "default", "application/x-varn"}), QStringLiteral("example.varn.varn.desktop"));
}

void TestRegistration::execQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("command");
    QTest::newRow("plain") << "/usr/bin/VARN" << "/usr/bin/VARN";
    QTest::newRow("blank") << "/opt/My Estimates/VARN" << "\"/opt/My Estimates/VARN\"";
    QTest::newRow("dollar and quote") << "/opt/$x\"y/VARN" << "\"/opt/\\\\$x\\\\\"y/VARN\"";
    QTest::newRow("backslash") << "/opt/a\\b/VARN" << "\"/opt/a\\\\\\\\b/VARN\"";
    QTest::newRow("percent") << "/opt/100%/VARN" << "/opt/100%%/VARN";
}

void TestRegistration::execQuoting()
{
    QFETCH(QString, path);
    QFETCH(QString, command);
    QCOMPARE(DesktopFileAssociation::execCommand(path), command);
}

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
