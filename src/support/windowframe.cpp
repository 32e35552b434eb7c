#include "windowframe.h"

#include "core/placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

#ifdef QI_HAVE_XCB
#include "x11atoms.h"

#include <chrono>
#include <thread>
#endif

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

#ifdef QI_HAVE_XCB
// The window manager's answer on `window`: left, right, top, bottom.
bool readExtents(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t extents, QMargins &margins)
{
    X11::Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return false;
    const auto *value = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    margins = QMargins(int(value[0]), int(value[2]), int(value[1]), int(value[3]));
    return true;
}

// Asks the window manager which frame it will draw around `window`
// (EWMH _NET_REQUEST_FRAME_EXTENTS) and waits a moment for the answer, in
// the window's device pixels. Only where the window manager offers it: with
// none, nothing is asked and nothing waited for.
bool askWindowManager(QWidget *window, QMargins &margins)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // Looked up once: "Okay" shows the main window with as few round trips
    // to the X server as it can.
    static const xcb_atom_t supported = X11::atom(connection, "_NET_SUPPORTED");
    static const xcb_atom_t request = X11::atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    static const xcb_atom_t extents = X11::atom(connection, "_NET_FRAME_EXTENTS");
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE
        || !X11::listHolds(connection, root, supported, request))
        return false;
    const auto id = xcb_window_t(window->winId());
    if (readExtents(connection, id, extents, margins))
        return true;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    // openbox answers within a millisecond; a busy one gets a fifth of a second.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 200) {
        if (readExtents(connection, id, extents, margins))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}
#endif

} // namespace

QMargins expectedFrameMargins(QWidget *window)
{
    window->winId();
    const QMargins known = knownMargins(window);
    if (!known.isNull())
        return known;
#ifdef QI_HAVE_XCB
    QMargins device;
    if (askWindowManager(window, device)) {
        // Device pixels to the window's logical ones, rounded up: the frame
        // is never taken for smaller than it is.
        const qreal ratio = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
        const auto logical = [ratio](int px) { return int(std::ceil(px / ratio)); };
        return {logical(device.left()), logical(device.top()), logical(device.right()), logical(device.bottom())};
    }
#endif
    // The window manager draws the same title bar on the program's windows.
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && !other->windowFlags().testFlag(Qt::Popup)) {
            const QMargins margins = knownMargins(other);
            if (!margins.isNull())
                return margins;
        }
    }
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
