#include "recoverykeeper.h"

#include "document.h"
#include "messageboxes.h"

#include <QDir>
#include <QLocale>

#include <utility>

namespace {
// What the user is told, once, when no copy can be written.
QString failureText(const QString &folder, const QString &reason)
{
    return QStringLiteral("Unsaved changes cannot be kept safe: %1: %2").arg(QDir::toNativeSeparators(folder), reason);
}
}

std::chrono::milliseconds RecoveryKeeper::delayFromEnvironment()
{
    bool isNumber = false;
    const int delay = qEnvironmentVariableIntValue("VARN_RECOVERY_DELAY_MS", &isNumber);
    return isNumber && delay >= 0 ? std::chrono::milliseconds(delay) : DefaultDelay;
}

QString RecoveryKeeper::questionText(const QDateTime &written)
{
    return QStringLiteral("VARN did not close normally. Restore the unsaved estimate from %1?")
        .arg(QLocale().toString(written, QLocale::ShortFormat));
}

RecoveryKeeper::RecoveryKeeper(Document &document, MessageBoxes &messages, const QString &folder,
                               std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_messages(messages)
    , m_file(folder)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeCopy);
    // A change waiting for the copy is not put off by the next one: under steady typing
    // every change still reaches the disk within the delay.
    connect(&document, &Document::changed, this, [this] {
        if (!m_timer.isActive())
            m_timer.start();
    });
    connect(&document, &Document::saved, this, &RecoveryKeeper::forget);
}

void RecoveryKeeper::offerLeftCopies()
{
    while (std::optional<RecoveryFile::LeftCopy> copy = m_file.takeLeftCopy()) {
        const bool restore =
            m_messages.askYesNo(questionText(copy->written), QStringLiteral("Restore")) == MessageBoxes::Yes;
        if (!restore) {
            RecoveryFile::discard(*copy);
            continue;
        }
        // The copy goes only once the restored estimate has one of this run's own, made at
        // once: a second crash soon after must not find nothing.
        m_document.restore(copy->content, copy->originalFile, copy->stamp);
        m_restoredFrom = std::move(copy);
        writeCopy();
        return;
    }
}

void RecoveryKeeper::end()
{
    forget();
}

void RecoveryKeeper::writeCopy()
{
    if (m_document.DocumentSaved())
        return;
    // A copy that cannot be written is tried again after the next change; the estimate
    // itself is still the user's to save, and is told so once.
    QString errorString;
    if (!m_file.write(m_document.content(), m_document.CurrentFile(), m_document.fileStamp(), &errorString)) {
        if (!std::exchange(m_failureShown, true))
            m_messages.showWarning(failureText(m_file.folder(), errorString), QStringLiteral("Recovery"));
        return;
    }
    m_timer.stop();
    dropRestoredCopy();
}

void RecoveryKeeper::forget()
{
    m_timer.stop();
    m_file.remove();
    dropRestoredCopy();
}

void RecoveryKeeper::dropRestoredCopy()
{
    if (m_restoredFrom)
        RecoveryFile::discard(*m_restoredFrom);
    m_restoredFrom.reset();
}
