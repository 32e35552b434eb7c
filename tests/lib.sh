#!/usr/bin/env bash
# Shared by the shell tests, sourced: pass/fail bookkeeping and a scratch folder ($TMP),
# removed at exit. The tests on an X display use tests/e2e/desktop.py instead.
set -euo pipefail
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
FAILS=0

fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
# not CMD...: CMD fails (for check, which runs a command).
not() { ! "$@"; }
finish() {
    [ "$FAILS" -eq 0 ] && { echo "all passed"; exit 0; }
    echo "$FAILS failed"
    exit 1
}
