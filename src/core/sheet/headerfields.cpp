#include "headerfields.h"

void HeaderFields::setText(Field field, const QString &text)
{
    if (m_texts[field] == text)
        return;
    m_texts[field] = text;
    emit textChanged(field);
}
