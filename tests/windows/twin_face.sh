#!/usr/bin/env bash
# The font choice on a Windows machine that has Microsoft Sans Serif, which
# Wine has not: in a view of the prepared prefix, a face renamed to that
# family. Too wide for the design's boxes (DejaVu Sans), it is passed over
# for the message-box face in a grown layout, as without it; drawn to fit
# them (Tahoma 12 % narrower), it is taken after MS Sans Serif, which does
# not fit, and before Tahoma, in the design's own layout.
#   twin_face.sh BUILD_DIR [VERSION]   (WINEPREFIX_BASE: the prepared prefix;
#                                      VERSION: the Windows Wine reports, win10 unless told)
set -euo pipefail
build=$(cd "$1" && pwd)
version=${2:-win10}
shots=$build/tools/qi_shots.exe
# lib.sh starts nothing here: qi_shots makes the program's windows itself.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$build/intro-caption.txt")}
QI_APP=/bin/true source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
views=()
drop_views() {
    local view
    for view in "${views[@]}"; do prefix_drop "$view"; done
}
trap 'drop_views; e2e_cleanup' EXIT

# The stand-ins, named as the face every Windows has.
/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/twin_face.py" "$E2E_TMP"
xvfb_start "$E2E_TMP" || exit 1
E2E_PIDS+=("$XVFB_PID")

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
