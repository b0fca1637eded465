#pragma once

#include <QObject>

class QWidget;

// Takes an estimate file dragged onto the window or any of its controls, where a text box
// would otherwise take the file's name as dropped text; other drops pass on.
class EstimateDropFilter : public QObject
{
    Q_OBJECT

public:
    // Watches window and every control of it that accepts drops.
    explicit EstimateDropFilter(QWidget *window);

signals:
    // Once the drop is over, so that the file manager does not wait on a question.
    void estimateDropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
