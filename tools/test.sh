#!/usr/bin/env bash
# Quick start, command 2: set up, build and run the whole test suite, then
# build it again with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into a second build directory and run it there too; between
# the two, the Windows build under Wine (and, in the Debian 13 root, what UI
# Automation reads of it under Wine 10) and two releases compared byte for
# byte. On Debian 12 the suite runs a second time on Debian 13, in a root of
# its own (tools/debian13.sh). QI_NO_WINDOWS=1, QI_NO_REPRODUCIBLE=1,
# QI_NO_SANITIZE=1 and QI_NO_DEBIAN13=1 skip those.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# Each part says how long it took.
QI_PART_START=$SECONDS
qi_part_took() { echo "-- $1 took $((SECONDS - QI_PART_START)) s"; QI_PART_START=$SECONDS; }
qi_setup test
cd "$QI_BUILD"
ctest --output-on-failure -j "$(nproc)"
qi_part_took "The build and the suite"

# Debian 13 beside Debian 12: the same suite, Linux part only, in the root
# tools/debian13.sh makes once (about seven minutes and 1.7 GB the first
# time). On Debian 13 itself the suite above was that run; inside the root,
# test.sh is on Debian 13 and goes no further.
if [ "${QI_NO_DEBIAN13:-0}" != 1 ] && [ "$(. /etc/os-release && echo "$ID ${VERSION_ID:-}")" = "debian 12" ]; then
    echo "== The suite on Debian 13 =="
    if [ "$(id -u)" -ne 0 ]; then
        echo "warning: the Debian 13 run needs root (it mounts its root's file systems); skipped" >&2
    else
        bash "$QI_ROOT/tools/debian13.sh" test
    fi
    qi_part_took "The suite on Debian 13"
fi

# The Windows build, cross-built and tested under Wine (QI_NO_WINDOWS=1
# skips it). The first run builds Qt for Windows into a cache (47 to 58
# minutes on two cores); later runs reuse it. Its toolchain (Debian 12's Qt
# source, MinGW-w64 and Wine) is made and tested on Debian 12 only so far:
# elsewhere the part is left out, and says so.
if [ "${QI_NO_WINDOWS:-0}" != 1 ] && [ "$(. /etc/os-release && echo "$ID ${VERSION_ID:-}")" != "debian 12" ]; then
    echo "warning: the Windows build is made and tested on Debian 12 only; skipped here" >&2
    export QI_NO_WINDOWS=1
fi
if [ "${QI_NO_WINDOWS:-0}" != 1 ]; then
    echo "== The Windows build under Wine =="
    bash "$QI_ROOT/tools/windows.sh" test
    qi_part_took "The Windows build under Wine"
    # What a Windows screen reader finds in it through UI Automation, read
    # under Wine 10 in the Debian 13 root (under this machine's Wine 8 a UI
    # Automation client deadlocks the program).
    uia_exe=${QI_WINDOWS_BUILD_DIR:-$QI_ROOT/build-windows}/QuorvathItemlist.exe
    if [ "${QI_NO_DEBIAN13:-0}" = 1 ] || [ "$(id -u)" -ne 0 ]; then
        echo "warning: the UI Automation test needs the Debian 13 root (root, and QI_NO_DEBIAN13 unset); skipped" >&2
    elif [[ "$(realpath "$uia_exe")" != "$QI_ROOT"/* ]]; then
        echo "warning: the UI Automation test sees only the checkout, and $uia_exe is outside it; skipped" >&2
    else
        bash "$QI_ROOT/tools/debian13.sh" windows bash tests/windows/uia_wine.sh "$(realpath "$uia_exe")"
    fi
    qi_part_took "UI Automation under Wine 10"
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
