#!/usr/bin/env bash
# The Windows program under Wine, driven with real X pointer and key events
# and read back from the screen's pixels and by OCR (docs/windows.md):
#   e2e_wine.sh QuorvathItemlist.exe [STYLE]
# QI_E2E_DPI, QI_E2E_LEGIBLE=1 (only the reading back), QI_E2E_WINDOWS (the
# Windows Wine must report), QI_E2E_PICTURE / QI_E2E_SAME_AS (keep the main
# window's picture / compare it with one kept, the status bar's clock aside).
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
style=${2:-}
# lib.sh's start_app starts "$QI_APP": a function, so that it takes arguments.
wine_app() { exec wine "$exe" ${style:+-style "$style"}; }
QI_APP=wine_app
# The intro's caption, which names the version, as the build wrote it.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$(dirname "$exe")/intro-caption.txt")}
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
start_display

dpi=${QI_E2E_DPI:-96}
full=$([ -n "${QI_E2E_LEGIBLE:-}" ] || echo 1)

# --- Legibility: the words each window is known to show (captions, values,
# enabled buttons' captions, the lines in view), of which OCR has to read
# back at least 90%. The web buttons are enabled: Wine has a browser.
declare -A KNOWN=(
    ["$MAIN"]="Armor Figurines Gloves Helms Misc. Items Rings Shields Weapons Instruments Quivers
        Containers/Fluids Item Leather Armor Scale Armor Plate Armor Information Status
        Item Name: Chain Armor Usable By: Bard, Geomancer, Hunter, Paladin, Warrior
        Effect(s) of Equipping: Adds +2 to the character's AC value. Activated Effect(s): N/A
        # Uses: Continuous while equipped. Description: Interlocking iron rings; noisy, but dependable."
    ["Limited..."]="Information The item has a finite number of charges in it before it can no longer be
        activated. The number of times it can be used varies and is displayed beside the item in the
        character's inventory. Note that depleting an item's charges does not interfere with its
        continuous effects, if it has any."
    ["$ABOUT"]="Sign The Petition Now! Velmarch Okay Quorvath Itemlist for Windows
        By Anselm Vorrick and Teo Baskel, 2001 Version 1.0.1 Alpha Did you know that there was a
        Quorvath IV programmed by Halvenmark? It was scrapped in")
legible() {   # legible WINDOW CAPTION
    local share
    sleep 0.5
    import -window "$1" "$E2E_TMP/read.png" 2>/dev/null
    share=$(/usr/bin/python3 "$E2E_DIR/ocr_share.py" "$E2E_TMP/read.png" "${KNOWN[$2]}" 90)
    [ -n "${QI_OCR_SHOTS:-}" ] && cp "$E2E_TMP/read.png" "$QI_OCR_SHOTS-$dpi-${2%%[. ]*}.png"
    check "'$2' at $dpi dpi reads back $share% of its words (at least 90%)" [ "$share" -ge 90 ]
}

# --- Pixels -------------------------------------------------------------------
# The screen (or a window: settled FILE WINDOW) once it has stopped
# changing, as the "before" of a comparison: a window closed just now may
# still be repainting what it covered on a busy machine. Two shots 0.3 s
# apart alike, or the last after 5 s.
settled() {
    local i
    import -window "${2:-root}" "$1" 2>/dev/null
    for ((i = 0; i < 16; i++)); do
        sleep 0.3
        import -window "${2:-root}" "$E2E_TMP/again.png" 2>/dev/null
        same_image "$1" "$E2E_TMP/again.png" && return 0
        mv "$E2E_TMP/again.png" "$1"
    done
}
# Whether a box of a window's client area holds drawn text or lines: some
# pixels much darker than the rest. ink WINDOW X Y W H
ink() {
    shot "$1" "$2" "$3" "$4" "$5" "$E2E_TMP/ink.png"
    local dark
    dark=$(convert "$E2E_TMP/ink.png" -colorspace Gray -threshold 45% -negate -format '%[fx:mean*w*h]' info:)
    [ "${dark%.*}" -ge 3 ]
}
# How much of a box's text is drawn in strokes two or more pixels wide: the
# share (%) of its dark pixels that a 2x1 erosion leaves. Bold text keeps
# about 60%, regular text about a quarter. solid WINDOW X Y W H
solid() {
    shot "$1" "$2" "$3" "$4" "$5" "$E2E_TMP/solid.png"
    [ -n "${QI_OCR_SHOTS:-}" ] && cp "$E2E_TMP/solid.png" "$QI_OCR_SHOTS-$dpi-solid-$2-$3.png"
    convert "$E2E_TMP/solid.png" -colorspace Gray -threshold 30% -negate \
        \( +clone -morphology Erode Rectangle:2x1 \) -format '%[fx:mean*w*h] ' info: |
        awk '{ print ($1 > 0 ? int(100 * $2 / $1) : 0) }'
}
# How many pixels two pictures of the main window differ in, with the
# status bar's date and time (its right half) left out, or both sizes where
# they differ: pixels_apart FILE FILE.
pixels_apart() {
    local size other
    size=$(identify -format '%wx%h' "$1") other=$(identify -format '%wx%h' "$2")
    [ "$size" = "$other" ] || { echo "$size against $other"; return 0; }
    local clock="$(px 240),$((${size#*x} - $(px 26))) ${size%x*},${size#*x}"
    convert "$1" -fill black -draw "rectangle $clock" "$E2E_TMP/apart-1.png"
    convert "$2" -fill black -draw "rectangle $clock" "$E2E_TMP/apart-2.png"
    compare -metric AE "$E2E_TMP/apart-1.png" "$E2E_TMP/apart-2.png" null: 2>&1 \
        | awk '$1 ~ /^[0-9.e+]+$/ { printf "%d\n", $1; next } { print }'
}
# The bounding box "W H X Y" of what changed on the screen since `settled
# $E2E_TMP/before.png`, 1.5 s on. With MASK="x0,y0 x1,y1" set, that rectangle
# counts as unchanged.
changed() {
    sleep 1.5
    import -window root "$E2E_TMP/after.png" 2>/dev/null
    convert "$E2E_TMP/before.png" "$E2E_TMP/after.png" ${MASK:+-fill black -draw "rectangle $MASK"} \
        -compose difference -composite -colorspace Gray -threshold 2% \
        -format '%@' info: | sed 's/[x+]/ /g'
}
# The x centres of the words in a band of a window's rows: words_x WINDOW Y H.
# Columns with dark pixels, runs of them closer than 7 px joined.
words_x() {
    shot "$1" 0 "$2" 300 "$3" "$E2E_TMP/band.png"
    convert "$E2E_TMP/band.png" -colorspace Gray -threshold 45% -negate -scale 300x1! -threshold 1% \
            -depth 8 gray:- | od -An -tu1 -v -w1 |
        awk '{ x = NR - 1 }
             $1 > 0 { if (start < 0) start = x; last = x }
             $1 == 0 && start >= 0 && x - last > 6 { print int((start + last) / 2); start = -1 }
             BEGIN { start = -1 }
             END { if (start >= 0) print int((start + last) / 2) }'
}

# --- Windows' view of the program's windows: one line per visible window,
# "TITLE|owner=...|thickframe=...|min=...|max=...|sysmenu=...|appwindow=...|toolwindow=...".
x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -municode -o "$E2E_TMP/windowcheck.exe" \
    "$(dirname "${BASH_SOURCE[0]}")/windowcheck.cpp"
windows_seen() { wine "$E2E_TMP/windowcheck.exe" "$(basename "$exe")" 2>/dev/null | tr -d '\r'; }
# A fixed frame: no resizing border, so Size and Maximize are greyed in the
# system menu. The side windows are owned (by a window that never shows), so
# they get no taskbar button; the main window and the intro have one.
FIXED="thickframe=0"
SIDE="owner=hidden|$FIXED|min=0|max=0|sysmenu=1|appwindow=0|toolwindow=0"

start_app
intro=$(wait_window "$INTRO" 600) || { fail "the intro window shows its caption"; finish; }
pass "the intro window shows its caption"
seen=$(windows_seen)
check "the intro is unowned with a fixed frame and no buttons (seen: $seen)" \
    [ "$seen" = "$INTRO|owner=none|$FIXED|min=0|max=0|sysmenu=0|appwindow=0|toolwindow=0" ]
# Windows 11 is 10.0 from build 22000 on, as Qt tells them apart.
reported=$(wine "$E2E_TMP/windowcheck.exe" --version 2>/dev/null | tr -d '\r')
build=${reported##*.}
case ${QI_E2E_WINDOWS:-} in
    win10) check "Wine reports Windows 10 ($reported)" [ "${reported%.*}" = 10.0 -a "${build:-0}" -lt 22000 ] ;;
    win11) check "Wine reports Windows 11 ($reported)" [ "${reported%.*}" = 10.0 -a "${build:-0}" -ge 22000 ] ;;
    *) echo "Wine reports Windows $reported" ;;
