#pragma once

#include <QObject>
#include <QString>

#include <array>

// The three header fields of an estimate: the owner's name and the property address
// (the "Location") and the builder's name.
class HeaderFields : public QObject
{
    Q_OBJECT

public:
    enum Field { Name, Address, Builder };

    using QObject::QObject;

    const QString &text(Field field) const { return m_texts[field]; }
    void setText(Field field, const QString &text);

signals:
    void textChanged(HeaderFields::Field field);

private:
    std::array<QString, 3> m_texts;
};
