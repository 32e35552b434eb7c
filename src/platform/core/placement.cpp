#include "placement.h"

#include <algorithm>

namespace Quorvath {

namespace {

// One axis: centred over [overStart, overStart + overLength), then kept
// within [areaStart, areaStart + areaLength), its start first.
int placed(int length, int areaStart, int areaLength, int overStart, int overLength)
{
    const int centred = overStart + (overLength - length) / 2;
    const int last = areaStart + areaLength - length;
    return last < areaStart ? areaStart : std::clamp(centred, areaStart, last);
}

} // namespace

QPoint placedTopLeft(QSize frame, QRect area, QRect over)
{
    if (over.isEmpty())
        over = area;
    return {placed(frame.width(), area.x(), area.width(), over.x(), over.width()),
            placed(frame.height(), area.y(), area.height(), over.y(), over.height())};
}

QPoint placedClientTopLeft(QSize client, QMargins frame, QRect area, QRect over)
{
    return placedTopLeft(client.grownBy(frame), area, over) + QPoint(frame.left(), frame.top());
}

} // namespace Quorvath
