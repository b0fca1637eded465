#include "core/registration/desktopfileassociation.h"
#include "support/files.h"
#include "support/programs.h"
#include "support/rows.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestRegistration : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!Programs::installed({"xdg-mime", "update-mime-database"}))
            QSKIP("xdg-utils and shared-mime-info are needed (scripts/install-deps.sh installs them)");
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", home("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home("config").toUtf8());
        qputenv("XDG_DATA_DIRS", home("system").toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
    }

    void firstStartRegisters()
    {
        registerFrom("/opt/My Estimates");
        QCOMPARE(QSettings(home("config/VARN/VARN.conf"), QSettings::IniFormat).value("Settings/Assoc").toString(),
                 QStringLiteral("/opt/My Estimates"));
        QVERIFY(entryText().contains("\nExec=\"/opt/My Estimates/VARN\" %f\n"));
        QVERIFY(entryText().contains("\nMimeType=application/x-varn;\n"));
        QVERIFY(QFile::exists(home("data/icons/hicolor/48x48/apps/example.varn.varn.png")));
        // The desktop's own tools know the file type and its handler.
        write(home("house.vrn"), "2,4,6\r\n");
        QCOMPARE(xdgMime({"query", "filetype", home("house.vrn")}), QStringLiteral("application/x-varn"));
        QCOMPARE(xdgMime({"query", "default", "application/x-varn"}), QStringLiteral("example.varn.varn.desktop"));
    }

    // The user's theme folder keeps a cache the desktop's look-ups trust: newer than each of
    // its folders, naming the program's icon and those other programs put there before. Without
    // one, every look-up of an icon by any program probes each folder of the theme for it.
    void iconThemeKeepsItsCache()
    {
        if (!Programs::installed({"gtk-update-icon-cache"}))
            QSKIP("gtk-update-icon-cache is needed (scripts/install-deps.sh installs it)");
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        QVERIFY(QDir().mkpath(home("data/icons/hicolor/48x48/apps")));
        QVERIFY(picture.save(home("data/icons/hicolor/48x48/apps/org.example.Other.png")));
        registerFrom("/opt/varn");
        const QString theme = home("data/icons/hicolor");
        const QFileInfo cache(theme + "/icon-theme.cache");
        QVERIFY(cache.exists());
        QDirIterator folders(theme, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (folders.hasNext()) {
            const QString folder = folders.next();
            QVERIFY2(cache.lastModified() >= QFileInfo(folder).lastModified(), qPrintable(folder));
        }
        const QByteArray names = Files::read(cache.filePath());
        QVERIFY(names.contains("example.varn.varn"));
        QVERIFY(names.contains("org.example.Other"));
    }

    void onlyMovedProgramRegistersAgain()
    {
        registerFrom("/opt/varn");
        QVERIFY(QFile::remove(entry()));
        registerFrom("/opt/varn");
        QVERIFY(!QFile::exists(entry()));
        registerFrom("/home/pat/varn");
        QVERIFY(entryText().contains("\nExec=/home/pat/varn/VARN %f\n"));
        // Letter case counts: another spelling is another folder.
        registerFrom("/home/pat/VARN");
        QVERIFY(entryText().contains("\nExec=/home/pat/VARN/VARN %f\n"));
    }

    void installedPackage_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("the package's program is not shadowed") << "/usr/bin";
        QTest::newRow("a build beside the package registers nothing") << "/home/pat/build-2";
    }

    // Beside the installed package, the program takes back what an earlier run from a build
    // folder wrote for the user, and leaves the package the file type.
    void installedPackage()
    {
        QFETCH(QString, folder);
        registerFrom("/home/pat/build");
        QVERIFY(QFile::exists(entry()));
        write(home("system/applications/example.varn.varn.desktop"),
              "[Desktop Entry]\nType=Application\nName=Cost Estimate\nExec=/usr/bin/VARN "
              "%f\nMimeType=application/x-varn;\n");
        // As the package's installation brings the desktop's cache up to date.
        Programs::run("update-desktop-database", {home("system/applications")});
        registerFrom(folder);
        QCOMPARE(userFiles(), QStringList());
        QCOMPARE(xdgMime({"query", "default", "application/x-varn"}), QStringLiteral("example.varn.varn.desktop"));
    }

    // VARN --unregister takes back everything the program wrote for the user.
    void unregister()
    {
        registerFrom("/home/pat/build");
        QVERIFY(!userFiles().isEmpty());
        // The user's own choice of another program for estimates is theirs to keep.
        QFile choices(home("config/mimeapps.list"));
        QVERIFY(choices.open(QIODevice::Append));
        choices.write("\n[Added Associations]\napplication/x-varn=org.gnome.TextEditor.desktop;\n");
        choices.close();
        QCOMPARE(Programs::varn({"--unregister"}).status, 0);
        QCOMPARE(userFiles(), QStringList());
        QVERIFY(choices.open(QIODevice::ReadOnly));
        QVERIFY(choices.readAll().contains("application/x-varn=org.gnome.TextEditor.desktop;"));
        QCOMPARE(xdgMime({"query", "default", "application/x-varn"}), QString());
        QVERIFY(!QSettings(home("config/VARN/VARN.conf"), QSettings::IniFormat).contains("Settings/Assoc"));
    }

    void execQuoting_data()
    {
        Rows::columns<QString, QString>("path", "command");
        const auto row = [](const char *name, const char *path, const char *command) {
            QTest::newRow(name) << path << command;
        };
        row("plain", "/usr/bin/VARN", "/usr/bin/VARN");
        row("blank", "/opt/My Estimates/VARN", "\"/opt/My Estimates/VARN\"");
        row("dollar and quote", "/opt/$x\"y/VARN", "\"/opt/\\\\$x\\\\\"y/VARN\"");
        row("backslash", "/opt/a\\b/VARN", "\"/opt/a\\\\\\\\b/VARN\"");
        row("percent", "/opt/100%/VARN", "/opt/100%%/VARN");
    }

    void execQuoting()
    {
        auto [path, command] = Rows::fetch<QString, QString>("path", "command");
        QCOMPARE(DesktopFileAssociation::execCommand(path), command);
    }

    // The entry starts the program as it was started, whatever its file is called, and a
    // path that would break the entry's lines is never written into it.
    void programAsStarted_data()
    {
        Rows::columns<QString, QString, QString>("folder", "program", "exec");
        const auto row = [](const char *name, const char *folder, const char *program, const char *exec) {
            QTest::newRow(name) << folder << program << exec;
        };
        row("dotted name", "bin", "VARN.bin", "Exec=%1/bin/VARN.bin %f");
        row("version in the name", "bin", "VARN-2.4.6.x86_64", "Exec=%1/bin/VARN-2.4.6.x86_64 %f");
        row("line break in the folder", "a\nExec=/bin/false", "VARN", "");
    }

    void programAsStarted()
    {
        auto [folder, program, exec] = Rows::fetch<QString, QString, QString>("folder", "program", "exec");
        const QString copy = home(folder + u'/' + program);
        QVERIFY(QDir().mkpath(home(folder)) && QFile::copy(VARN_EXECUTABLE, copy));
        QProcess varn;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        varn.setProcessEnvironment(environment);
        varn.start(copy, {});
        QVERIFY(varn.waitForStarted());
        const QString entryFile = home(
            "data/applications/" + DesktopFileAssociation::desktopId(QFileInfo(copy).completeBaseName()) + ".desktop");
        // The program registers at start-up, then waits for its user.
        QByteArray errors;
        const auto registeredOrRefused = [&] {
            errors += varn.readAllStandardError();
            return QFile::exists(entryFile) || errors.contains("not registered");
        };
        QTRY_VERIFY_WITH_TIMEOUT(registeredOrRefused(), 20000);
        varn.kill();
        varn.waitForFinished();
        if (exec.isEmpty()) {
            QVERIFY(!QFile::exists(entryFile));
            QVERIFY(errors.contains("control character"));
            return;
        }
        QVERIFY(QString::fromUtf8(Files::read(entryFile)).split(u'\n').contains(exec.arg(m_home->path())));
    }

