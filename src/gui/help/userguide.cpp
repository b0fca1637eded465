#include "userguide.h"

#include <QFile>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBlock>
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
    nameHeadings();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    layout->addWidget(createFindBar());
    auto *findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, &UserGuide::startFinding);
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

QString UserGuide::anchorOf(const QString &heading)
{
    const QRegularExpression punctuation(QStringLiteral("[^\\w\\- ]"));
    return heading.toLower().remove(punctuation).replace(u' ', u'-');
}

// Markdown gives its headings no names; the contents' links find them by these.
void UserGuide::nameHeadings()
{
    QTextDocument *document = m_browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextCursor heading(block);
        heading.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat named;
        named.setAnchor(true);
        named.setAnchorNames({anchorOf(block.text())});
        heading.mergeCharFormat(named);
    }
}

QWidget *UserGuide::createFindBar()
{
    m_findBar = new QWidget(this);
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("txtFindInGuide"));
    m_findText->setAccessibleName(QStringLiteral("Find in the guide"));
    m_findText->setPlaceholderText(QStringLiteral("Find"));
    m_findText->setClearButtonEnabled(true);
    m_notFound = new QLabel(QStringLiteral("Not found"), m_findBar);
    m_notFound->setObjectName(QStringLiteral("lblNotFound"));
    m_notFound->hide();
    auto *layout = new QHBoxLayout(m_findBar);
    layout->addWidget(m_findText, 1);
    layout->addWidget(m_notFound);
    connect(m_findText, &QLineEdit::textEdited, this, [this] {
        // Typing on finds the longer word from where the shorter one was found.
        QTextCursor from = m_browser->textCursor();
        from.setPosition(from.selectionStart());
        m_browser->setTextCursor(from);
        find(false);
    });
    m_findBar->hide();
    return m_findBar;
}

void UserGuide::startFinding()
{
    m_findBar->show();
    m_findText->setFocus(Qt::ShortcutFocusReason);
    m_findText->selectAll();
}

// From the place found last on, round to the beginning when the end is reached.
void UserGuide::find(bool backward)
{
    const QString text = m_findText->text();
    m_notFound->setVisible(false);
    if (text.isEmpty())
        return;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return;
    QTextCursor round = m_browser->textCursor();
    round.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(round);
    m_notFound->setVisible(!m_browser->find(text, flags));
}

void UserGuide::stopFinding()
{
    m_findBar->hide();
    m_notFound->hide();
    m_browser->setFocus(Qt::OtherFocusReason);
}

void UserGuide::keyPressEvent(QKeyEvent *event)
{
    const bool finding = m_findText->hasFocus();
    if (finding && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        find(event->modifiers() & Qt::ShiftModifier);
        return;
    }
    // Escape closes the search, and the guide only when no search is open.
    if (m_findBar->isVisible() && event->key() == Qt::Key_Escape) {
        stopFinding();
        return;
    }
    QDialog::keyPressEvent(event);
}
