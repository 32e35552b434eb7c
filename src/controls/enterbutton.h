// Push buttons that Enter presses while they have the focus, as Space does,
// without being a default button. Qt presses a button on Enter only if it
// is a default or auto-default one, and an auto-default button becomes the
// default while it has the focus: it is drawn and announced to screen readers
// as such, which these windows' buttons are not.
#pragma once

class QPushButton;

namespace Quorvath {

void pressOnEnter(QPushButton *button);

} // namespace Quorvath
