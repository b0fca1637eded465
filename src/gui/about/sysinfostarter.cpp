#include "sysinfostarter.h"

#include "core/document/messageboxes.h"
#include "registryvalues.h"
#include "report/productinfo.h"
#include "windowsregistryreader.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

SysInfoStarter::SysInfoStarter(MessageBoxes &messages)
    : m_messages(messages)
{
}

void SysInfoStarter::StartSysInfo() const
{
    // An empty path, which a registry value of an unexpected type leaves, fails to start
    // like any other bad path and so ends in the same message.
    const std::optional<QString> path = toolPath();
    if (path && QProcess::startDetached(*path, QStringList()))
        return;
    m_messages.showInformation(QStringLiteral("System Information Is Unavailable At This Time"),
                               ProductInfo::applicationTitle());
}

QStringList SysInfoStarter::desktopTools()
{
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
            QStringLiteral("xfce4-taskmanager")};
}

std::optional<QString> SysInfoStarter::msInfoPath(const RegistryValues &registry)
{
    constexpr auto root = RegistryReader::Root::LocalMachine;
    using Lookup = RegistryValues::Lookup;
    QString path;
    switch (registry.GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                 QStringLiteral("PATH"), path)) {
    case Lookup::Read:
        return path;
    case Lookup::WithoutData:
        return std::nullopt;
    case Lookup::NotRead:
        break;
    }
    if (registry.GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                             QStringLiteral("MSINFO"), path)
        == Lookup::Read) {
        const QString toolInFolder = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(toolInFolder))
            return toolInFolder;
    }
    return std::nullopt;
}

std::optional<QString> SysInfoStarter::toolPath()
{
#ifdef Q_OS_WIN
    WindowsRegistryReader reader;
    return msInfoPath(RegistryValues(reader));
#else
    for (const QString &tool : desktopTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return std::nullopt;
#endif
}
