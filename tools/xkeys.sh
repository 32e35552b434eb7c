#!/usr/bin/env bash
# Sourced (needs DISPLAY): keys and text sent through the X server only once
# `xdotool getwindowfocus` names the target window. XTEST events go wherever the
# focus is, and `windowactivate --sync` can return before it moves (docs/testing.md).
#   wait_focus WINDOW [TENTHS]   waits (5 s unless told) until WINDOW has the focus
#   focus_window WINDOW          activates WINDOW (raises it) and waits for the focus
#   send_keys WINDOW KEY... / type_text WINDOW TEXT   focus_window, then the keys or text
# Each returns non-zero, saying which window has the focus instead, when the wait runs out.

# Whether WINDOW (an id in decimal or hex) has the input focus. Without -f,
# getwindowfocus names the client window that holds the focused one.
has_focus() {
    local focused
    focused=$(xdotool getwindowfocus 2>/dev/null) || return 1
    [ -n "$focused" ] && [ $((focused)) -eq $(($1)) ]
}

focus_report() {
    local focused
    focused=$(xdotool getwindowfocus 2>/dev/null) || focused=none
    echo "window $1 ('$(xdotool getwindowname "$1" 2>/dev/null)') did not get the X input focus" \
         "within $(($2 / 10)).$(($2 % 10)) s; it is on $focused ('$(xdotool getwindowname "$focused" 2>/dev/null)')"
}

wait_focus() {
    local tenths=${2:-50} i
    for ((i = 0; i < tenths * 2; i++)); do
        has_focus "$1" && return 0
        sleep 0.05
    done
    has_focus "$1" && return 0
    focus_report "$1" "$tenths"
    return 1
}

# Without a window manager (no _NET_ACTIVE_WINDOW), the focus is set directly.
# A request made while the window was still being mapped can be dropped:
# it is made again after a second.
request_focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true; }
focus_window() {
    request_focus "$1"
    wait_focus "$1" 10 >/dev/null && return 0
    request_focus "$1"
    wait_focus "$1" 40
}

send_keys() { focus_window "$1" && xdotool key --clearmodifiers "${@:2}"; }
type_text() { focus_window "$1" && xdotool type --clearmodifiers --delay 5 "$2"; }
