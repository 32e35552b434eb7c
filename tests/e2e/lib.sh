#!/usr/bin/env bash
# Shared by the script tests: pass/fail bookkeeping and a scratch folder; for the
# end-to-end ones an X display with openbox, the program as a user starts it, and
# bounded waits. Processes started here are ended by id at exit.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

APP=${QI_APP:-}
# The intro window's caption, which names the version (from CMake).
INTRO=${QI_INTRO_CAPTION:-}
MAIN="Quorvath Itemlist For Windows"
ABOUT="About This Program"
# The category tabs' captions, in order.
CATEGORIES="Armor|Figurines|Gloves|Helms|Misc. Items|Rings|Shields|Weapons|Instruments|Quivers|Containers/Fluids"
# The captions of the details of the item shown.
FIELDS=("Item Name:" "Usable By:" "Effect(s) of Equipping:" "Activated Effect(s):" "# Uses:" "Description:")
# The side windows: Help's menu path | caption | client W H (the design's twips / 15).
SIDE_WINDOWS=(
    "Terminology/Item Name|Item Name|305 59"
    "Terminology/Usable By|Usable By...|297 59"
    "Terminology/Effects of Equipping|Effects of Equipping...|289 74"
    "Terminology/Activated Effects|Activated Effects...|305 74"
    "Terminology/# Uses/One-time only.|One-time only...|305 59"
    "Terminology/# Uses/Limited.|Limited...|305 99"
    "Terminology/# Uses/Multiple.|Multiple...|305 60"
    "Terminology/# Uses/Continuous while equipped.|Continuous while Equipped...|306 60"
    "Terminology/Description|Description...|298 75"
    "About Quorvath Itemlist|$ABOUT|475 207"
)
E2E_PIDS=()
E2E_FAILS=0

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
E2E_TMP=$(mktemp -d)
# A desktop session has a runtime folder of its own; without one, Qt says so
# on standard error.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR=$E2E_TMP/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

