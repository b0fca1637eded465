#include "tabtrapaccessible.h"

#include <QWidget>

namespace {
constexpr char TrapProperty[] = "varnTabTrap";
}

TabTrapAccessible::TabTrapAccessible(QWidget *trap)
    : QAccessibleWidget(trap, QAccessible::NoRole)
{
}

void TabTrapAccessible::hide(QWidget *trap)
{
    trap->setProperty(TrapProperty, true);
    QAccessible::removeFactory(&TabTrapAccessible::create);
    QAccessible::installFactory(&TabTrapAccessible::create);
}

QAccessibleInterface *TabTrapAccessible::create(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->property(TrapProperty).toBool() ? new TabTrapAccessible(widget) : nullptr;
}

QAccessible::State TabTrapAccessible::state() const
{
    QAccessible::State state;
    state.invisible = true;
    return state;
}
