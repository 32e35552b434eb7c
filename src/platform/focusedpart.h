// Qt tells assistive technology that a control has the focus only once the
// control's own focus-in handling has run, and only of the control as a
// whole. Where the focus really rests on a part of it (the selected tab of
// the tab strip, the current entry of a list), a screen reader hears of the
// part first, if at all, then of the control, and speaks the control alone:
// "Categories page tab list", never "Armor page tab".
#pragma once

class QWidget;

namespace Quorvath {

// From now on, each time `control` gets the focus, assistive technology is
// told afterwards that its focused part (its accessible focus child) has it.
void announceFocusedPart(QWidget *control);

} // namespace Quorvath
