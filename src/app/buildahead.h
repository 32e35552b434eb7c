// Readies a hidden top-level window so that showing it has little left to
// do: styles polished, layout done, native window made, and the window
// rendered once, unseen, into its own buffer. That buffer lives in memory
// shared with the display server and is mapped page by page the first time
// it is painted; rendering also loads the glyphs of the window's texts.
#pragma once

#include <functional>

class QPaintDevice;
class QWidget;

namespace Quorvath {

// `beforeRender` may draw on the buffer first (to load more glyphs, say):
// the window paints over it. When the window first shows, assistive
// technology meets it as a new window (see presentanew.h): what it heard of
// the window while hidden would otherwise stay hidden to it.
void buildAhead(QWidget *window, const std::function<void(QPaintDevice *)> &beforeRender = {});

} // namespace Quorvath
