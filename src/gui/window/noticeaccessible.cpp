#include "noticeaccessible.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {
constexpr char RoleProperty[] = "varnNoticeRole";
}

NoticeAccessible::NoticeAccessible(QWidget *box, QAccessible::Role role)
    : QAccessibleWidget(box, role)
{
}

void NoticeAccessible::mark(QWidget *box, QAccessible::Role role)
{
    box->setProperty(RoleProperty, int(role));
    QAccessible::removeFactory(&NoticeAccessible::create);
    QAccessible::installFactory(&NoticeAccessible::create);
}

QAccessibleInterface *NoticeAccessible::create(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    const QVariant role = widget ? widget->property(RoleProperty) : QVariant();
    return role.isValid() ? new NoticeAccessible(widget, QAccessible::Role(role.toInt())) : nullptr;
}

QString NoticeAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (const auto *label = qobject_cast<const QLabel *>(widget()))
        return label->text();
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(widget()))
        return box->toPlainText();
    return QAccessibleWidget::text(t);
}
