#!/usr/bin/env bash
# Quick start, command 2: set up, build and run the whole test suite, then
# build it again with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into a second build directory and run it there too; between
# the two, the Windows build under Wine (with what UI Automation reads of
# it) and two releases compared byte for byte. On Debian 12 the suite runs a
# second time on Debian 13, in a root of its own (tools/debian13.sh), where
# the Windows build is made too. QI_NO_WINDOWS=1, QI_NO_REPRODUCIBLE=1,
# QI_NO_SANITIZE=1 and QI_NO_DEBIAN13=1 skip those.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# Each part says how long it took.
QI_PART_START=$SECONDS
qi_part_took() { echo "-- $1 took $((SECONDS - QI_PART_START)) s"; QI_PART_START=$SECONDS; }
qi_install_missing "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}"

# Whether the Windows part runs: on Debian 12 its toolchain is in the Debian
# 13 root, which needs root.
if [ "${QI_NO_WINDOWS:-0}" != 1 ] && [ "$(qi_release)" = "debian 12" ] \
   && { [ "${QI_NO_DEBIAN13:-0}" = 1 ] || [ "$(id -u)" -ne 0 ]; }; then
    echo "warning: on Debian 12 the Windows build needs the Debian 13 root (root, and QI_NO_DEBIAN13 unset); skipped" >&2
    export QI_NO_WINDOWS=1
fi
# Qt for Windows is built once into a cache. On a new machine that build is
# the longest part, so it starts here, in the background and at the lowest
# priority, and the Linux suites run beside it; once built, this takes a
# second. Its packages (on Debian 12 the root, made here if new) are
# installed first: nothing else installs while the suites run.
if [ "${QI_NO_WINDOWS:-0}" != 1 ]; then
    if [ "$(qi_release)" = "debian 12" ]; then bash "$QI_ROOT/tools/debian13.sh" windows true
    else qi_install_missing $(bash "$QI_ROOT/tools/windows.sh" packages); fi
    mkdir -p "$QI_BUILD"
    nice -n 19 bash "$QI_ROOT/tools/windows.sh" qt >"$QI_BUILD/windows-qt.log" 2>&1 &
    QI_WINDOWS_QT_JOB=$!
    qi_part_took "Preparing the Windows toolchain"
fi

qi_setup test
cd "$QI_BUILD"
ctest --output-on-failure -j "$(nproc)"
qi_part_took "The build and the suite"

# Debian 13 beside Debian 12: the same suite, Linux part only, in the root
# tools/debian13.sh makes once (about seven minutes and 1.7 GB the first
# time). On Debian 13 itself the suite above was that run; inside the root,
# test.sh is on Debian 13 and goes no further.
if [ "${QI_NO_DEBIAN13:-0}" != 1 ] && [ "$(qi_release)" = "debian 12" ]; then
    echo "== The suite on Debian 13 =="
    if [ "$(id -u)" -ne 0 ]; then
        echo "warning: the Debian 13 run needs root (it mounts its root's file systems); skipped" >&2
    else
        bash "$QI_ROOT/tools/debian13.sh" test
    fi
    qi_part_took "The suite on Debian 13"
fi

# The Windows build, cross-built and tested under Wine 10, with what UI
# Automation reads of it (QI_NO_WINDOWS=1 skips it).
if [ "${QI_NO_WINDOWS:-0}" != 1 ]; then
    echo "== The Windows build under Wine =="
    wait "$QI_WINDOWS_QT_JOB" || { tail -40 "$QI_BUILD/windows-qt.log"; echo "Qt for Windows could not be built" >&2; exit 1; }
    cat "$QI_BUILD/windows-qt.log"
    bash "$QI_ROOT/tools/windows.sh" test
    qi_part_took "The Windows build under Wine"
fi

# Two releases of the last commit, made apart, hold the same bytes
# (QI_NO_REPRODUCIBLE=1 skips it; with QI_NO_WINDOWS=1 only the Linux one).
if [ "${QI_NO_REPRODUCIBLE:-0}" != 1 ]; then
    echo "== Reproducible releases =="
    bash "$QI_ROOT/tests/release/reproducible.sh"
    qi_part_took "Reproducible releases"
fi
cd "$QI_BUILD"

[ "${QI_NO_SANITIZE:-0}" = 1 ] && exit 0
echo "== The same suite under AddressSanitizer, UBSan and LeakSanitizer =="
QI_ASAN_BUILD=${QI_ASAN_BUILD_DIR:-$QI_BUILD-asan}
qi_configure_and_build "$QI_ASAN_BUILD" -DQI_SANITIZE=ON
# Any finding fails its test: the process reports and exits non-zero (no
# abort, which would send Qt Test after a debugger for a stack dump).
# Suppressions cover leaks inside system libraries only.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_init_order=1:detect_stack_use_after_return=1
export QTEST_DISABLE_STACK_DUMP=1
export LSAN_OPTIONS=suppressions=$QI_ROOT/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$QI_ROOT/tools/ubsan.supp
# Every in-process test, the random session shorter (sanitized code runs
# about three times slower), and the sandbox session, which runs the real
# program on an X server. Left out, as they exercise no other code: the
# second runs at scale 2, the packaging checks and the slow end-to-end
# sessions through the X server and the accessibility bus.
export QI_STRESS_ACTIONS=${QI_STRESS_ACTIONS:-5000}
cd "$QI_ASAN_BUILD"
ctest --output-on-failure -j "$(nproc)" \
      -E '_scale2$|^(e2e_|atspi_|install_|versionresource|catalog_links)'
qi_part_took "The sanitized suite"