esac
sleep 1
activate "$intro"
key "$intro" Return
main=$(wait_window "$MAIN" 300) || { fail "Enter on Okay opens the main window"; finish; }
pass "Enter on Okay opens the main window with its caption"
check "the intro is gone" wait_gone "$INTRO"
sleep 1

# The client area holds the menu bar above the design's 481 x 453, at the
# dpi's scale or, where the font needs it, more.
read -r w h mx my < <(client_geometry "$main")
px() { echo $(($1 * w / 481)); }   # a length of the design, as the window has it
bar=$((h - $(px 453)))
check "the main window's client is at least $((481 * dpi / 96)) wide (got $w) with a menu bar (got $bar px)" \
    [ "$w" -ge $((481 * dpi / 96)) -a "$bar" -gt 10 -a "$bar" -lt $(px 40) ]
if [ -n "$full" ]; then

# --- The tab strip: three rows of 20 px, the selected (Armor's) row at the
# bottom, 4 tabs a row at a quarter of the width each: a caption in each.
rows=("Instruments Quivers Containers/Fluids" "Misc.Items Rings Shields Weapons" "Armor Figurines Gloves Helms")
for r in 0 1 2; do
    c=0
    for tab in ${rows[$r]}; do
        check "tab '$tab' is drawn with its caption" \
            ink "$main" $(px $((c * 120 + 10))) $((bar + $(px $((r * 20 + 4))))) $(px 100) $(px 12)
        c=$((c + 1))
    done
