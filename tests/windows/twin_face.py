"""Stand-ins for Microsoft Sans Serif, written into the folder given:
wide.ttf, DejaVu Sans renamed; fits.ttf, Tahoma 12 % narrower, renamed."""
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
