#include "altkeyreplay.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace Quorvath {

namespace {

class ReplayedAltFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Alt && key->key() != Qt::Key_Meta)
            return false;
        // A replayed key keeps the time the window system gave the press.
        // Ignored, the override lets the key press itself through.
        const quint64 time = key->timestamp();
        if (time != 0 && time == m_lastTime) {
            event->ignore();
            return true;
        }
        m_lastTime = time;
        return false;
    }

private:
    quint64 m_lastTime = 0;   // of the last Alt press
};

} // namespace

void ignoreReplayedAltOverrides(QCoreApplication *app)
{
    app->installEventFilter(new ReplayedAltFilter(app));
}

} // namespace Quorvath
