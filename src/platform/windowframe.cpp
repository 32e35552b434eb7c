#include "windowframe.h"

#include "framelog.h"
#include "placement.h"
#include "windowframe_platform.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace Quorvath {

namespace {

// What Qt knows of the frame: nothing (null) before the window manager has
// framed a window on X11.
QMargins knownMargins(const QWidget *window)
{
    const QRect client = window->geometry();
    const QRect frame = window->frameGeometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

} // namespace

QMargins expectedFrameMargins(QWidget *window)
{
    window->winId();
    const QMargins known = knownMargins(window);
    if (!known.isNull())
        return known;
    QMargins device;
    if (askWindowManager(window, device)) {
        qCDebug(lcFrame) << "the window manager's" << device << "device pixels";
        // Device pixels to the window's logical ones, rounded up: the frame
        // is never taken for smaller than it is.
        const qreal ratio = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
        const auto logical = [ratio](int px) { return int(std::ceil(px / ratio)); };
        return {logical(device.left()), logical(device.top()), logical(device.right()), logical(device.bottom())};
    }
    // The window manager draws the same title bar on the program's windows.
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && !other->windowFlags().testFlag(Qt::Popup)) {
            const QMargins margins = knownMargins(other);
            if (!margins.isNull()) {
                qCDebug(lcFrame) << "that of" << other->windowTitle() << margins;
                return margins;
            }
        }
    }
    qCDebug(lcFrame) << "none known";
    return {};
}

void placeByFrame(QWidget *window, QRect area, QRect over)
{
    const QMargins margins = expectedFrameMargins(window);
    // The client's position: the window manager keeps it (Qt asks for
    // static gravity once a created window has been given its geometry),
    // and draws the frame around it.
    window->setGeometry(QRect(placedClientTopLeft(window->size(), margins, area, over), window->size()));
}

} // namespace Quorvath
