#include "userguide.h"

#include <QFile>
#include <QFontMetrics>
#include <QTextBrowser>
#include <QVBoxLayout>

UserGuide::UserGuide(QWidget *parent)
    : QDialog(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmUserGuide"));
    setWindowTitle(QStringLiteral("VARN User Guide"));
    m_browser->setObjectName(QStringLiteral("txtUserGuide"));
    m_browser->setAccessibleName(windowTitle());
    m_browser->setAccessibleDescription(QStringLiteral("How to keep a cost estimate with VARN"));
    m_browser->setOpenExternalLinks(true);
    QFile text(QStringLiteral(":/help/userguide.md"));
    if (text.open(QIODevice::ReadOnly))
        m_browser->setMarkdown(QString::fromUtf8(text.readAll()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // About 80 characters a line and 40 lines, in the desktop's font.
    const QFontMetrics metrics(m_browser->font());
    resize(metrics.averageCharWidth() * 84, metrics.lineSpacing() * 40);
}

void UserGuide::showFor(QWidget *window)
{
    auto *guide = window->findChild<UserGuide *>();
    if (!guide)
        guide = new UserGuide(window);
    guide->show();
    guide->raise();
    guide->activateWindow();
}
