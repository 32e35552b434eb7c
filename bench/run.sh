#!/usr/bin/env bash
# The benchmarks, each beside the bare Qt baseline in the same run and reported as a ratio
# (absolute times drift on a shared machine; docs/performance.md):
#   bash bench/run.sh                  about three minutes; QI_BENCH_RUNS=40 for more runs
# Builds into build-bench/ (QI_BENCH_BUILD_DIR) and runs on an X display and a session bus
# of its own, without a window manager, as a desktop would start the program.
source "$(dirname "${BASH_SOURCE[0]}")/../tools/setup.sh"
qi_install_missing "${QI_RUN_PACKAGES[@]}" libbenchmark-dev libxcb-damage0-dev dbus dbus-x11
B=${QI_BENCH_BUILD_DIR:-$QI_ROOT/build-bench}
cmake -S "$QI_ROOT" -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$B" -j "$(nproc)" --target QuorvathItemlist qi_baseline qi_firstpaint qi_flowbench qi_browsebench

RUNS=${QI_BENCH_RUNS:-21}
APP=$B/src/app/QuorvathItemlist
# The intro's caption carries the version, which the program knows.
VERSION=$("$APP" --version | awk '{print $NF}')
TMP=$(mktemp -d)
# Xvfb picks a free display itself and names it once it takes connections (-displayfd).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TMP/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 300); do [ -s "$TMP/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n 1 "$TMP/display")
eval "$(dbus-launch --sh-syntax)"
trap 'kill "$XVFB_PID" "$DBUS_SESSION_BUS_PID" 2>/dev/null; rm -rf "$TMP"' EXIT
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$TMP
unset QT_SCALE_FACTOR

