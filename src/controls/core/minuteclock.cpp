#include "minuteclock.h"

namespace Quorvath::MinuteClock {

int msToNextMinute(const QTime &now)
{
    if (!now.isValid())
        return 60000;
    return 60000 - (now.second() * 1000 + now.msec());
}

QString withoutSeconds(const QString &format)
{
    QString result;
    qsizetype afterField = 0;   // end of the last field or quoted text kept
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            afterField = result.size();
        } else if (!quoted && (c == u's' || c == u'z')) {
            result.truncate(afterField);   // drop the separator before them
        } else {
            result += c;
            if (quoted || c.isLetter())
                afterField = result.size();
        }
    }
    return result;
}

} // namespace Quorvath::MinuteClock
