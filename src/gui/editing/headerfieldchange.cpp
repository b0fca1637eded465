#include "headerfieldchange.h"

#include "core/document/document.h"

HeaderFieldChange::HeaderFieldChange(Document &document, HeaderFields::Field field, QString before, QString after,
                                     const QString &fieldName)
    : QUndoCommand(QStringLiteral("Typing in %1").arg(fieldName))
    , m_document(document)
    , m_field(field)
    , m_before(std::move(before))
    , m_after(std::move(after))
{
}

void HeaderFieldChange::undo()
{
    apply(m_before);
}

void HeaderFieldChange::redo()
{
    if (m_pushed)
        apply(m_after);
    m_pushed = true;
}

void HeaderFieldChange::apply(const QString &text)
{
    m_document.header().setText(m_field, text);
    m_document.markChanged();
}
