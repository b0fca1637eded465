#pragma once

#include "fileiconassociation.h"

// The registration on Windows: the document type's keys under
// HKEY_CURRENT_USER\Software\Classes, which need no administrator rights, then the shell
// is told that file associations changed.
class WindowsFileAssociation : public FileIconAssociation
{
public:
    void RegisterFileAssociation(const QString &AppName, const QString &Extension, const QString &AppFolder,
                                 const QString &IconFile) override;
    QString iconFile(const QString &) const override { return QStringLiteral("GRAPH03.ICO"); }
};
