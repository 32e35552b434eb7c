// The platform's part of windowframe.cpp, in windowframe_xcb.cpp and
// windowframe_win.cpp: only the library's own sources include it.
#pragma once

#include <QMargins>

class QWidget;

namespace Quorvath {

// Asks the window manager which frame it will draw around `window`, not yet
// shown, in the window's device pixels. False where there is no one to ask
// or no answer came.
bool askWindowManager(QWidget *window, QMargins &margins);

} // namespace Quorvath
