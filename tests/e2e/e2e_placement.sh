#!/usr/bin/env bash
# The title bar stays on the screen (docs/placement.md): on small screens and at
# large scales every window's frame starts inside the work area.
#   e2e_placement.sh [WxH SCALE]   one row, or every row below on displays of their own
source "$(dirname "$0")/lib.sh"

# Screen and QT_SCALE_FACTOR
ROWS=("640x480 1" "800x600 1.5" "1024x768 2" "640x480 2")
if [ $# -ne 2 ]; then
    for row in "${ROWS[@]}"; do
        # shellcheck disable=SC2086 # the row is the two arguments
        bash "$0" $row || E2E_FAILS=$((E2E_FAILS + 1))
    done
    finish
fi
screen=$1 scale=$2
start_display "$screen"
export QT_SCALE_FACTOR=$scale
wait_for 50 sh -c 'xprop -root _NET_WORKAREA | grep -q =' || { fail "openbox sets the work area"; finish; }
read -r area_x area_y _ _ < <(xprop -root _NET_WORKAREA | awk -F'[=,]' '{print $2, $3, $4, $5}')

# The frame's top-left corner: the client's less the frame extents.
frame_top_left() {
    local x y left top
    read -r _ _ x y < <(client_geometry "$1")
    read -r left _ top _ < <(xprop -id "$1" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $2, $3, $4, $5}')
    echo $((x - left)) $((y - top))
}
inside() {
    local x y
    read -r x y < <(frame_top_left "$2")
    check "$screen at scale $scale: the $1's frame starts at $x,$y, inside the work area from $area_x,$area_y" \
        [ "$x" -ge "$area_x" -a "$y" -ge "$area_y" ]
}

start_app
intro=$(wait_window "$INTRO") || { fail "intro window"; finish; }
inside "intro" "$intro"
key "$intro" Return
main=$(wait_window "$MAIN") || { fail "main window"; finish; }
inside "main window" "$main"
check_quiet
finish
