#include "eventhook.h"

#include <QObject>

namespace Quorvath {

namespace {

class EventHook final : public QObject {
public:
    EventHook(QObject *watched, QEvent::Type type, std::function<void()> act, Repeat repeat)
        : QObject(watched), m_type(type), m_act(std::move(act)), m_repeat(repeat)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == m_type && !m_done) {
            if (m_repeat == Repeat::FirstTimeOnly) {
                m_done = true;
                watched->removeEventFilter(this);
                deleteLater();
            }
            m_act();
        }
        return false;
    }

private:
    const QEvent::Type m_type;
    const std::function<void()> m_act;
    const Repeat m_repeat;
    bool m_done = false;
};

} // namespace

void onEvent(QObject *watched, QEvent::Type type, std::function<void()> act, Repeat repeat)
{
    watched->installEventFilter(new EventHook(watched, type, std::move(act), repeat));
}

} // namespace Quorvath
