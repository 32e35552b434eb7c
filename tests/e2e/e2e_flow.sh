#!/usr/bin/env bash
# The window flow seen from outside, in a real X session with openbox.
source "$(dirname "$0")/lib.sh"
start_display

# --- The intro: caption only, Alt+F4 ends the program with 0 -------------
start_app
intro=$(wait_window "$INTRO") || { fail "intro window"; finish; }
pass "intro window is up"
read -r w h x y < <(client_geometry "$intro")
check "intro client is 288 x 267 (got $w x $h)" [ "$w" = 288 -a "$h" = 267 ]
cx=$((x + w / 2)); cy=$((y + h / 2))
check "intro centred on the screen (centre $cx,$cy)" [ $((cx - 640)) -ge -20 -a $((cx - 640)) -le 20 -a $((cy - 512)) -ge -40 -a $((cy - 512)) -le 40 ]
# What the window asks of the window manager (openbox draws a close button
# whatever a window asks): Motif functions without close (0x20), minimize
# (0x8) or maximize (0x10), and a fixed size.
read -r _ _ flags functions _ < <(xprop -id "$intro" _MOTIF_WM_HINTS | tr -d ',')
check "the intro asks for no close, minimize or maximize ($functions)" [ $((flags & 1)) = 1 -a $((functions & 0x38)) = 0 ]
check "the intro has a fixed size" fixed_size "$intro" 288 267
# Docks tie a window to its menu entry by the X class, and show its icon at
# the size they need: every size the package installs.
class=$(xprop -id "$intro" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p')
wmclass=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../packaging/example.quorvath.Itemlist.desktop")
check "the X class '$class' is the desktop entry's StartupWMClass '$wmclass'" [ -n "$class" -a "$class" = "$wmclass" ]
offered=$(xprop -len 4000000 -id "$intro" _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]*\) x [0-9]*):.*/\1/p' | sort -n | paste -sd ' ')
installed=$(ls "$(dirname "$0")/../../assets/icons" | sed -n 's/^quorvath-\([0-9]*\)\.png$/\1/p' | sort -n | paste -sd ' ')
check "the window icon comes at every installed size ($installed; got $offered)" [ "$offered" = "$installed" ]
key "$intro" alt+F4
app_exit_code 50; code=$APP_EXIT
check "Alt+F4 on the intro ends the program with 0 (got $code)" [ "$code" = 0 ]

# --- Okay, then the close box asks; No keeps, Yes ends -------------------
start_at_main
check "intro is gone after Okay" wait_gone "$INTRO"
read -r w h x y < <(client_geometry "$main")
check "main window is 481 wide (got $w)" [ "$w" = 481 ]

key "$main" alt+F4
check "the close box asks the question" wait_for 50 windows_named "$MAIN" 2
box=$(quit_question "$main")
key "$box" Escape
check "No keeps the main window" wait_for 50 windows_named "$MAIN" 1
check "the program still runs" kill -0 "$APP_PID"

key "$main" alt+F4
wait_for 50 windows_named "$MAIN" 2 || fail "question again"
box=$(quit_question "$main")
key "$box" Return
app_exit_code 50; code=$APP_EXIT
check "Yes closes the last window and the program ends with 0 (got $code)" [ "$code" = 0 ]
check_quiet
finish
