// When a clock that shows hours and minutes has to be redrawn next.
#pragma once

#include <QDateTime>

namespace MinuteClock {

// Milliseconds from `now` to the start of the next minute, 1..60000. A
// timer armed with this wakes up just after the display changes rather than
// polling every second.
int msToNextMinute(const QTime &now);

} // namespace MinuteClock
