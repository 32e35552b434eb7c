#!/usr/bin/env bash
# The font choice where Microsoft Sans Serif is installed, which Wine lacks: a face
# renamed to that family in a view of the prepared prefix. Too wide (DejaVu Sans), it is
# passed over for Tahoma in a grown layout; drawn to fit (Tahoma 12 % narrower), it is
# taken, MS Sans Serif not fitting, in the design's own layout (docs/fonts.md).
#   twin_face.sh BUILD_DIR [win10|win11]    (the Windows Wine reports; WINEPREFIX_BASE: the prefix)
set -euo pipefail
build=$(cd "$1" && pwd)
version=${2:-win10}
shots=$build/tools/qi_shots.exe
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
views=()
drop_views() {
    local view
    for view in "${views[@]}"; do prefix_drop "$view"; done
}
trap 'drop_views; e2e_cleanup' EXIT

# The stand-ins, named as the face every Windows has.
/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/twin_face.py" "$E2E_TMP"
start_x

# chosen STAND-IN: the font and layout scale the program chooses with it, in
# a view of the prefix of its own.
chosen() {
    export WINEPREFIX=${views[-1]}
    prefix_machine "$WINEPREFIX" "$version" 96 1
    cp "$E2E_TMP/$1.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    prefix_reg "$WINEPREFIX" Environment '"QT_FORCE_STDERR_LOGGING"="1"'
    timeout 180 wine "$shots" "$(winepath -w "$E2E_TMP/shots-$1")" 2>&1 | tr -d '\r' \
        | sed -n 's/^font \([^,]*\),.*layout scale \([0-9.]*\)$/\1 \2/p'
}
expect() {
    local got
    views+=("$(prefix_view "${WINEPREFIX_BASE:?}")")
    got=$(chosen "$1")
    check "under $version, with a $1 stand-in: $got (expected: $2)" [ "$got" = "$2" ]
}
expect wide "Tahoma 1.15"
expect fits "Microsoft Sans Serif 1.00"
finish
