#include "presentanew.h"

#include <QAccessible>
#include <QWidget>

namespace Quorvath {

void presentAnew(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    // Asking for an object's interface makes one if there is none; it goes
    // at once with the rest. The parts without an object of their own (the
    // tabs, a list's cells) go with the interface that made them.
    const auto forget = [](QObject *object) {
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    };
    const QList<QObject *> objects = widget->findChildren<QObject *>();
    for (QObject *object : objects)
        forget(object);
    forget(widget);
}

} // namespace Quorvath
