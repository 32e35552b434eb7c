// When a clock that shows hours and minutes has to be redrawn next, and the
// time format it shows.
#pragma once

#include <QDateTime>
#include <QString>

namespace Quorvath::MinuteClock {

// Milliseconds from `now` to the start of the next minute, 1..60000. A
// timer armed with this wakes up just after the display changes rather than
// polling every second.
int msToNextMinute(const QTime &now);

// A QLocale time format without its seconds (and fractions), with the
// separator before them: "HH:mm:ss" -> "HH:mm", "h:mm:ss AP" -> "h:mm AP".
// Some locales' short format carries seconds, which a clock redrawn once a
// minute would show stale.
QString withoutSeconds(const QString &format);

} // namespace Quorvath::MinuteClock
