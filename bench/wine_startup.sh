#!/usr/bin/env bash
# Windows builds started under Wine in turns, timed to the intro on screen and
# from Enter on Okay to the main window; the median of each over QI_BENCH_RUNS
# (7). How to run it, and the figures: docs/windows.md.
#   bash bench/wine_startup.sh A.exe [B.exe...]
source "$(dirname "${BASH_SOURCE[0]}")/../tools/setup.sh"
qi_wine_prefix "${WINEPREFIX:-}"
# The intro's caption, which names the version, as the Windows build wrote it.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$QI_ROOT/build-windows/intro-caption.txt")}
QI_APP=/bin/true source "$QI_ROOT/tests/e2e/lib.sh"
# A view of the prefix, thrown away after.
source "$QI_ROOT/tests/windows/wineprefix.sh"
WINEPREFIX=$(prefix_view "$WINEPREFIX")
export WINEPREFIX
trap 'prefix_drop "$WINEPREFIX"; e2e_cleanup' EXIT
start_display
RUNS=${QI_BENCH_RUNS:-7}
now() { date +%s%3N; }
# Until a window so named is on screen (60 s at most): its id. Polled every
# 10 ms, finer than lib.sh's wait_for, for the timing.
appears() {
    local id i
    for ((i = 0; i < 6000; i++)); do
        id=$(window_named "$1") && [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.01
    done
    return 1
}
median() {
    sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# One warm-up start each (Wine's own start-up, the files into the page cache).
for exe in "$@"; do
    wine "$exe" 2>/dev/null &
    pid=$!
    appears "$INTRO" >/dev/null
    wineserver -k
    wait $pid 2>/dev/null || true
done
declare -A intro okay
for ((run = 1; run <= RUNS; run++)); do
    for exe in "$@"; do
        begun=$(now)
        wine "$exe" 2>/dev/null &
        pid=$!
        id=$(appears "$INTRO") || { echo "no intro window from $exe" >&2; exit 1; }
        intro[$exe]+="$(($(now) - begun)) "
        focus_window "$id" >/dev/null
        begun=$(now)
        xdotool key --clearmodifiers Return
        appears "$MAIN" >/dev/null || { echo "no main window from $exe" >&2; exit 1; }
        okay[$exe]+="$(($(now) - begun)) "
        wineserver -k
        wait $pid 2>/dev/null || true
    done
done
for exe in "$@"; do
    printf '%s (%s bytes)\n  to the intro: median %s ms (%s)\n  Okay to the main window: median %s ms (%s)\n' \
        "$exe" "$(stat -c %s "$exe")" \
        "$(tr ' ' '\n' <<<"${intro[$exe]}" | grep . | median)" "${intro[$exe]% }" \
        "$(tr ' ' '\n' <<<"${okay[$exe]}" | grep . | median)" "${okay[$exe]% }"
done