done

# --- An item: the first Armor entry, clicked; its six values are filled.
# Value boxes: the design's twips / 15, inside the frame at (0, 184).
values=("72 200 361 17" "72 224 361 17" "128 248 305 33" "112 288 321 33" "56 328 377 17" "80 352 353 65")
value_ink() {   # value_ink I: value box I holds drawn text
    local x y vw vh
    read -r x y vw vh < <(for n in ${values[$1]}; do px "$n"; done | xargs)
    ink "$main" $((x + 3)) $((bar + y + 3)) $((vw - 6)) $((vh - 6))
}
for i in 0 1 2 3 4 5; do
    value_ink $i && fail "value $((i + 1)) is empty before a click"
done
# The list at (8, 64) below the strip; its first row under a header of about 18 px.
xdotool mousemove --sync $((mx + $(px 60))) $((my + bar + $(px 90))) click 1
sleep 1
for i in 0 1 2 3 4 5; do
    check "clicking an entry fills value $((i + 1))" wait_for 30 value_ink $i
done
fi
# Chain Armor, the entry below the first, read back with the pointer aside.
xdotool mousemove --sync $((mx + $(px 60))) $((my + bar + $(px 90))) click 1
sleep 0.5
send_keys "$main" Home Down || fail "Home and Down for the list"
xdotool mousemove 0 0
legible "$main" "$MAIN"
if [ -n "${QI_E2E_PICTURE:-}${QI_E2E_SAME_AS:-}" ]; then
    settled "$E2E_TMP/main.png" "$main"
    [ -n "${QI_E2E_PICTURE:-}" ] && cp "$E2E_TMP/main.png" "$QI_E2E_PICTURE"
    if [ -n "${QI_E2E_SAME_AS:-}" ]; then
        kept=$QI_E2E_SAME_AS
        apart=$([ -f "$kept" ] && pixels_apart "$kept" "$E2E_TMP/main.png" || echo "no picture")
        check "the main window is $(basename "$kept") pixel for pixel, the clock aside (apart: $apart)" \
            [ "$apart" = 0 ]
    fi