fail() { echo "FAIL: $*"; E2E_FAILS=$((E2E_FAILS + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
# not CMD...: CMD fails (for check and wait_for, which run a command).
not() { ! "$@"; }
finish() {
    [ "$E2E_FAILS" -eq 0 ] && { echo "all passed"; exit 0; }
    if [ -s "$E2E_TMP/app.stderr" ]; then echo "the program's standard error:"; cat "$E2E_TMP/app.stderr"; fi
    echo "$E2E_FAILS failed"; exit 1
}

# Polls `cmd...` every 50 ms for at most `tenths`/10 seconds.
wait_for() {
    local tenths=$1; shift
    local i
    for ((i = 0; i < tenths * 2; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}

# start_x [WxH]: the test's own X server (xvfb.sh), 1280x1024 unless given.
start_x() {
    local up=0
    xvfb_start "$E2E_TMP" "${1:-}" || up=$?
    E2E_PIDS+=("$XVFB_PID")
    [ "$up" = 0 ] || exit 1
}
# start_display [WxH]: an X server with a window manager.
start_display() {
    : "${APP:?QI_APP must name the QuorvathItemlist executable}"
    : "${INTRO:?QI_INTRO_CAPTION must give the caption of the intro window}"
    start_x "${1:-}"
    # openbox has been seen to die at start on a busy machine: try again.
    local attempt wm
    for attempt in 1 2 3; do
        HOME=$E2E_TMP openbox >>"$E2E_TMP/openbox.log" 2>&1 &
        wm=$!
        E2E_PIDS+=($wm)
        wait_for 100 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' && break
        echo "openbox did not come up (attempt $attempt):"; cat "$E2E_TMP/openbox.log"
        kill "$wm" 2>/dev/null || true
        [ "$attempt" = 3 ] && exit 1
    done
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR
}

# An xdg-open on the PATH (doing nothing unless given its lines): with none, About's
# web buttons are off, and the program says so on standard error.
stand_in_opener() {
    mkdir -p "$E2E_TMP/bin"
    printf '#!/bin/sh\n%s\n' "${1:-exit 0}" >"$E2E_TMP/bin/xdg-open"
    chmod +x "$E2E_TMP/bin/xdg-open"
    export PATH="$E2E_TMP/bin:$PATH"
}

# The program's standard error is kept, and shown when a test fails.
start_app() {
    "$APP" 2>>"$E2E_TMP/app.stderr" &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
}

# A session in which all is well prints nothing: every warning is a fallback.
check_quiet() { check "the program printed nothing on standard error" not test -s "$E2E_TMP/app.stderr"; }

# Starts the program and presses Enter on the intro; sets `main` to the main
# window's id, or fails the test.
start_at_main() {
    start_app
    local intro
    intro=$(wait_window "$INTRO") || { fail "intro window"; finish; }
    activate "$intro"
    key "$intro" Return
    main=$(wait_window "$MAIN") || { fail "main window"; finish; }
}

# The id of the visible window with exactly this caption. None is an empty answer:
# xdotool's exit 1 would end the script (pipefail) at a window that has just gone.
window_named() { { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | head -n 1; }
window_count() { { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | wc -l; }
has_window() { [ -n "$(window_named "$1")" ]; }
# windows_named CAPTION N: exactly N visible windows have this caption.
windows_named() { [ "$(window_count "$1")" -eq "$2" ]; }
wait_window() {
    wait_for "${2:-100}" has_window "$1" || { echo "no window '$1'"; return 1; }
    sleep 0.2   # mapped; give it a moment to paint
    window_named "$1"
}
wait_gone() { wait_for "${2:-50}" not has_window "$1"; }
# quit_question MAIN_WINDOW: the id of the other visible window with the main window's caption.
quit_question() {
    { xdotool search --onlyvisible --name "^$MAIN\$" 2>/dev/null || true; } | { grep -vx "$(($1))" || true; } | head -n 1
}

# Client size and position of a window: "W H X Y".
client_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /^  Width/{w=$NF} /^  Height/{h=$NF} END{print w, h, x, y}'
}

# Waits (at most `tenths`/10 s) for the program to end; APP_EXIT is its exit code
# or "running". Not for $(...): a subshell cannot wait for its parent's children.
app_exit_code() {
    local i
    APP_EXIT=running
    for ((i = 0; i < ${1:-50}; i++)); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            APP_EXIT=0
            wait "$APP_PID" || APP_EXIT=$?
            return
        fi
        sleep 0.1
    done
}

# Real key presses through the X server (XTEST), so that the window manager
# sees them too (Alt+F4), once the window has the X input focus
# (tools/xkeys.sh). A window that does not get it fails the test there.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/xkeys.sh"
key() { send_keys "$@" || fail "keys ${*:2} for window $1"; }
activate() { focus_window "$1" || fail "activating window $1"; }

# --- Reading the program through accessibility (AT-SPI) --------------------
# Needs a D-Bus session bus (dbus-run-session), which starts the AT-SPI bus on first use.
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
use_a11y() {
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "no D-Bus session bus: run under dbus-run-session"; exit 1; }
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    # The AT-SPI bus launcher puts its socket in the runtime folder, named after
    # the display. Without them all sessions share ~/.cache/at-spi/bus, which another
    # test's launcher takes away ("Couldn't connect to accessibility bus").
    dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR
}
# a11y COMMAND ARGS...: see a11y.py; about a tenth of a second per call.
a11y() { /usr/bin/python3 "$E2E_DIR/a11y.py" "$APP_PID" "$@" 2>/dev/null; }
wait_a11y() { a11y wait "${1:-10}"; }
# has_state WINDOW ROLE NAME STATE...: the object reports every STATE.
has_state() {
    local states state
    states=$(a11y states "$1" "$2" "$3") || true
    for state in "${@:4}"; do grep -qw "$state" <<<"$states" || return 1; done
}
# value_is WINDOW CAPTION TEXT: the control CAPTION labels shows TEXT.
value_is() { [ "$(a11y value "$1" "$2")" = "$3" ]; }
# The whole text of a window's text box, with line ends as on Linux.
text_of() { a11y text "$1" text | tr -d '\r' | sed -e '$a\'; }

# Clicks the middle of an accessible object with a real pointer event.
click_object() {
    local x y w h
    read -r x y w h < <(a11y find "$@") || { echo "no $2 '$3' to click"; return 1; }
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
}
# Walks a menu path with the pointer: menu "Help" "Terminology" "Item Name". A
# submenu that does not open (clicked while the window was still taking the focus)
# gets its entry clicked again; a path that still fails is closed with Esc and retried.
menu_once() {
    local entry previous=
    for entry in "$@"; do
        if ! wait_for 20 a11y find "*" "menu item" "$entry"; then
            [ -n "$previous" ] && click_object "*" "menu item" "$previous"
            wait_for 20 a11y find "*" "menu item" "$entry" || { echo "no menu entry '$entry'"; return 1; }
        fi
        click_object "*" "menu item" "$entry" || return 1
        previous=$entry
    done
}
menu() {
    local window
    window=$(xdotool getwindowfocus 2>/dev/null) || window=
    menu_once "$@" && return 0
    # The open menus keep the focus on their window: Esc closes them there.
    [ -n "$window" ] && wait_focus "$window" && xdotool key --clearmodifiers Escape Escape Escape
    sleep 0.3
    menu_once "$@" && return 0
    # For the reader of the failure: what the program shows, and where the focus is.
    echo "menu $*: the program shows '$(a11y toplevels | paste -sd ' ')';" \
         "the focus is on $(xdotool getwindowfocus getwindowname 2>/dev/null)"
    return 1
}
# help_menu MAIN_WINDOW PATH: Help's entry at PATH ("Terminology/# Uses/Limited."),
# chosen from the main window.
help_menu() {
    local entries
    IFS=/ read -r -a entries <<<"$2"
    activate "$1"
    menu Help "${entries[@]}"
}

# A screenshot of part of a window's client area: shot WINDOW X Y W H FILE.
shot() { import -window "$1" -crop "$4x$5+$2+$3" +repage "$6" 2>/dev/null; }
same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# The window manager's view of a window: allows WINDOW MINIMIZE|MAXIMIZE|...
allows() { [[ $(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS) == *_NET_WM_ACTION_$2* ]]; }
# fixed_size WINDOW [W H]: its minimum and maximum size are the same (and W x H).
fixed_size() {
    xprop -id "$1" WM_NORMAL_HINTS | awk -v want="${*:2}" '
        /minimum size/{min=$(NF-2)" "$NF} /maximum size/{max=$(NF-2)" "$NF}
        END{exit !(min != "" && min == max && (want == "" || min == want))}'
}
minimized() { [[ $(xprop -id "$1" _NET_WM_STATE) == *_NET_WM_STATE_HIDDEN* ]]; }
# Whether the window is the top of the stacking order among the managed ones.
on_top() { [ $(($(xprop -root _NET_CLIENT_LIST_STACKING | awk '{print $NF}'))) -eq $(($1)) ]; }
