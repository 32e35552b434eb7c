#include "core/minuteclock.h"

namespace MinuteClock {

int msToNextMinute(const QTime &now)
{
    if (!now.isValid())
        return 60000;
    return 60000 - (now.second() * 1000 + now.msec());
}

} // namespace MinuteClock