fi
# The list's entries are bold, the values regular: Leather Armor, the first
# entry, against Chain Armor in the Item Name box. Scaled (144 dpi), Wine
# picks Tahoma Bold and spaces its glyphs as bold but draws the regular
# shapes, through DirectWrite and GDI alike (docs/windows.md): there
# the figures are only reported.
entry=$(solid "$main" $(px 12) $((bar + $(px 85))) $(px 90) $(px 9))
value=$(solid "$main" $(px 75) $((bar + $(px 203))) $(px 90) $(px 11))
strokes="$entry% and $value% of their ink in wide strokes"
if [ "$dpi" = 96 ]; then
    check "the list is drawn bold, the values regular ($strokes)" [ "$entry" -ge 40 -a "$value" -lt 40 ]
else
    echo "at $dpi dpi, not checked: the list entry and the value have $strokes"
fi

# --- Menus under the pointer: a click on a menu-bar entry opens its menu
# and nothing else; a click on an entry acts.
# The status bar's clock may turn to the next minute while a menu opens.
MASK="$mx,$((my + bar + $(px 423))) $((mx + $(px 480))),$((my + bar + $(px 452)))"
mapfile -t bar_x < <(words_x "$main" 2 $((bar - 4)))
check "the menu bar shows File, Search and Help (found ${#bar_x[@]} words)" [ "${#bar_x[@]}" -ge 3 ]
if [ -n "$full" ]; then
open_menu() {   # open_menu X: clicks the menu-bar word at X; prints the popup's box "W H X Y"
    settled "$E2E_TMP/before.png"
    xdotool mousemove --sync $((mx + $1)) $((my + bar / 2)) click 1
    changed
}
for i in 0 1; do
    read -r pw ph px py < <(open_menu "${bar_x[$i]}") || true
    check "menu $((i + 1)) opens below the bar under the pointer (${pw}x${ph} at $px,$py)" \
        [ "$ph" -gt 15 -a "$py" -ge $((my + bar - 25)) ]
    # An open menu leaves the focus on its window, as Windows does.
    wait_focus "$main" && xdotool key Escape Escape || fail "Esc for menu $((i + 1))"
    sleep 0.5
done
read -r pw ph px py < <(open_menu "${bar_x[2]}") || true
check "one click on Help opens its menu (${pw}x${ph} at $px,$py)" [ "$ph" -gt 30 ]
check "and opens no terminology window" not has_window "Item Name"
# Its first entry, Terminology, opens a submenu; that one's first entry is Item Name.
settled "$E2E_TMP/before.png"
xdotool mousemove --sync $((mx + ${bar_x[2]} + $(px 15))) $((my + bar + $(px 10))) click 1
read -r sw sh sx sy < <(changed) || true
check "clicking Terminology opens its submenu (${sw}x${sh} at $sx,$sy)" [ "$sh" -gt 30 ]
xdotool mousemove --sync $((sx + sw - 30)) $((sy + 10)) click 1
check "clicking Item Name opens the Item Name window" wait_window "Item Name" 100
item=$(window_named "Item Name")
[ -n "$item" ] && key "$item" alt+F4
wait_gone "Item Name" || fail "Alt+F4 closes the Item Name window"
# Back in the main window, a lone Alt, and F10, each put the menu bar in
# keyboard mode on its first menu: Down opens it, a narrow box below the
# bar (Down with the menu bar left alone changes the whole window's width).
for bar_key in alt F10; do
    settled "$E2E_TMP/before.png"
    wait_focus "$main" && xdotool key "$bar_key" && sleep 0.5 && wait_focus "$main" && xdotool key Down \
        || fail "$bar_key, then Down"
    read -r pw ph px py < <(changed) || true
    check "$bar_key, then Down, opens the File menu below the bar (${pw}x${ph} at $px,$py)" \
        [ "${ph:-0}" -gt 15 -a "${py:-0}" -ge $((my + bar - 25)) -a "${pw:-999}" -lt "$(px 240)" ]
    wait_focus "$main" && xdotool key Escape Escape || fail "Esc after $bar_key"
    sleep 0.5
