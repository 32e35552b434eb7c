"""Pictures of the Windows build under Wine, with their window frames, for
docs/windows.md (how to run it: there): intro.png, main-window.png,
item-name.png and about.png into docs/windows/ or the folder given.
    screenshots.py [FOLDER]    (QI_SHOTS_EXE, QI_SHOTS_STYLE, QI_SHOTS_WINDOWS=win10|win11;
                                WINEPREFIX: another prepared prefix than the cache's)
"""
import atexit
import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "windows"))
exe = os.environ.get("QI_SHOTS_EXE") or os.path.join(ROOT, "build-windows", "QuorvathItemlist.exe")
style = os.environ.get("QI_SHOTS_STYLE")
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "docs", "windows")
os.makedirs(out, exist_ok=True)
# The intro's caption, which names the version, as the build wrote it.
if not os.environ.get("QI_INTRO_CAPTION"):
    with open(os.path.join(os.path.dirname(exe), "intro-caption.txt")) as caption:
        os.environ["QI_INTRO_CAPTION"] = caption.read().rstrip("\n")
os.environ["QI_APP"] = exe
import desktop as d
import wineprefix

view = wineprefix.make_view(wineprefix.prepared())
os.environ["WINEPREFIX"] = view
atexit.register(wineprefix.drop, view)
wineprefix.machine(view, os.environ.get("QI_SHOTS_WINDOWS") or "win10", 96, True)
d.start_display("1024x768")


def frame_shot(window, file):
    """The window with the frame openbox gives it."""
    tree = d.out("xwininfo", "-id", str(window), "-children")
    frame = next(line.split()[3] for line in tree.splitlines() if "Parent window id" in line)
    w, h, x, y = d.client_geometry(frame)
    d.ok("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", file)


d.start_app(["wine", exe, *(["-style", style] if style else [])])
intro = d.require(d.wait_window(d.INTRO, 200), "intro window")
time.sleep(1.5)
frame_shot(intro, os.path.join(out, "intro.png"))
d.send_keys(intro, "Return")
main = d.require(d.wait_window(d.MAIN, 200), "main window")
time.sleep(1.5)
# The design's lengths grow with the window where its font needs it.
w, h, x, y = d.client_geometry(main)
bar = h - 453 * w // 481
# Chain Armor, the second Armor entry.
d.click(x + 60, y + bar + 90 * w // 481)
d.send_keys(main, "Home", "Down")
d.pointer_away()
time.sleep(1)
frame_shot(main, os.path.join(out, "main-window.png"))
# Help > Terminology > Item Name, by the keyboard.
d.send_keys(main, "F10", "Left", "Right", "Return")
term = d.require(d.wait_window("Item Name", 200), "Item Name window")
time.sleep(1)
frame_shot(term, os.path.join(out, "item-name.png"))
d.send_keys(term, "alt+F4")
time.sleep(1)
# Help > About Quorvath Itemlist, with the pointer: Help is the third word of
# the menu bar, About the second entry of its menu.
d.click(x + 93, y + bar // 2)
time.sleep(1)
d.click(x + 120, y + bar + 37)
about = d.require(d.wait_window(d.ABOUT, 200), "About window")
time.sleep(2)
frame_shot(about, os.path.join(out, "about.png"))
subprocess.run(["ls", "-l", out])
