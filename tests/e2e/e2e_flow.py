"""The window flow seen from outside, in a real X session with openbox."""
import os
import re

import desktop as d

ROOT = os.path.join(d.HERE, "..", "..")
d.start_display()

# --- The intro: caption only, Alt+F4 ends the program with 0 -------------
d.start_app()
intro = d.require(d.wait_window(d.INTRO), "intro window")
d.passed("intro window is up")
w, h, x, y = d.client_geometry(intro)
d.check(f"intro client is 288 x 267 (got {w} x {h})", (w, h) == (288, 267))
cx, cy = x + w // 2, y + h // 2
d.check(f"intro centred on the screen (centre {cx},{cy})", abs(cx - 640) <= 20 and abs(cy - 512) <= 40)
# What the window asks of the window manager (openbox draws a close button
# whatever a window asks): Motif functions without close (0x20), minimize
# (0x8) or maximize (0x10), and a fixed size.
flags, functions = (int(n, 0) for n in d.xprop(intro, "_MOTIF_WM_HINTS").split("=")[1].split(",")[:2])
d.check(f"the intro asks for no close, minimize or maximize ({functions})", flags & 1 and not functions & 0x38)
d.check("the intro has a fixed size", d.fixed_size(intro, (288, 267)))
# Docks tie a window to its menu entry by the X class, and show its icon at
# the size they need: every size the package installs.
wm_class = d.xprop(intro, "WM_CLASS").split(", ")[-1].strip('"')
entry = open(os.path.join(ROOT, "packaging", "example.quorvath.Itemlist.desktop")).read()
startup_class = re.search(r"^StartupWMClass=(.*)$", entry, re.M).group(1)
d.check(f"the X class '{wm_class}' is the desktop entry's StartupWMClass '{startup_class}'",
        wm_class and wm_class == startup_class)
icons = d.out("xprop", "-len", "4000000", "-id", str(intro), "_NET_WM_ICON")
offered = sorted(int(s) for s in re.findall(r"Icon \((\d+) x \d+\):", icons))
installed = sorted(int(m.group(1)) for f in os.listdir(os.path.join(ROOT, "assets", "icons"))
                   if (m := re.fullmatch(r"quorvath-(\d+)\.png", f)))
d.check(f"the window icon comes at every installed size ({installed}; got {offered})", offered == installed)
d.key(intro, "alt+F4")
code = d.exit_code()
d.check(f"Alt+F4 on the intro ends the program with 0 (got {code})", code == 0)

# --- Okay, then the close box asks; No keeps, Yes ends -------------------
main = d.start_at_main()
d.check("intro is gone after Okay", d.wait_gone(d.INTRO))
w = d.client_geometry(main)[0]
d.check(f"main window is 481 wide (got {w})", w == 481)

d.key(main, "alt+F4")
d.check("the close box asks the question", d.wait_for(50, lambda: len(d.windows_named(d.MAIN)) == 2))
d.key(d.quit_question(main), "Escape")
d.check("No keeps the main window", d.wait_for(50, lambda: len(d.windows_named(d.MAIN)) == 1))
d.check("the program still runs", d.app.poll() is None)

d.key(main, "alt+F4")
if not d.wait_for(50, lambda: len(d.windows_named(d.MAIN)) == 2):
    d.fail("question again")
d.key(d.quit_question(main), "Return")
code = d.exit_code()
d.check(f"Yes closes the last window and the program ends with 0 (got {code})", code == 0)
d.check_quiet()
d.finish()
