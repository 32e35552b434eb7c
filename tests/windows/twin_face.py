"""The font choice where Microsoft Sans Serif is installed, which Wine lacks: a face
renamed to that family in a view of the prepared prefix. Too wide (DejaVu Sans), it is
passed over for Tahoma in a grown layout; drawn to fit (Tahoma 12 % narrower), it is
taken, MS Sans Serif not fitting, in the design's own layout (docs/fonts.md).
    twin_face.py BUILD_DIR [win10|win11]    (the Windows Wine reports; WINEPREFIX_BASE: the prefix)
"""
import atexit
import os
import re
import shutil
import subprocess
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop as d
import wineprefix

# Each stand-in and what the program chooses with it: the font and the layout scale.
EXPECTED = [("wide", "Tahoma 1.15"), ("fits", "Microsoft Sans Serif 1.00")]


def named(font, path):
    """The font saved at `path`, named as the face every Windows has."""
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


def stand_ins(folder):
    """wide.ttf, DejaVu Sans renamed; fits.ttf, Tahoma 12 % narrower, renamed."""
    named(TTFont('/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'), folder + '/wide.ttf')
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
    named(font, folder + '/fits.ttf')


def chosen(stand_in):
    """The font and layout scale the program chooses with the stand-in, in a view of
    the prefix of its own."""
    view = wineprefix.make_view(base)
    atexit.register(wineprefix.drop, view)
    os.environ["WINEPREFIX"] = view
    wineprefix.machine(view, version, 96, True)
    shutil.copy(os.path.join(d.TMP, f"{stand_in}.ttf"), os.path.join(view, "drive_c", "windows", "Fonts"))
    wineprefix.set_reg(view, "Environment", {"QT_FORCE_STDERR_LOGGING": "1"})
    folder = d.out("winepath", "-w", os.path.join(d.TMP, f"shots-{stand_in}"))
    said = subprocess.run(["timeout", "180", "wine", shots, folder], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, errors="replace").stdout.replace("\r", "")
    found = re.finditer(r"^font ([^,\n]*),.*layout scale ([0-9.]*)$", said, re.M)
    return "\n".join(f"{m[1]} {m[2]}" for m in found)


build = os.path.abspath(sys.argv[1])
version = sys.argv[2] if len(sys.argv) > 2 else "win10"
shots = os.path.join(build, "tools", "qi_shots.exe")
base = os.environ.get("WINEPREFIX_BASE") or sys.exit("WINEPREFIX_BASE is not set")
stand_ins(d.TMP)
d.start_x()
for stand_in, expected in EXPECTED:
    got = chosen(stand_in)
    d.check(f"under {version}, with a {stand_in} stand-in: {got} (expected: {expected})", got == expected)
d.finish()
