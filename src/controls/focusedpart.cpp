#include "focusedpart.h"

#include <QAccessible>
#include <QEvent>
#include <QWidget>

namespace Quorvath {

namespace {

class FocusedPartAnnouncer final : public QObject {
public:
    explicit FocusedPartAnnouncer(QWidget *control) : QObject(control), m_control(control) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_control && event->type() == QEvent::FocusIn && QAccessible::isActive()) {
            // After Qt's own focus event for the control, which follows this one.
            QMetaObject::invokeMethod(this, &FocusedPartAnnouncer::announce, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void announce() const
    {
        if (!m_control->hasFocus())
            return;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(m_control);
        QAccessibleInterface *part = control ? control->focusChild() : nullptr;
        if (!part || part == control)
            return;
        QAccessibleEvent focus(part, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }

    QWidget *m_control;
};

} // namespace

void announceFocusedPart(QWidget *control)
{
    control->installEventFilter(new FocusedPartAnnouncer(control));
}

} // namespace Quorvath