done
fi

# --- Every side window opened from the Help menu by keyboard, then every
# window as Windows sees it, and as the X window manager is told (Wine keeps
# owned windows off the taskbar with _NET_WM_STATE_SKIP_TASKBAR).
off_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
sides=("Item Name:Down Right Return"
       "Usable By...:Down Right Down Return"
       "Effects of Equipping...:Down Right Down Down Return"
       "Activated Effects...:Down Right Down Down Down Return"
       "One-time only...:Down Right Down Down Down Down Right Return"
       "Limited...:Down Right Down Down Down Down Right Down Return"
       "Multiple...:Down Right Down Down Down Down Right Down Down Return"
       "Continuous while Equipped...:Down Right Down Down Down Down Right Down Down Down Return"
       "Description...:Down Right Down Down Down Down Down Return"
       "$ABOUT:Down Down Return")
[ -n "$full" ] || sides=("${sides[5]}" "${sides[9]}")
for side in "${sides[@]}"; do
    caption=${side%%:*}
    activate "$main"
    # Not --sync: with a window just read back on top, the pointer at times never reports the move.
    xdotool mousemove $((mx + ${bar_x[2]})) $((my + bar / 2)) sleep 0.3 click 1
    sleep 1
    # shellcheck disable=SC2086 # the keys are words
    wait_focus "$main" && xdotool key --delay 150 ${side#*:} || fail "the Help menu's keys for '$caption'"
    if window=$(wait_window "$caption" 100); then
        [ -n "${KNOWN[$caption]:-}" ] && { xdotool mousemove 0 0; legible "$window" "$caption"; }
    else fail "the Help menu opens '$caption'"; fi
done
if [ -n "$full" ]; then
seen=$(windows_seen)
count=$(wc -l <<<"$seen")
check "Windows sees the main window and the ten side windows (seen: $count)" [ "$count" = 11 ]
check "the main window is unowned with a fixed frame and only a minimize button" \
    grep -qxF "$MAIN|owner=none|$FIXED|min=1|max=0|sysmenu=1|appwindow=0|toolwindow=0" <<<"$seen"
for side in "${sides[@]}"; do
    caption=${side%%:*}
    check "'$caption' is owned by a hidden window, with a fixed frame and no buttons" \
        grep -qxF "$caption|$SIDE" <<<"$seen"
    check "and is off the taskbar" off_taskbar "$(window_named "$caption")"
done
check "the main window is on the taskbar" not off_taskbar "$main"
fi
for side in "${sides[@]}"; do
    caption=${side%%:*}
    window=$(window_named "$caption")
    [ -n "$window" ] && key "$window" alt+F4
    wait_gone "$caption" || fail "Alt+F4 closes '$caption'"
done

# --- Alt+F4 asks; Yes ends the program with 0.
key "$main" alt+F4
check "Alt+F4 on the main window asks the quit question" wait_for 50 windows_named "$MAIN" 2
question=$(quit_question "$main")
[ -n "$question" ] && key "$question" Return   # Yes is the default button
app_exit_code 100
check "Yes ends the program with exit code 0 (got $APP_EXIT)" [ "$APP_EXIT" = 0 ]
finish
