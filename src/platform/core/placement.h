// Where a new window goes on the screen.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace Quorvath {

// The top-left corner for a window whose frame is `frame`: centred over
// `over` (over `area` itself when `over` is empty), then moved into `area`,
// the screen's available geometry, as far as it fits. A window larger than
// the area keeps its top-left corner, and so its title bar and menus, at the
// area's top-left corner.
QPoint placedTopLeft(QSize frame, QRect area, QRect over = {});

// The top-left corner of the client area of a window of size `client` in a
// frame with these margins (the title bar on top), so that the whole frame
// is placed as placedTopLeft() places it.
QPoint placedClientTopLeft(QSize client, QMargins frame, QRect area, QRect over = {});

} // namespace Quorvath
