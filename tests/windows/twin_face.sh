#!/usr/bin/env bash
# The font choice on a Windows machine that has Microsoft Sans Serif, which
# Wine has not: in a view of the prepared prefix, a face renamed to that
# family. Too wide for the design's boxes (DejaVu Sans), it is passed over
# for the message-box face in a grown layout, as without it; drawn to fit
# them (Tahoma 12 % narrower), it is taken after MS Sans Serif, which does
# not fit, and before Tahoma, in the design's own layout.
# The style's metrics take part in the choice, so Windows 10 and 11 must
# choose alike.
#   twin_face.sh BUILD_DIR [VERSION]   (WINEPREFIX_BASE: the prepared prefix;
#                                      VERSION: the Windows Wine reports, win10
#                                      unless told)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/xvfb.sh"
build=$(cd "$1" && pwd)
version=${2:-win10}
shots=$build/tools/qi_shots.exe
work=$(mktemp -d)
views=()
cleanup() {
    local view
    for view in "${views[@]}"; do prefix_drop "$view"; done
    [ -n "${XVFB_PID:-}" ] && { kill "$XVFB_PID" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

# The stand-ins, named as the face every Windows has.
/usr/bin/python3 - "$work" <<'PY'
import sys
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram

def named(font, path):
    for n in font['name'].names:
        if n.nameID in (1, 4, 16):
            n.string = 'Microsoft Sans Serif'
        elif n.nameID == 6:
            n.string = 'MicrosoftSansSerif'
        elif n.nameID in (2, 17):
            n.string = 'Regular'
        elif n.nameID == 3:
            n.string = 'Microsoft Sans Serif stand-in'
    font.save(path)

named(TTFont('/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'), sys.argv[1] + '/wide.ttf')

# Tahoma's outlines and advances 12 % narrower, without its hinting, which
# was made for the old widths.
font = TTFont('/usr/share/wine/fonts/tahoma.ttf')
k = 0.88
glyf, hmtx = font['glyf'], font['hmtx']
for name in font.getGlyphOrder():
    glyph = glyf[name]
    if glyph.isComposite():
        for component in glyph.components:
            component.x = round(component.x * k)
    elif glyph.numberOfContours > 0:
        glyph.coordinates.scale((k, 1))
        glyph.coordinates.toInt()
    if hasattr(glyph, 'program'):
        glyph.program = ttProgram.Program()
        glyph.program.fromBytecode(b'')
    advance, lsb = hmtx[name]
    hmtx[name] = (round(advance * k), round(lsb * k))
for tag in ('fpgm', 'prep', 'cvt ', 'hdmx', 'LTSH', 'kern', 'VDMX'):
    if tag in font:
        del font[tag]
font['OS/2'].xAvgCharWidth = round(font['OS/2'].xAvgCharWidth * k)
named(font, sys.argv[1] + '/fits.ttf')
PY

xvfb_start "$work"

fails=0
# chosen STAND-IN: the font and layout scale the program chooses with it, in
# a view of the prefix of its own.
chosen() {
    export WINEPREFIX=${views[-1]}
    prefix_machine "$WINEPREFIX" "$version" 96 1
    cp "$work/$1.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    prefix_reg "$WINEPREFIX" Environment '"QT_FORCE_STDERR_LOGGING"="1"'
    timeout 180 wine "$shots" "$(winepath -w "$work/shots-$1")" 2>&1 | tr -d '\r' \
        | sed -n 's/^font \([^,]*\),.*layout scale \([0-9.]*\)$/\1 \2/p'
}
expect() {
    local got
    views+=("$(prefix_view "${WINEPREFIX_BASE:?}")")
    got=$(chosen "$1")
    if [ "$got" = "$2" ]; then echo "ok: under $version, with a $1 stand-in: $got"
    else echo "FAIL: under $version, with a $1 stand-in: got '$got', expected '$2'"; fails=$((fails + 1)); fi
}
expect wide "Tahoma 1.15"
expect fits "Microsoft Sans Serif 1.00"
[ $fails -eq 0 ]
