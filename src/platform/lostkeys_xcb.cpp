// X11 tells every key release to the window with the focus, and Qt's xcb
// platform keeps no record of held keys that a lost release could spoil.
#include "lostkeys.h"

namespace Quorvath {

void mendLostKeyReleases()
{
}

} // namespace Quorvath
