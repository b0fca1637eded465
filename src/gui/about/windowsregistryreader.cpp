#include "windowsregistryreader.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace {

HKEY rootHandle(RegistryReader::Root root)
{
    switch (root) {
    case RegistryReader::Root::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    Q_UNREACHABLE();
}

LPCWSTR wideText(const QString &text)
{
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

}

std::optional<RegistryReader::Key> WindowsRegistryReader::openKey(Root root, const QString &keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootHandle(root), wideText(keyPath), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return reinterpret_cast<Key>(key);
}

std::optional<RegistryReader::Value> WindowsRegistryReader::queryValue(Key key, const QString &valueName,
                                                                       qsizetype bufferSize)
{
    QByteArray data(bufferSize, '\0');
    DWORD type = 0;
    DWORD size = DWORD(data.size());
    if (RegQueryValueExW(reinterpret_cast<HKEY>(key), wideText(valueName), nullptr, &type,
                         reinterpret_cast<LPBYTE>(data.data()), &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    data.truncate(qsizetype(size));
    return Value{quint32(type), data};
}

void WindowsRegistryReader::closeKey(Key key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

#endif
