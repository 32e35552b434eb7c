// Off the taskbar on X11: the EWMH state _NET_WM_STATE_SKIP_TASKBAR.
#include "sidewindow.h"

#include "taskbarlog.h"
#include "x11atoms.h"

namespace Quorvath {

void SideWindow::keepOffTaskbar()
{
    // Qt 6.4 has no window flag for this on X11 short of Qt::Tool, which
    // would also keep the window above the main window (it becomes transient
    // for the application). Qt merges states set on an unmapped window into
    // its own _NET_WM_STATE, so setting the EWMH state before the map works.
    // Other platforms (offscreen among them) may answer for X11 without a
    // connection of their own.
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(winId());
    const xcb_atom_t state = X11::atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = X11::atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE) {
        qCWarning(lcTaskbar, "the X server named no atom for _NET_WM_STATE_SKIP_TASKBAR; '%s' gets "
                               "a taskbar button", qPrintable(windowTitle()));
        return;
    }
    if (X11::listHolds(connection, id, state, skip))
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(connection);
}

} // namespace Quorvath
