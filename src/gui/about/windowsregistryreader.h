#pragma once

#include "registryreader.h"

#ifdef Q_OS_WIN

// The Windows registry, opened for reading only: HKEY_LOCAL_MACHINE grants more than
// that only to administrators.
class WindowsRegistryReader final : public RegistryReader
{
public:
    std::optional<Key> openKey(Root root, const QString &keyPath) override;
    std::optional<Value> queryValue(Key key, const QString &valueName, qsizetype bufferSize) override;
    void closeKey(Key key) override;
};

#endif
