#!/usr/bin/env bash
# Pictures of the Windows build under Wine, with their window frames, for
# docs/windows.md (how to run it: there): intro.png, main-window.png,
# item-name.png and about.png into docs/windows/ or the folder given.
#   screenshots.sh [FOLDER]    (QI_SHOTS_EXE, QI_SHOTS_STYLE, QI_SHOTS_WINDOWS=win10|win11)
source "$(dirname "$0")/../setup.sh"
root=$QI_ROOT
source "$root/tests/windows/wineprefix.sh"
exe=${QI_SHOTS_EXE:-$root/build-windows/QuorvathItemlist.exe}
out=${1:-$root/docs/windows}
mkdir -p "$out"
qi_wine_prefix "${WINEPREFIX:-}"
WINEPREFIX=$(prefix_view "$WINEPREFIX")
prefix_machine "$WINEPREFIX" "${QI_SHOTS_WINDOWS:-win10}" 96 1
# lib.sh's start_app starts "$QI_APP": a function, so that it takes arguments.
wine_app() { exec wine "$exe" ${QI_SHOTS_STYLE:+-style "$QI_SHOTS_STYLE"}; }
QI_APP=wine_app
# The intro's caption, which names the version, as the build wrote it.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$(dirname "$exe")/intro-caption.txt")}
source "$root/tests/e2e/lib.sh"
trap 'prefix_drop "$WINEPREFIX"; e2e_cleanup' EXIT
start_display 1024x768
frame_shot() {   # frame_shot WINDOW FILE: the window with the frame openbox gives it
    local frame w h x y
    frame=$(xwininfo -id "$1" -children | awk '/Parent window id/{print $4}')
    read -r w h x y < <(client_geometry "$frame")
    import -window root -crop "${w}x$h+$x+$y" +repage "$2"
}
start_app
intro=$(wait_window "$INTRO" 200)
sleep 1.5
frame_shot "$intro" "$out/intro.png"
send_keys "$intro" Return
main=$(wait_window "$MAIN" 200)
sleep 1.5
# The design's lengths grow with the window where its font needs it.
read -r w h x y < <(client_geometry "$main")
bar=$((h - 453 * w / 481))
# Chain Armor, the second Armor entry.
xdotool mousemove --sync $((x + 60)) $((y + bar + 90 * w / 481)) click 1
send_keys "$main" Home Down
xdotool mousemove 0 0
sleep 1
frame_shot "$main" "$out/main-window.png"
# Help > Terminology > Item Name, by the keyboard.
send_keys "$main" F10 Left Right Return
term=$(wait_window "Item Name" 200)
sleep 1
frame_shot "$term" "$out/item-name.png"
send_keys "$term" alt+F4
sleep 1
# Help > About Quorvath Itemlist, with the pointer: Help is the third word of
# the menu bar, About the second entry of its menu.
xdotool mousemove --sync $((x + 93)) $((y + bar / 2)) click 1
sleep 1
xdotool mousemove --sync $((x + 120)) $((y + bar + 37)) click 1
about=$(wait_window "$ABOUT" 200)
sleep 2
frame_shot "$about" "$out/about.png"
ls -l "$out"
