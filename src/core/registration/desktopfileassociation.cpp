#include "desktopfileassociation.h"

#include "core/document/safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

QString desktopFilePath(const QString &dataHome, const QString &appName)
{
    return dataHome + QStringLiteral("/applications/") + DesktopFileAssociation::desktopId(appName)
        + QStringLiteral(".desktop");
}

QString mimePackagePath(const QString &dataHome, const QString &appName)
{
    return dataHome + QStringLiteral("/mime/packages/") + DesktopFileAssociation::desktopId(appName)
        + QStringLiteral(".xml");
}

// Registration goes on past a file it cannot write, but never leaves one half written.
void writeText(const QString &path, const QString &text)
{
    if (text.isEmpty())
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString ignored;
    SafeFileWriter::write(path, text.toUtf8(), &ignored);
}

// A line break in the path would end the Exec line and start another of the path's making.
bool holdsControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// The desktop files the package installs, with the values for this program filled in.
QString filledTemplate(const QString &resource, const QList<std::pair<const char *, QString>> &values)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    for (const auto &[name, value] : values)
        text.replace(u'@' + QLatin1String(name) + u'@', value);
    return text;
}

// Takes the program's line for the type out of the user's choices of default programs.
// Takes this program's entry out of the user's default applications for its file type; an
// entry the user made for another program, or beside this one, stays.
bool removeDefaultChoice(const QString &mimeType, const QString &desktopFile)
{
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    file.close();
    bool changed = false;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines.at(i).startsWith(mimeType + u'='))
            continue;
        QStringList programs = lines.at(i).mid(mimeType.size() + 1).split(u';', Qt::SkipEmptyParts);
        if (programs.removeAll(desktopFile) == 0)
            continue;
        changed = true;
        if (programs.isEmpty())
            lines.removeAt(i);
        else
            lines[i] = mimeType + u'=' + programs.join(u';') + u';';
    }
    return changed && SafeFileWriter::write(path, lines.join(u'\n').toUtf8());
}
}

DesktopFileAssociation::DesktopFileAssociation(QString programPath)
    : m_programPath(std::move(programPath))
{
}

QString DesktopFileAssociation::desktopId(const QString &appName)
{
    QString name = appName.toLower();
    name.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    return QStringLiteral("example.varn.") + name;
}

QString DesktopFileAssociation::mimeType(const QString &appName)
{
    QString name = appName.toLower();
    name.replace(QRegularExpression(QStringLiteral("[^a-z0-9.+-]")), QStringLiteral("-"));
    return QStringLiteral("application/x-") + name;
}

QString DesktopFileAssociation::execCommand(const QString &programPath)
{
    // Quoted where the path holds characters a desktop entry reserves, with quote, backquote,
    // dollar and backslash escaped inside the quotes; then, as in any desktop entry value,
    // backslashes are doubled, and so is %, which Exec gives a meaning of its own.
    static const QRegularExpression reserved(QStringLiteral("[ \\t\\n\"'\\\\><~|&;$*?#()`]"));
    QString command = programPath;
    if (command.contains(reserved)) {
        static const QRegularExpression escaped(QStringLiteral("([\"`$\\\\])"));
        command.replace(escaped, QStringLiteral("\\\\1"));
        command = u'"' + command + u'"';
    }
    command.replace(u'\\', QStringLiteral("\\\\"));
    command.replace(u'%', QStringLiteral("%%"));
    return command;
}

QString DesktopFileAssociation::iconFile(const QString &appName) const
{
    return desktopId(appName);
}

void DesktopFileAssociation::RegisterFileAssociation(const QString &AppName, const QString &Extension,
                                                     const QString &AppFolder, const QString &IconFile)
{
    Q_UNUSED(AppFolder); // the entry names the program file itself, whatever it is called
    if (holdsControlCharacter(m_programPath)) {
        std::fprintf(stderr,
                     "VARN: .%s files are not registered with the desktop: the program's path holds a "
                     "line break or another control character\n",
                     qPrintable(Extension));
        return;
    }
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return;
    // An installed package brings its own entry, type and icons: files of our own beside them
    // would take the file type from it, whichever program wrote them.
    if (isInstalledSystemWide(AppName, dataHome)) {
        if (removeUserRegistration(dataHome, AppName))
            updateDatabases(dataHome);
        return;
    }
    writeMimePackage(dataHome, AppName, Extension, IconFile);
    writeIcons(dataHome, IconFile);
    writeDesktopEntry(dataHome, AppName, IconFile);
    updateDatabases(dataHome);
    run(QStringLiteral("xdg-mime"),
        {QStringLiteral("default"), desktopId(AppName) + QStringLiteral(".desktop"), mimeType(AppName)});
}

