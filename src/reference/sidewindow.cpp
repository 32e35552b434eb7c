#include "sidewindow.h"

#include "windowaccessible.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QShowEvent>

#ifdef Q_OS_WIN
#include <QWindow>

#include <utility>
#endif

#ifdef QI_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace Quorvath {

#ifdef Q_OS_WIN
namespace {

// The side windows' owner: made with the first of them, never shown, and
// deleted with the application while the window system is still there.
QWindow *hiddenOwner()
{
    static QWindow *owner = nullptr;
    if (!owner) {
        owner = new QWindow;
        owner->create();
        qAddPostRoutine([] { delete std::exchange(owner, nullptr); });
    }
    return owner;
}

} // namespace
#endif

#ifdef QI_HAVE_XCB
namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

bool hasAtom(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
             xcb_atom_t atom)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < n && !found; ++i)
            found = atoms[i] == atom;
    }
    std::free(reply);
    return found;
}

} // namespace
#endif

SideWindow::SideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    // A window to read and close beside the main window: a dialog.
    presentWindowAs(this, QAccessible::Dialog);
}

void SideWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        keepOffTaskbar();
    QWidget::showEvent(event);
}

void SideWindow::closeEvent(QCloseEvent *event)
{
    closing();
    event->accept();
    emit unloaded();
}

void SideWindow::keepOffTaskbar()
{
#ifdef Q_OS_WIN
    // Windows gives a taskbar button to every unowned top-level window and
    // none to an owned one. A tool window would have none either, but with a
    // small title bar. So the window gets an owner: one hidden window of the
    // program's, which never shows and so never stands in front of it (an
    // owned window stays above its owner, and nothing else). The owner goes
    // in as the window's transient parent: Qt sets the native owner from it
    // each time it shows the window, and so would undo an owner set on the
    // native window behind its back.
    if (QGuiApplication::platformName() == QLatin1String("windows")) {
        winId();
        if (QWindow *handle = windowHandle())
            handle->setTransientParent(hiddenOwner());
    }
    return;
#endif
#ifdef QI_HAVE_XCB
    // Qt 6.4 has no window flag for this on X11 short of Qt::Tool, which
    // would also keep the window above the main window (it becomes transient
    // for the application). Qt merges states set on an unmapped window into
    // its own _NET_WM_STATE, so setting the EWMH state before the map works.
    // Other platforms (offscreen among them) may answer for X11 without a
    // connection of their own.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = xcb_window_t(winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE || hasAtom(connection, id, state, skip))
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(connection);
#endif
}

} // namespace Quorvath
