#pragma once

#include "core/sheet/headerfields.h"

#include <QUndoCommand>

class Document;

// A change of the owner's name, the property address or the builder's name, as one step of
// Edit > Undo; pushed once the change is made, as the sheet's steps are.
class HeaderFieldChange : public QUndoCommand
{
public:
    HeaderFieldChange(Document &document, HeaderFields::Field field, QString before, QString after,
                      const QString &fieldName);

    void undo() override;
    void redo() override;

private:
    void apply(const QString &text);

    Document &m_document;
    const HeaderFields::Field m_field;
    const QString m_before;
    const QString m_after;
    bool m_pushed = false;
};
