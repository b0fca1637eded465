#pragma once

#include "recoveryfile.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class Document;
class MessageBoxes;

// Keeps the recovery copy of the open estimate: written a while after a change, not at
// every key, and gone whenever nothing is left to save. At start-up it offers the copy a
// run left behind.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultDelay = std::chrono::minutes(1);
    // VARN_RECOVERY_DELAY_MS, when set to a number, instead of the default.
    static std::chrono::milliseconds delayFromEnvironment();
    static QString questionText(const QDateTime &written);

    RecoveryKeeper(Document &document, MessageBoxes &messages, const QString &folder, std::chrono::milliseconds delay,
                   QObject *parent = nullptr);

    // Asks about the copies runs left behind, the newest first, until one is restored.
    void offerLeftCopies();
    // The program ends as it should: there is nothing to recover.
    void end();

private:
    void writeCopy();
    void forget();
    void dropRestoredCopy();

    Document &m_document;
    MessageBoxes &m_messages;
    RecoveryFile m_file;
    QTimer m_timer;
    // The copy a restored estimate came from, kept until this run's own copy is written.
    std::optional<RecoveryFile::LeftCopy> m_restoredFrom;
    bool m_failureShown = false;
};