private:
    // What the program wrote into the user's folders for the file type: the entry, the type,
    // the icons and the choice of default program.
    QStringList userFiles() const
    {
        QStringList files;
        QDirIterator data(home("data"), QDir::Files, QDirIterator::Subdirectories);
        while (data.hasNext()) {
            const QString path = data.next();
            if (path.contains("varn"))
                files << path;
        }
        QFile choices(home("config/mimeapps.list"));
        if (choices.open(QIODevice::ReadOnly) && choices.readAll().contains("example.varn.varn"))
            files << choices.fileName();
        return files;
    }
    QString home(const QString &relative) const { return m_home->filePath(relative); }
    QString entry() const { return home("data/applications/example.varn.varn.desktop"); }
    QByteArray entryText() const { return Files::read(entry()); }
    void write(const QString &path, const QByteArray &bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()) && Files::write(path, bytes));
    }
    static QString xdgMime(const QStringList &arguments)
    {
        return Programs::run("xdg-mime", arguments).output.trimmed();
    }
    void registerFrom(const QString &folder) const;

    std::unique_ptr<QTemporaryDir> m_home;
};

void TestRegistration::registerFrom(const QString &folder) const
{
    QSettings settings(home("config/VARN/VARN.conf"), QSettings::IniFormat);
    DesktopFileAssociation(folder + "/VARN").registerIfMoved(settings, "VARN", folder);
}

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
