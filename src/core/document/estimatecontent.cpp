#include "estimatecontent.h"

#include "historysection.h"

#include <QStringList>

QString EstimateContent::unreadWarning() const
{
    if (unreadLines.isEmpty())
        return {};
    const int lines = HistorySection::lineCount(unreadLines);
    return QStringLiteral("This file holds %1 after the estimate that could not be read: %2. %3 kept as %4 and "
                          "saved with the estimate.")
        .arg(lines == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(lines), historyError,
             lines == 1 ? QStringLiteral("It is") : QStringLiteral("They are"),
             lines == 1 ? QStringLiteral("it is") : QStringLiteral("they are"));
}

QString EstimateContent::openWarning(const QString &separator) const
{
    QStringList warnings{damageWarning, unreadWarning()};
    warnings.removeAll(QString());
    return warnings.join(separator);
}