void DesktopFileAssociation::UnregisterFileAssociation(const QString &AppName)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty() && removeUserRegistration(dataHome, AppName))
        updateDatabases(dataHome);
}

QStringList DesktopFileAssociation::userFiles(const QString &dataHome, const QString &AppName)
{
    QStringList files{desktopFilePath(dataHome, AppName), mimePackagePath(dataHome, AppName)};
    for (const int size : IconSizes)
        files << dataHome + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + desktopId(AppName)
                + QStringLiteral(".png");
    return files;
}

bool DesktopFileAssociation::removeUserRegistration(const QString &dataHome, const QString &AppName)
{
    bool removed = false;
    for (const QString &file : userFiles(dataHome, AppName))
        removed = QFile::remove(file) || removed;
    return removeDefaultChoice(mimeType(AppName), desktopId(AppName) + QStringLiteral(".desktop")) || removed;
}

void DesktopFileAssociation::updateDatabases(const QString &dataHome)
{
    run(QStringLiteral("update-mime-database"), {dataHome + QStringLiteral("/mime")});
    run(QStringLiteral("update-desktop-database"), {dataHome + QStringLiteral("/applications")});
    // Without a cache beside them, every icon look-up of every program probes each size folder
    // of the theme for each name it asks for; with one, a name the folder lacks costs a single
    // read. The user's theme folder has no index of its own, which the desktop's tool is told.
    const QString theme = dataHome + QStringLiteral("/icons/hicolor");
    if (QFileInfo(theme).isDir())
        run(QStringLiteral("gtk-update-icon-cache"),
            {QStringLiteral("--force"), QStringLiteral("--ignore-theme-index"), QStringLiteral("--quiet"), theme});
}

// Any entry of the program's ID outside the user's folder: the package's, whichever program
// file it starts.
bool DesktopFileAssociation::isInstalledSystemWide(const QString &AppName, const QString &dataHome)
{
    const QString entry = QStringLiteral("/applications/") + desktopId(AppName) + QStringLiteral(".desktop");
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (folder != dataHome && QFileInfo::exists(folder + entry))
            return true;
    }
    return false;
}

void DesktopFileAssociation::writeMimePackage(const QString &dataHome, const QString &AppName, const QString &Extension,
                                              const QString &IconFile)
{
    writeText(mimePackagePath(dataHome, AppName),
              filledTemplate(QStringLiteral(":/desktop/mime.xml.in"),
                             {{"VARN_MIME_TYPE", mimeType(AppName)},
                              {"VARN_ICON", IconFile.toHtmlEscaped()},
                              {"VARN_EXTENSION", Extension.toHtmlEscaped()}}));
}

void DesktopFileAssociation::writeDesktopEntry(const QString &dataHome, const QString &AppName,
                                               const QString &IconFile) const
{
    writeText(desktopFilePath(dataHome, AppName),
              filledTemplate(QStringLiteral(":/desktop/entry.desktop.in"),
                             {{"VARN_EXEC", execCommand(m_programPath)},
                              {"VARN_ICON", IconFile},
                              {"VARN_MIME_TYPE", mimeType(AppName)}}));
}

void DesktopFileAssociation::writeIcons(const QString &dataHome, const QString &IconFile)
{
    for (const int size : IconSizes) {
        const QString folder = dataHome + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
        const QString target = folder + u'/' + IconFile + QStringLiteral(".png");
        QDir().mkpath(folder);
        QFile::remove(target);
        QFile::copy(QStringLiteral(":/icons/varn-%1.png").arg(size), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

void DesktopFileAssociation::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (process.waitForStarted(5000))
        process.waitForFinished(10000);
}
