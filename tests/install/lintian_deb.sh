#!/usr/bin/env bash
# Debian's package checker on cpack's .deb (made by the test install_package
# into PACKAGE_DIR): no error and no warning. Its overrides, if any, ship in
# the package with their reasons.
#   lintian_deb.sh BUILD_DIR PACKAGE_DIR
source "$(dirname "$0")/common.sh"

debs=("${2:?usage: $0 BUILD_DIR PACKAGE_DIR}"/*.deb)
[ -f "${debs[0]}" ] || { fail "no .deb in $2"; finish; }

code=0
lintian --no-cfg "${debs[0]}" >"$TMP/lintian.out" 2>&1 || code=$?
cat "$TMP/lintian.out"
check "lintian ran (exit $code)" [ "$code" = 0 ]
check "lintian reports no error and no warning" not grep -qE "^[EW]: " "$TMP/lintian.out"
finish
