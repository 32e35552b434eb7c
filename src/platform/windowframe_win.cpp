// The frame on Windows: Qt knows it for a window not yet shown, so there is
// nothing to ask.
#include "windowframe_platform.h"

namespace Quorvath {

bool askWindowManager(QWidget *, QMargins &)
{
    return false;
}

} // namespace Quorvath
