// What the terminology windows and the About window share as windows: they
// have no taskbar button of their own.
#pragma once

class QWidget;

namespace Quorvath::SideWindow {

// Asks the window manager to keep `window` off the taskbar. Call it from the
// window's showEvent: the request must be in place before the window is
// mapped, and the window manager forgets it whenever the window is hidden.
void keepOffTaskbar(QWidget *window);

} // namespace Quorvath::SideWindow
