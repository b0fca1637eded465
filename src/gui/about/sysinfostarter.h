#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class MessageBoxes;
class RegistryValues;

// Starts the operating system's own system-information tool for the About box, or tells
// the user that there is none. Windows names its tool, MSINFO32, in the registry;
// elsewhere the first of a few well-known desktop tools found on the PATH is taken.
class SysInfoStarter
{
public:
    explicit SysInfoStarter(MessageBoxes &messages);

    void StartSysInfo() const;

    // The desktop tools looked for outside Windows, the preferred one first.
    static QStringList desktopTools();

    // Where the registry puts MSINFO32: the "PATH" value as it stands, or else the file
    // MSINFO32.EXE in the folder the "MSINFO" value names, if that file exists. Nothing
    // when neither value is readable, or at once when the first value has no data.
    static std::optional<QString> msInfoPath(const RegistryValues &registry);

private:
    static std::optional<QString> toolPath();

    MessageBoxes &m_messages;
};
