// Where the tabs of a multi-row tab strip stand: which row and column each
// tab takes, which row is drawn next to the page, and the rectangle of every
// tab. Plain arithmetic on QRect so that it is tested without a window.
#pragma once

#include <QPoint>
#include <QRect>

namespace Quorvath::TabRows {

// The fixed shape of a strip: `count` tabs, `perRow` to a row, rows of
// `tabHeight`, spread over `width`. Row 0 holds tabs 0..perRow-1.
struct Strip {
    int count = 0;
    int perRow = 1;
    int width = 0;
    int tabHeight = 0;

    constexpr int rows() const { return perRow > 0 ? (count + perRow - 1) / perRow : 0; }
    constexpr int height() const { return rows() * tabHeight; }
};

constexpr int rowOf(const Strip &s, int tab) { return tab / s.perRow; }
constexpr int columnOf(const Strip &s, int tab) { return tab % s.perRow; }

// Like classic tabbed dialogs, the row of the selected tab is drawn next to
// the page and the others rotate above it, so the selected tab always
// touches its page. Returns the line counted from the top (0) for `row`.
constexpr int lineOf(const Strip &s, int row, int selectedRow)
{
    const int rows = s.rows();
    const int fromPage = ((row - selectedRow) % rows + rows) % rows;   // 0 = next to the page
    return rows - 1 - fromPage;
}

// Every tab takes an equal share of the width; a short last row is not
// stretched. The shares are spread so the columns tile the width exactly.
QRect tabRect(const Strip &s, int tab, int selected);

// The tab under `pos`, or -1.
int tabAt(const Strip &s, QPoint pos, int selected);

// Keyboard steps. Arrow keys stop at the ends; Ctrl+Tab and its kin wrap.
constexpr int stepped(const Strip &s, int tab, int delta)
{
    const int to = tab + delta;
    return to < 0 ? 0 : (to >= s.count ? s.count - 1 : to);
}
constexpr int cycled(const Strip &s, int tab, int delta)
{
    return ((tab + delta) % s.count + s.count) % s.count;
}

} // namespace Quorvath::TabRows
