#pragma once

#include "registryreader.h"

// Reads single registry values as text, the way the About box looks for the
// system-information tool.
class RegistryValues
{
public:
    // WithoutData is a value that exists but holds no data at all: not a missing value
    // but a broken entry, which makes the tool's lookup give up at once.
    enum class Lookup { Read, NotRead, WithoutData };

    explicit RegistryValues(RegistryReader &reader);

    // Reads valueName of keyPath under root. A string
    // loses one trailing NUL and becomes valueText; a 32-bit number becomes "&h" and its
    // hexadecimal digits; a value of any other type leaves valueText as it was passed.
    // When the key or the value cannot be read, or the data do not fit 1024 bytes,
    // valueText is emptied and the result is NotRead; WithoutData leaves it as it was.
    Lookup GetKeyValue(RegistryReader::Root root, const QString &keyPath, const QString &valueName,
                       QString &valueText) const;

private:
    RegistryReader &m_reader;
};
