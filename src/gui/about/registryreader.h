#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The few registry operations the About box needs to find the system-information tool,
// behind an interface so that tests can stand in for the Windows registry.
class RegistryReader
{
public:
    enum class Root { LocalMachine };

    // The value types the About box understands; every other type is passed through.
    static constexpr quint32 StringType = 1; // REG_SZ
    static constexpr quint32 NumberType = 4; // REG_DWORD, little-endian

    using Key = quintptr;

    struct Value
    {
        quint32 type = 0;
        QByteArray data; // strings as UTF-16, as the registry stores them
    };

    virtual ~RegistryReader() = default;

    // Opens keyPath under root for reading only; nothing when the key cannot be opened.
    virtual std::optional<Key> openKey(Root root, const QString &keyPath) = 0;

    // The type and data of a value of an open key, read into a buffer of bufferSize
    // bytes; nothing when there is no such value or its data do not fit the buffer.
    virtual std::optional<Value> queryValue(Key key, const QString &valueName, qsizetype bufferSize) = 0;

    virtual void closeKey(Key key) = 0;
};
