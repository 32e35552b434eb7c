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
#include "x11atoms.h"
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
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(winId());
    const xcb_atom_t state = X11::atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = X11::atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE || X11::listHolds(connection, id, state, skip))
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(connection);
#endif
}

} // namespace Quorvath
