#include "tabrows.h"

namespace Quorvath::TabRows {

QRect tabRect(const Strip &s, int tab, int selected)
{
    if (tab < 0 || tab >= s.count || selected < 0 || selected >= s.count)
        return {};
    const int column = columnOf(s, tab);
    const int left = column * s.width / s.perRow;
    const int right = (column + 1) * s.width / s.perRow;
    const int top = lineOf(s, rowOf(s, tab), rowOf(s, selected)) * s.tabHeight;
    return {left, top, right - left, s.tabHeight};
}

int tabAt(const Strip &s, QPoint pos, int selected)
{
    for (int tab = 0; tab < s.count; ++tab) {
        if (tabRect(s, tab, selected).contains(pos))
            return tab;
    }
    return -1;
}

} // namespace Quorvath::TabRows