# Failed runs print -1 and are left out.
median() { grep -v '^-' | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
field() { sed -n "s/.*$1=\([-0-9.]*\).*/\1/p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
verdict() { awk -v v="$1" -v g="$2" 'BEGIN {print (v <= g) ? "met" : "MISSED"}'; }

echo "== Start-up: spawn to the first paint of the window, $RUNS runs each, interleaved =="
for ((i = 0; i < RUNS; i++)); do
    "$B/bench/qi_firstpaint" --caption "Quorvath Itemlist for Windows Version ${VERSION}A" -- "$APP" >>"$TMP/app.txt" 2>/dev/null || true
    "$B/bench/qi_firstpaint" --caption "Quorvath Baseline" --wait -- "$B/bench/qi_baseline" >>"$TMP/base.txt" 2>/dev/null || true
done
app_ms=$(field first_paint_ms <"$TMP/app.txt" | median)
base_ms=$(field first_paint_ms <"$TMP/base.txt" | median)
base_rss=$(field maxrss_kb <"$TMP/base.txt" | median)
r=$(ratio "$app_ms" "$base_ms")
startup_ratio=$r
echo "program  $app_ms ms   baseline  $base_ms ms   ratio $r (goal <= 1.10: $(verdict "$r" 1.10))"

echo "== \"Okay\" to the main window painted with the Armor list, $RUNS processes each (cold) =="
for ((i = 0; i < RUNS; i++)); do
    "$B/bench/qi_flowbench" okay >>"$TMP/okay.txt" 2>/dev/null || true
    "$B/bench/qi_flowbench" baseline >>"$TMP/show.txt" 2>/dev/null || true
    "$B/bench/qi_flowbench" prebuilt >>"$TMP/floor.txt" 2>/dev/null || true
done
okay_ms=$(field okay_ms <"$TMP/okay.txt" | median)
show_ms=$(field baseline_show_paint_ms <"$TMP/show.txt" | median)
floor_ms=$(field prebuilt_show_paint_ms <"$TMP/floor.txt" | median)
"$B/bench/qi_flowbench" okay 21 2>/dev/null | grep -v cold >"$TMP/okaywarm.txt" || true
warm_ms=$(field okay_ms <"$TMP/okaywarm.txt" | median)
okay_ratio=$(ratio "$okay_ms" "$show_ms")
echo "Okay     $okay_ms ms   baseline cold first window shown and painted $show_ms ms   ratio $okay_ratio (goal <= 0.50: $(verdict "$okay_ratio" 0.5))"
echo "         warm (the same process again, 20 times): $warm_ms ms"
echo "         the floor: an empty window of its size with menu and status bar, built ahead the same way: $floor_ms ms, ratio $(ratio "$floor_ms" "$show_ms")"

echo "== Peak resident memory with all twelve windows opened once =="
for ((i = 0; i < 5; i++)); do
    "$B/bench/qi_firstpaint" --wait -- "$B/bench/qi_flowbench" allwindows >>"$TMP/rss.txt" 2>/dev/null || true
    "$B/bench/qi_firstpaint" --wait -- "$B/bench/qi_flowbench" allwindowsfloor >>"$TMP/rssfloor.txt" 2>/dev/null || true
done
grep -q 'windows_open=11' "$TMP/rss.txt" || echo "warning: not all windows opened: $(head -n 2 "$TMP/rss.txt")"
app_rss=$(field maxrss_kb <"$TMP/rss.txt" | median)
extra=$((app_rss - base_rss))
extra_mib=$(awk -v e="$extra" 'BEGIN {printf "%.1f", e / 1024}')
echo "program  $((app_rss / 1024)) MiB ($app_rss kB)   baseline $((base_rss / 1024)) MiB ($base_rss kB)   extra $extra_mib MiB (goal <= 6 MiB: $(verdict "$extra" 6144))"
floor_rss=$(field maxrss_kb <"$TMP/rssfloor.txt" | median)
floor_mib=$(awk -v e="$((floor_rss - base_rss))" 'BEGIN {printf "%.1f", e / 1024}')
echo "         the floor: the same windows of bare Qt widgets of the same kinds and sizes: $((floor_rss / 1024)) MiB ($floor_rss kB), baseline + $floor_mib MiB"

echo "== Browsing handlers with their repaint (Google Benchmark, offscreen; medians of 5 repetitions) =="
# Console lines: NAME TIME UNIT CPU UNIT ITERATIONS COUNTERS...
QT_QPA_PLATFORM=offscreen "$B/bench/qi_browsebench" --benchmark_color=false 2>/dev/null \
    | awk '/_median / {t = $2; if ($3 == "us") t /= 1000; else if ($3 == "ns") t /= 1e6; print $1, t}' >"$TMP/browse.txt" || true
echo "(the same on the X server: QT_QPA_PLATFORM=xcb $B/bench/qi_browsebench)"
awk '/^BaselineLabel/ {printf "baseline label text change + repaint: %.3f ms\n", $2}
     /^PlainLabels/ {printf "six plain QLabels take a row'"'"'s texts + repaint (the floor): %.3f ms\n", $2}' "$TMP/browse.txt"
awk '!/^(BaselineLabel|PlainLabels)/ {
        split($1, p, "/"); t = p[2]; ms = $2
        if (!(p[1] in worst) || ms > worst[p[1]]) { worst[p[1]] = ms; wt[p[1]] = t }
        line[p[1]] = line[p[1]] sprintf(" %d:%.3f", t, ms)
      }
      END {
        for (k in line) {
            printf "%-16s ms by tab:%s\n", k, line[k]
            printf "%-16s slowest tab %s: %.3f ms\n", k, wt[k], worst[k]
        }
      }' "$TMP/browse.txt"
slowest() { awk -v k="$1" '{split($1, p, "/")} p[1] == k && $2 > w {w = $2} END {printf "%.3f", w}' "$TMP/browse.txt"; }
one() { awk -v k="$1" 'index($1, k "/") == 1 {printf "%.3f", $2}' "$TMP/browse.txt"; }
click=$(slowest ItemClick)
label=$(one BaselineLabel)
plain=$(one PlainLabels)
tabswitch=$(slowest LoadItems)
click_ratio=$(ratio "$click" "$label")

# Every goal beside what this run measured.
echo
echo "== Summary =="
printf '%-44s %-30s %-26s %s\n' "What" "Measured" "Goal" "Verdict"
printf '%-44s %-30s %-26s %s\n' "Start-up, spawn to the intro's first paint" "$startup_ratio x baseline" "<= 1.10 x baseline" "$(verdict "$startup_ratio" 1.10)"
printf '%-44s %-30s %-26s %s\n' "\"Okay\" to the main window painted" "$okay_ratio x baseline ($okay_ms ms)" "<= 0.50 x baseline" "$(verdict "$okay_ratio" 0.5)"
printf '%-44s %-30s %-26s %s\n' "  an empty window built ahead, shown" "$(ratio "$floor_ms" "$show_ms") x baseline ($floor_ms ms)" "(the floor, for reading)" "-"
printf '%-44s %-30s %-26s %s\n' "Item click + repaint, slowest tab" "$click ms" "<= 0.1 ms" "$(verdict "$click" 0.1)"
printf '%-44s %-30s %-26s %s\n' "  the same against a bare label" "$click_ratio x label ($label ms)" "<= 6 x label" "$(verdict "$click_ratio" 6)"
printf '%-44s %-30s %-26s %s\n' "  the same against six plain QLabels" "$(ratio "$click" "$plain") x ($plain ms)" "(the floor, for reading)" "-"
printf '%-44s %-30s %-26s %s\n' "Peak resident memory, all twelve windows" "baseline + $extra_mib MiB" "<= baseline + 6 MiB" "$(verdict "$extra" 6144)"
printf '%-44s %-30s %-26s %s\n' "  the same windows of bare Qt widgets" "baseline + $floor_mib MiB" "(the floor, for reading)" "-"
printf '%-44s %-30s %-26s %s\n' "Tab switch (LoadItems + repaint), slowest" "$tabswitch ms" "<= 1 ms" "$(verdict "$tabswitch" 1)"
