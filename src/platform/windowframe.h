// The frame the window manager draws around a top-level window, known
// before the window is first shown, and windows placed by it.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace Quorvath {

// The margins of the frame around `window` (title bar on top), in the
// window's logical pixels; creates the native window if it has none. Where
// the platform knows the frame of a window not yet shown (Windows), its
// answer; on X11 the window manager is asked (_NET_REQUEST_FRAME_EXTENTS)
// if it offers that; otherwise the frame of another window that shows.
// Null when nothing tells.
QMargins expectedFrameMargins(QWidget *window);

// Places `window`, not yet shown, so that its whole frame lies where
// placedTopLeft() puts a frame of that size: centred over `over` (the
// area itself when empty), inside `area`, its top-left corner always in it.
void placeByFrame(QWidget *window, QRect area, QRect over = {});

} // namespace Quorvath
