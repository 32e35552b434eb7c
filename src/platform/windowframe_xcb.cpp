// The frame on X11: the window manager is asked for it.
#include "windowframe_platform.h"

#include "framelog.h"
#include "x11atoms.h"

#include <xcb/xcbext.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace Quorvath {

namespace {

// The window manager's answer on `window`: left, right, top, bottom. The
// server's reply is waited for until `deadline` at most: an X server that
// no longer answers (the connection's stream broken) holds up no window.
bool readExtents(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t extents, QMargins &margins,
                 const QDeadlineTimer &deadline)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4);
    xcb_flush(connection);
    void *answer = nullptr;
    xcb_generic_error_t *error = nullptr;
    while (xcb_poll_for_reply(connection, cookie.sequence, &answer, &error) == 0) {
        if (deadline.hasExpired()) {
            xcb_discard_reply(connection, cookie.sequence);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    std::free(error);
    X11::Reply<xcb_get_property_reply_t> reply(static_cast<xcb_get_property_reply_t *>(answer));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return false;
    const auto *value = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    margins = QMargins(int(value[0]), int(value[2]), int(value[1]), int(value[3]));
    return true;
}

} // namespace

// EWMH _NET_REQUEST_FRAME_EXTENTS, and a moment's wait for the answer. Only
// where the window manager offers it: with none, nothing is asked and
// nothing waited for.
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
    // The window manager's answer comes well within the bound, under load
    // too (the figures are in docs/performance.md); it is looked for often,
    // so that no more is waited than it takes, and given up after a fifth of
    // a second, for a window manager that offers the request but never
    // answers.
    const auto id = xcb_window_t(window->winId());
    constexpr int Bound = 200;   // ms
    const QDeadlineTimer deadline(Bound);
    QElapsedTimer waited;
    waited.start();
    if (readExtents(connection, id, extents, margins, deadline))
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
    // The answer decides where the window goes, so it is waited for here, on
    // the GUI thread: the window must be placed before it is mapped, and
    // Qt's own thread reads the connection's events.
    while (!deadline.hasExpired()) {
        if (readExtents(connection, id, extents, margins, deadline)) {
            qCDebug(lcFrame, "the window manager answered within %lld ms", waited.elapsed());
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    qCWarning(lcFrame, "the window manager did not say within %d ms which frame it draws around "
                         "'%s'; placed by another window's frame, or by none", Bound,
              qPrintable(window->windowTitle()));
    return false;
}

} // namespace Quorvath
