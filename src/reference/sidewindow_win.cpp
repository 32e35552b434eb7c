// Off the taskbar on Windows: an owned window has no taskbar button.
#include "sidewindow.h"

#include "taskbarlog.h"

#include <QGuiApplication>
#include <QWindow>

#include <utility>

namespace Quorvath {

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

void SideWindow::keepOffTaskbar()
{
    // Windows gives a taskbar button to every unowned top-level window and
    // none to an owned one. A tool window would have none either, but with a
    // small title bar. So the window gets an owner: one hidden window of the
    // program's, which never shows and so never stands in front of it (an
    // owned window stays above its owner, and nothing else). The owner goes
    // in as the window's transient parent: Qt sets the native owner from it
    // each time it shows the window, and so would undo an owner set on the
    // native window behind its back.
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return;
    winId();
    if (QWindow *handle = windowHandle())
        handle->setTransientParent(hiddenOwner());
    else
        qCWarning(lcTaskbar, "'%s' has no native window to give an owner; it gets a taskbar button",
                  qPrintable(windowTitle()));
}

} // namespace Quorvath
