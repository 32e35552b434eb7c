#!/usr/bin/env bash
# Quick start, command 1: set up, build and start Quorvath Itemlist.
# Without a display it runs the program on a virtual X display, saves a
# screenshot once the first window is up, prints its path and exits.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
qi_install_missing "${QI_RUN_PACKAGES[@]}" ccache
cd "$QI_ROOT"
cmake --preset dev >/dev/null
cmake --build --preset dev --target QuorvathItemlist

APP=$QI_ROOT/build/src/app/QuorvathItemlist
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$APP"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running on a virtual X display (Xvfb) to take a screenshot."
shots=$QI_ROOT/build/screenshots
mkdir -p "$shots"
shot=$shots/startup.png

# A free display number: the first without a lock file.
n=90
while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app= runtime=
# The program is stopped first, and its X server only once it has ended: an X server
# that goes away under a running program makes it report a broken connection.
# It ends on SIGTERM; one that has not ended after 10 s is killed.
cleanup() {
    if [ -n "$app" ]; then
        kill "$app" 2>/dev/null || true
        for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    [ -z "$runtime" ] || rm -rf "$runtime"
}
trap cleanup EXIT

export DISPLAY=:$n QT_QPA_PLATFORM=xcb
# Without a session (as root on a bare machine) there is no runtime folder,
# and Qt warns before it makes one of its own: give it a private one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d)
    export XDG_RUNTIME_DIR=$runtime
fi
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$APP" &
app=$!
# Wait (at most 20 s) for the program's first window to be mapped.
for _ in $(seq 200); do
    xdotool search --onlyvisible --pid "$app" >/dev/null 2>&1 && break
    kill -0 "$app" 2>/dev/null || { echo "The program ended before showing a window." >&2; exit 1; }
    sleep 0.1
done
sleep 0.5   # let it paint
import -window root "$shot"
echo "Screenshot: $shot"
