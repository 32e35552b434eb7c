#!/usr/bin/env bash
# Pictures of the Windows build under Wine, with their window frames, for
# docs/windows.md: docs/windows/intro.png, main-window.png (Chain Armor shown),
# item-name.png (a terminology window) and about.png, or into the folder
# given. QI_SHOTS_EXE names another executable, QI_SHOTS_STYLE a style,
# QI_SHOTS_WINDOWS the Windows that Wine reports (win10 unless told: win11).
# Needs a finished `bash tools/windows.sh test` (which also makes the Wine
# prefix, of which this takes a view), and Wine 10: on Debian 12,
# `bash tools/debian13.sh windows bash tools/windows/screenshots.sh`.
source "$(dirname "$0")/../setup.sh"
root=$QI_ROOT
source "$root/tests/windows/wineprefix.sh"
exe=${QI_SHOTS_EXE:-$root/build-windows/QuorvathItemlist.exe}
out=${1:-$root/docs/windows}
mkdir -p "$out"
qi_wine_prefix "${WINEPREFIX:-}"
WINEPREFIX=$(prefix_view "$WINEPREFIX")
prefix_machine "$WINEPREFIX" "${QI_SHOTS_WINDOWS:-win10}" 96 1
n=$((600 + RANDOM % 100))
Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
export DISPLAY=:$n
trap 'prefix_drop "$WINEPREFIX"; kill "${pids[@]}" 2>/dev/null' EXIT
sleep 1
HOME=$(mktemp -d) openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
source "$root/tools/xkeys.sh"
window() { local id; for _ in $(seq 200); do id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1); [ -n "$id" ] && { echo "$id"; return; }; sleep 0.1; done; return 1; }
frame_shot() {   # frame_shot WINDOW FILE: the window with the frame openbox gives it
    local frame
    frame=$(xwininfo -id "$1" -children | awk '/Parent window id/{print $4}')
    import -window root -crop "$(xwininfo -id "$frame" | awk '/Width/{w=$NF} /Height/{h=$NF} /Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print w"x"h"+"x"+"y}')" +repage "$2"
}
wine "$exe" ${QI_SHOTS_STYLE:+-style "$QI_SHOTS_STYLE"} &
intro=$(window "Quorvath Itemlist for Windows Version 1.0.1A")
sleep 1.5
frame_shot "$intro" "$out/intro.png"
send_keys "$intro" Return
main=$(window "Quorvath Itemlist For Windows")
sleep 1.5
read -r x y < <(xwininfo -id "$main" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}')
# The design's lengths grow with the window where its font needs it.
read -r w h < <(xwininfo -id "$main" | awk '/^  Width/{w=$NF} /^  Height/{h=$NF} END{print w, h}')
bar=$((h - 453 * w / 481))
# Chain Armor, the second Armor entry.
xdotool mousemove --sync $((x + 60)) $((y + bar + 90 * w / 481)) click 1
send_keys "$main" Home Down
xdotool mousemove 0 0
sleep 1
frame_shot "$main" "$out/main-window.png"
# Help > Terminology > Item Name, by the keyboard.
send_keys "$main" F10 Left Right Return
term=$(window "Item Name")
sleep 1
frame_shot "$term" "$out/item-name.png"
send_keys "$term" alt+F4
sleep 1
# Help > About Quorvath Itemlist, with the pointer: Help is the third word of
# the menu bar, About the second entry of its menu.
xdotool mousemove --sync $((x + 93)) $((y + bar / 2)) click 1
sleep 1
xdotool mousemove --sync $((x + 120)) $((y + bar + 37)) click 1
about=$(window "About This Program")
sleep 2
frame_shot "$about" "$out/about.png"
ls -l "$out"
