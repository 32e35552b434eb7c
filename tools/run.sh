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
shot=$QI_ROOT/build/screenshots/startup.png
mkdir -p "$(dirname "$shot")"
# Without a session (as root on a bare machine) there is no runtime folder,
# and Qt warns before it makes one of its own: give it a private one.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$runtime} QT_QPA_PLATFORM=xcb APP shot

# On the X server xvfb-run starts (and ends once this returns): wait (at most
# 20 s) for the program's first window to be mapped, let it paint, take the
# screen. The program is stopped before its X server goes, which it would
# report as a broken connection; it ends on SIGTERM, or is killed after 10 s.
screenshot() {
    "$APP" &
    local app=$! status=0
    for _ in $(seq 200); do
        xdotool search --onlyvisible --pid "$app" >/dev/null 2>&1 && break
        kill -0 "$app" 2>/dev/null || { echo "The program ended before showing a window." >&2; return 1; }
        sleep 0.1
    done
    sleep 0.5
    import -window root "$shot" || status=$?
    kill "$app" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    return $status
}
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c "$(declare -f screenshot); screenshot"
echo "Screenshot: $shot"
