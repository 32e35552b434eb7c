#include "focusedpart.h"

#include "eventhook.h"

#include <QAccessible>
#include <QWidget>

namespace Quorvath {

namespace {

void announce(QWidget *control)
{
    if (!control->hasFocus())
        return;
    QAccessibleInterface *whole = QAccessible::queryAccessibleInterface(control);
    QAccessibleInterface *part = whole ? whole->focusChild() : nullptr;
    if (!part || part == whole)
        return;
    QAccessibleEvent focus(part, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

} // namespace

void announceFocusedPart(QWidget *control)
{
    onEvent(control, QEvent::FocusIn, [control] {
        // After Qt's own focus event for the control, which follows this one.
        if (QAccessible::isActive())
            QMetaObject::invokeMethod(control, [control] { announce(control); }, Qt::QueuedConnection);
    });
}

} // namespace Quorvath
