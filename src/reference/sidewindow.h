// What the terminology windows and the About window share as windows: a
// fixed frame with a caption, a system menu and a close box, no button of
// their own in the taskbar, and a close that always succeeds.
#pragma once

#include <QWidget>

namespace Quorvath {

class SideWindow : public QWidget {
    Q_OBJECT
    // A window to read and close beside the main window: a dialog to
    // assistive technology (windowaccessible.h).
    Q_CLASSINFO("accessibleRole", "Dialog")
    Q_DISABLE_COPY_MOVE(SideWindow)

public:
    explicit SideWindow(QWidget *parent = nullptr);

signals:
    // The window has agreed to close; it always does (formclose.h).
    void unloaded();

protected:
    // Runs as the window closes, before unloaded() is emitted.
    virtual void closing() {}

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Asks the window system to keep this window off the taskbar
    // (sidewindow_win.cpp, sidewindow_xcb.cpp). Called
    // before every map: the request must be in place before the window is
    // mapped, and the window manager forgets it whenever the window is hidden.
    void keepOffTaskbar();
};

} // namespace Quorvath
