#include "lostkeys.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSet>

#include <windows.h>

namespace Quorvath {

namespace {

bool isModifier(WPARAM key)
{
    return key == VK_MENU || key == VK_SHIFT || key == VK_CONTROL || key == VK_LWIN || key == VK_RWIN;
}

// Sees every message before Qt does, and keeps the same account of held
// modifier keys as Qt's key mapper: a press adds, a release removes, and
// the application losing the focus forgets them all.
class LostKeyReleases final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (!isModifier(msg->wParam))
            return false;
        switch (msg->message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // Bit 30: the key was down before this message (auto-repeat).
            const bool repeat = (msg->lParam & (LPARAM(1) << 30)) != 0;
            if (!repeat && m_held.contains(msg->wParam)) {
                // The release Qt missed, with the press's scan code: once
                // (bit 0), the key down before (30) and now up (31).
                const LPARAM release = (msg->lParam & 0x01FF0000) | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31);
                SendMessage(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, msg->wParam,
                            release);
            }
            m_held.insert(msg->wParam);
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            m_held.remove(msg->wParam);
            break;
        default:
            break;
        }
        return false;
    }

    void forget() { m_held.clear(); }

private:
    QSet<WPARAM> m_held;
};

} // namespace

void mendLostKeyReleases()
{
    static LostKeyReleases filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
        if (state == Qt::ApplicationInactive)
            filter.forget();
    });
}

} // namespace Quorvath
