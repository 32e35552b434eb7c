# Shared by the install tests: pass/fail bookkeeping and a scratch folder that
# goes away with the test.
set -euo pipefail

BUILD=${1:?usage: $0 BUILD_DIR}
APP_ID=example.quorvath.Itemlist
ICON_SIZES=(16 32 48 64 128 256)
FAILS=0
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
finish() { [ "$FAILS" -eq 0 ] && { echo "all passed"; exit 0; }; echo "$FAILS failed"; exit 1; }

# The program should start from the given file and stay up, waiting on its
# intro window, until the time runs out: 124 is timeout's "still running".
runs_for_two_seconds() {
    local code=0
    QT_QPA_PLATFORM=offscreen timeout 2 "$1" >/dev/null 2>&1 || code=$?
    [ "$code" = 124 ]
}

# Ids of the PNG: "WxH".
png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
