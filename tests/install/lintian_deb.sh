#!/usr/bin/env bash
# Debian's package checker on cpack's .deb (built into a scratch folder, the
# build tree is left alone): no error and no warning. Its overrides, if any,
# ship in the package with their reasons.
source "$(dirname "$0")/common.sh"

cpack --config "$BUILD/CPackConfig.cmake" -B "$TMP/pkg" >"$TMP/cpack.log" 2>&1 \
    || { cat "$TMP/cpack.log"; fail "cpack"; finish; }
debs=("$TMP"/pkg/*.deb)
[ -f "${debs[0]}" ] || { cat "$TMP/cpack.log"; fail "cpack made no .deb"; finish; }

code=0
lintian --no-cfg "${debs[0]}" >"$TMP/lintian.out" 2>&1 || code=$?
cat "$TMP/lintian.out"
check "lintian ran (exit $code)" [ "$code" = 0 ]
check "lintian reports no error and no warning" sh -c '! grep -qE "^[EW]: " "$0"' "$TMP/lintian.out"
finish
