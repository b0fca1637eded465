#include "registryvalues.h"

#include <QScopeGuard>
#include <QtEndian>

namespace {

constexpr qsizetype BufferSize = 1024;

QString stringText(const QByteArray &data)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data.constData()),
                                      data.size() / qsizetype(sizeof(char16_t)));
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

QString numberText(const QByteArray &data)
{
    // A number stored with fewer than four bytes reads as if the missing high bytes were 0.
    const QByteArray bytes = data.leftJustified(sizeof(quint32), '\0', true);
    const quint32 number = qFromLittleEndian<quint32>(bytes.constData());
    return QStringLiteral("&h") + QString::number(number, 16).toUpper();
}

}

RegistryValues::RegistryValues(RegistryReader &reader)
    : m_reader(reader)
{
}

RegistryValues::Lookup RegistryValues::GetKeyValue(RegistryReader::Root root, const QString &keyPath,
                                                   const QString &valueName, QString &valueText) const
{
    const std::optional<RegistryReader::Key> key = m_reader.openKey(root, keyPath);
    if (!key) {
        valueText.clear();
        return Lookup::NotRead;
    }
    const auto closeKey = qScopeGuard([&] { m_reader.closeKey(*key); });

    const std::optional<RegistryReader::Value> value = m_reader.queryValue(*key, valueName, BufferSize);
    if (!value) {
        valueText.clear();
        return Lookup::NotRead;
    }
    if (value->data.isEmpty())
        return Lookup::WithoutData;

    switch (value->type) {
    case RegistryReader::StringType:
        valueText = stringText(value->data);
        break;
    case RegistryReader::NumberType:
        valueText = numberText(value->data);
        break;
    default:
        break;
    }
    return Lookup::Read;
}
