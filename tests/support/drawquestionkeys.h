#pragma once

// The question of Edit > Record Current Payments answered as a user answers it: keys typed
// into it once it shows, then Return unless the keys closed it.

#include "gui/draws/drawquestion.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace DrawQuestionKeys {
// Each a key sequence (Alt+O to the note), then a text typed where the focus is.
using Keys = QList<std::pair<QKeySequence, QString>>;

// The keys that date a draw: the date field, then its digits, each part moving on to the next.
inline Keys dated(const QString &digits)
{
    return {{QKeySequence(QStringLiteral("Alt+D")), digits}};
}

// Answers the question the next command asks; shown learns its texts: the question, the draw
// it becomes and the rows left out.
inline void answerNext(const Keys &keys, QStringList *shown)
{
    QTimer::singleShot(0, [keys, shown] {
        auto *question = qobject_cast<DrawQuestion *>(QApplication::activeModalWidget());
        QVERIFY(question);
        // Over an active window the question is shown at once but takes the keys a moment later.
        QTRY_COMPARE(QApplication::activeWindow(), question);
        for (const char *name : {"question", "drawNumber", "leftOut"}) {
            const auto *label = question->findChild<QLabel *>(QLatin1String(name));
            *shown << (label ? label->text() : QString());
        }
        for (const auto &[key, text] : keys) {
            if (!key.isEmpty())
                QTest::keySequence(QApplication::focusWidget(), key);
            QTest::keyClicks(QApplication::focusWidget(), text);
        }
        if (QApplication::activeModalWidget() == question)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
}
}
