#!/usr/bin/env bash
# Quick start, command 2: set up, build and run the whole test suite, then
# build it again with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into a second build directory and run it there too; between
# the two, the Windows build under Wine and two releases compared byte for
# byte. QI_NO_WINDOWS=1, QI_NO_REPRODUCIBLE=1 and QI_NO_SANITIZE=1 skip those.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
qi_setup test
cd "$QI_BUILD"
ctest --output-on-failure -j "$(nproc)"

# The Windows build, cross-built and tested under Wine (QI_NO_WINDOWS=1
# skips it). The first run builds Qt for Windows into a cache (47 to 58
# minutes on two cores); later runs reuse it.
if [ "${QI_NO_WINDOWS:-0}" != 1 ]; then
    echo "== The Windows build under Wine =="
    bash "$QI_ROOT/tools/windows.sh" test
fi

# Two releases of the last commit, made apart, hold the same bytes
# (QI_NO_REPRODUCIBLE=1 skips it; with QI_NO_WINDOWS=1 only the Linux one).
if [ "${QI_NO_REPRODUCIBLE:-0}" != 1 ]; then
    echo "== Reproducible releases =="
    bash "$QI_ROOT/tests/release/reproducible.sh"
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

