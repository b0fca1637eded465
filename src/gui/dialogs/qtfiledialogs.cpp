#include "qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {
QString run(QFileDialog &dialog, const QString &fileName, const QString &filter = FileDialogs::filter(),
            const QString &suffix = FileDialogs::extension())
{
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    // A name relative to the folder VARN started in ("VARN plans/house.vrn") would leave the
    // dialog in that folder, and Enter would write the file there.
    if (!fileName.isEmpty())
        dialog.selectFile(QFileInfo(fileName).absoluteFilePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
}

QString QtFileDialogs::showOpen()
{
    QFileDialog dialog(QApplication::activeWindow(), openTitle());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name typed that does not exist is left for Open to report.
    dialog.setFileMode(QFileDialog::AnyFile);
    m_fileName = run(dialog, m_fileName);
    return m_fileName;
}

QString QtFileDialogs::showSave(const QString &presetPath)
{
    if (!presetPath.isEmpty())
        m_fileName = presetPath;
    QFileDialog dialog(QApplication::activeWindow(), saveTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    m_fileName = run(dialog, m_fileName);
    return m_fileName;
}

QString QtFileDialogs::showExport(const QString &title, const QString &filter, const QString &suffix,
                                  const QString &presetPath)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return run(dialog, presetPath, filter, suffix);
}

QStringList QtFileDialogs::showAttach()
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Attach Papers"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QStringLiteral("Papers (*.pdf *.png *.jpg *.jpeg)"), QStringLiteral("All files (*)")});
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}
