#!/usr/bin/env bash
# Makes the README's picture of the main window (docs/main-window.png) by
# running the browsing test, which saves it once an item is shown.
#   bash tests/e2e/make_screenshot.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/docs"
QI_APP=$build/src/app/QuorvathItemlist QI_SCREENSHOT=$root/docs/main-window.png \
    dbus-run-session -- /usr/bin/python3 "$root/tests/e2e/e2e_browse.py" 2>/dev/null | tail -n 2
