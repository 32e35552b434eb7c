// What the terminology windows and the About window share as windows: they
// have no taskbar button of their own, and their designs assume the toolkit's
// sans-serif face at 8 points.
#pragma once

#include <QSize>
#include <QString>

class QFont;
class QWidget;

namespace Quorvath::SideWindow {

// How much a plain-text box of the design size `box` (logical pixels) must
// grow for `text` to show in `font` as designed: every line but the last ends
// where the text breaks it, and, when `fitHeight`, all lines are in view.
// `chrome` is what the box's border, margins and scroll bar take from its size.
// Zero where the font is no wider than the one the design was made with.
QSize textBoxGrowth(const QFont &font, const QString &text, QSize box, QSize chrome,
                    bool fitHeight);

// `font` narrowed (never made smaller) until the text needs no growth of its
// box, so the window keeps its designed size; as narrow as it gets if no
// width is enough.
QFont narrowedToFit(QFont font, const QString &text, QSize box, QSize chrome, bool fitHeight);

// Asks the window manager to keep `window` off the taskbar. Call it from the
// window's showEvent: the request must be in place before the window is
// mapped, and the window manager forgets it whenever the window is hidden.
void keepOffTaskbar(QWidget *window);

} // namespace Quorvath::SideWindow
