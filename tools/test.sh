#!/usr/bin/env bash
# Command 2, and CI (.ci/run): every build and its tests, each part one CMake preset or one
# script, in two lanes at once (docs/testing.md): dev, then windows; beside it debian13,
# asan and reproducible. JUnit XML and each part's time and result go to test-results/.
# QI_NO_DEBIAN13=1, QI_NO_WINDOWS=1, QI_NO_REPRODUCIBLE=1 and QI_NO_SANITIZE=1 skip parts.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
qi_install_missing "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}"
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)} CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
RESULTS=$QI_ROOT/test-results
rm -rf "$RESULTS"
mkdir -p "$RESULTS"
cd "$QI_ROOT"
want() { local skip=QI_NO_$1; [ "${!skip:-0}" != 1 ]; }

# On Debian 12, Debian 13 and the Windows toolchain come from the root, which needs root.
DEBIAN12=$([ "$(qi_release)" = "debian 12" ] && echo 1 || echo 0)
if [ "$DEBIAN12" = 1 ] && want DEBIAN13 && [ "$(id -u)" -ne 0 ]; then
    echo "warning: the Debian 13 root needs root (it mounts its file systems): Debian 13 and Windows skipped" >&2
    export QI_NO_DEBIAN13=1
fi
[ "$DEBIAN12" = 1 ] || export QI_NO_DEBIAN13=1
if [ "$DEBIAN12" = 1 ] && [ "${QI_NO_DEBIAN13:-0}" = 1 ]; then export QI_NO_WINDOWS=1; fi

# qi_part NAME CMD...: one part; its time, the processor time it and its children took, and
# its result, in test-results/parts.
qi_part() {
    local name=$1 started=$SECONDS status=0 cpu TIMEFORMAT='%U %S'; shift
    echo "== $name: $* =="
    { time { "$@" 2>&4 || status=$?; } } 4>&2 2>"$RESULTS/$name.cpu"
    cpu=$(awk '{ printf "%d", $1 + $2 }' "$RESULTS/$name.cpu")
    echo "-- $name took $((SECONDS - started)) s$([ $status = 0 ] || echo ", FAILED ($status)")"
    echo "$name $((SECONDS - started)) s (processor $cpu s) $([ $status = 0 ] && echo passed || echo FAILED)" >>"$RESULTS/parts"
}

# Everything is installed before the suites run. Qt for Windows, built once into the cache,
# is the longest part on a new machine: it starts here, in the background at the lowest
# priority (once built, this takes a second).
started=$SECONDS
if want DEBIAN13; then bash tools/debian13.sh root "$(want WINDOWS && echo windows)"; fi
if want WINDOWS; then
    [ "$DEBIAN12" = 1 ] || qi_install_missing $(bash tools/windows.sh packages)
    if [ "$DEBIAN12" = 1 ]; then qt=(bash tools/debian13.sh windows-qt); else qt=(bash tools/windows.sh qt); fi
    nice -n 19 "${qt[@]}" >"$RESULTS/windows-qt.log" 2>&1 &
    qt_job=$!
fi
echo "-- Preparing took $((SECONDS - started)) s"

(
    if want DEBIAN13; then qi_part debian13 bash tools/debian13.sh run cmake --workflow --preset debian13; fi
    if want SANITIZE; then qi_part asan cmake --workflow --preset asan; fi
    # Last: its Windows half waits for Qt for Windows, if that is still being built.
    if want REPRODUCIBLE; then qi_part reproducible bash tests/release/reproducible.sh; fi
) >"$RESULTS/lane.log" 2>&1 &
lane=$!

qi_part dev cmake --workflow --preset dev
if want WINDOWS; then
    wait "$qt_job" || echo "Qt for Windows could not be built" >&2
    tail -40 "$RESULTS/windows-qt.log"
    qi_part windows qi_windows_toolchain bash tools/windows.sh test
fi
wait "$lane" || true
cat "$RESULTS/lane.log"

echo "== The parts (logs and JUnit XML in test-results/) =="
cat "$RESULTS/parts"
! grep -q FAILED "$RESULTS/parts"
