"""The title bar stays on the screen (docs/placement.md): on small screens and at
large scales every window's frame starts inside the work area.
    e2e_placement.py [WxH SCALE]   one row, or every row below on displays of their own
"""
import os
import subprocess
import sys

import desktop as d

# Screen and QT_SCALE_FACTOR
ROWS = [("640x480", "1"), ("800x600", "1.5"), ("1024x768", "2"), ("640x480", "2")]
if len(sys.argv) != 3:
    for row in ROWS:
        if subprocess.run([sys.executable, __file__, *row]).returncode != 0:
            d.fail(f"{row[0]} at scale {row[1]}")
    d.finish()
screen, scale = sys.argv[1:]
d.start_display(screen)
os.environ["QT_SCALE_FACTOR"] = scale
d.require(d.wait_for(50, lambda: "=" in d.xprop(None, "_NET_WORKAREA")), "openbox sets the work area")
area_x, area_y = (int(n) for n in d.xprop(None, "_NET_WORKAREA").split("=")[1].split(",")[:2])


def inside(what, window):
    """The frame's top-left corner (the client's less the frame extents) is in the work area."""
    _, _, x, y = d.client_geometry(window)
    left, _, top, _ = (int(n) for n in d.xprop(window, "_NET_FRAME_EXTENTS").split("=")[1].split(","))
    x, y = x - left, y - top
    d.check(f"{screen} at scale {scale}: the {what}'s frame starts at {x},{y}, inside the work area "
            f"from {area_x},{area_y}", x >= area_x and y >= area_y)


d.start_app()
intro = d.require(d.wait_window(d.INTRO), "intro window")
inside("intro", intro)
d.key(intro, "Return")
main = d.require(d.wait_window(d.MAIN), "main window")
inside("main window", main)
d.check_quiet()
d.finish()
