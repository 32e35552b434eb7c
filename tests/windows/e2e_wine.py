"""The Windows program under Wine, driven with real X pointer and key events
and read back from the screen's pixels and by OCR (docs/windows.md):
    e2e_wine.py QuorvathItemlist.exe [STYLE]
QI_E2E_DPI, QI_E2E_LEGIBLE=1 (only the reading back), QI_E2E_WINDOWS (the
Windows Wine must report), QI_E2E_PICTURE / QI_E2E_SAME_AS (keep the main
window's picture / compare it with one kept, the status bar's clock aside)."""
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import desktop as d  # noqa: E402
import ocr_share  # noqa: E402

exe = os.path.abspath(sys.argv[1])
style = sys.argv[2] if len(sys.argv) > 2 else ""
d.APP = exe
# The intro's caption, which names the version, as the build wrote it.
if not d.INTRO:
    with open(os.path.join(os.path.dirname(exe), "intro-caption.txt")) as caption_file:
        d.INTRO = caption_file.read().rstrip("\n")
d.start_display()

dpi = int(os.environ.get("QI_E2E_DPI") or 96)
full = not os.environ.get("QI_E2E_LEGIBLE")
shots = os.environ.get("QI_OCR_SHOTS", "")


def tmp(name):
    return os.path.join(d.TMP, name)


# --- Legibility: the words each window is known to show (captions, values,
# enabled buttons' captions, the lines in view), of which OCR has to read
# back at least 90%. The web buttons are enabled: Wine has a browser.
KNOWN = {
    d.MAIN: "Armor Figurines Gloves Helms Misc. Items Rings Shields Weapons Instruments Quivers "
            "Containers/Fluids Item Leather Armor Scale Armor Plate Armor Information Status "
            "Item Name: Chain Armor Usable By: Bard, Geomancer, Hunter, Paladin, Warrior "
            "Effect(s) of Equipping: Adds +2 to the character's AC value. Activated Effect(s): N/A "
            "# Uses: Continuous while equipped. Description: Interlocking iron rings; noisy, but dependable.",
    "Limited...": "Information The item has a finite number of charges in it before it can no longer be "
                  "activated. The number of times it can be used varies and is displayed beside the item in "
                  "the character's inventory. Note that depleting an item's charges does not interfere with "
                  "its continuous effects, if it has any.",
    d.ABOUT: "Sign The Petition Now! Velmarch Okay Quorvath Itemlist for Windows "
             "By Anselm Vorrick and Teo Baskel, 2001 Version 1.0.1 Alpha Did you know that there was a "
             "Quorvath IV programmed by Halvenmark? It was scrapped in",
}


def legible(window, caption):
    time.sleep(0.5)
    d.snapshot(window, tmp("read.png"))
    share = ocr_share.main(tmp("read.png"), KNOWN[caption], 90)
    if shots:
        shutil.copy(tmp("read.png"), f"{shots}-{dpi}-{re.split('[. ]', caption)[0]}.png")
    d.check(f"'{caption}' at {dpi} dpi reads back {share}% of its words (at least 90%)", share >= 90)


# --- Pixels -------------------------------------------------------------------
def settled(file, window="root"):
    """The screen (or a window) once it has stopped changing, as the "before"
    of a comparison: a window closed just now may still be repainting what it
    covered on a busy machine. Two shots 0.3 s apart alike, or the last after 5 s."""
    d.snapshot(window, file)
    for _ in range(16):
        time.sleep(0.3)
        d.snapshot(window, tmp("again.png"))
        if d.same_image(file, tmp("again.png")):
            return
        os.replace(tmp("again.png"), file)


def ink(window, x, y, w, h):
    """Whether a box of a window's client area holds drawn text or lines: some
    pixels much darker than the rest."""
    d.shot(window, x, y, w, h, tmp("ink.png"))
    dark = d.out("convert", tmp("ink.png"), "-colorspace", "Gray", "-threshold", "45%", "-negate",
                 "-format", "%[fx:mean*w*h]", "info:")
    return float(dark) >= 3


def solid(window, x, y, w, h):
    """How much of a box's text is drawn in strokes two or more pixels wide: the
    share (%) of its dark pixels that a 2x1 erosion leaves. Bold text keeps
    about 60%, regular text about a quarter."""
    d.shot(window, x, y, w, h, tmp("solid.png"))
    if shots:
        shutil.copy(tmp("solid.png"), f"{shots}-{dpi}-solid-{x}-{y}.png")
    counts = d.out("convert", tmp("solid.png"), "-colorspace", "Gray", "-threshold", "30%", "-negate",
                   "(", "+clone", "-morphology", "Erode", "Rectangle:2x1", ")",
                   "-format", "%[fx:mean*w*h] ", "info:")
    dark, eroded = (float(n) for n in counts.split())
    return int(100 * eroded / dark) if dark > 0 else 0


def pixels_apart(a, b):
    """How many pixels two pictures of the main window differ in, with the
    status bar's date and time (its right half) left out, or both sizes where
    they differ."""
    size, other = (d.out("identify", "-format", "%wx%h", f) for f in (a, b))
    if size != other:
        return f"{size} against {other}"
    width, height = (int(n) for n in size.split("x"))
    clock = f"rectangle {px(240)},{height - px(26)} {width},{height}"
    for source, masked in ((a, "apart-1.png"), (b, "apart-2.png")):
        d.out("convert", source, "-fill", "black", "-draw", clock, tmp(masked))
    count = d.pixels_apart(tmp("apart-1.png"), tmp("apart-2.png"))
    # A count as a whole number (ImageMagick may write 1.2e+03); anything else as it is.
    return "\n".join(str(int(float(line))) if re.fullmatch(r"[0-9.e+]+", line) else line
                     for line in count.splitlines())


def changed():
    """The bounding box (w, h, x, y) of what changed on the screen since
    settled(tmp("before.png")), 1.5 s on, or Nones. The rectangle MASK
    ("x0,y0 x1,y1") counts as unchanged."""
    time.sleep(1.5)
    d.snapshot("root", tmp("after.png"))
    box = d.out("convert", tmp("before.png"), tmp("after.png"), "-fill", "black", "-draw", f"rectangle {MASK}",
                "-compose", "difference", "-composite", "-colorspace", "Gray", "-threshold", "2%",
                "-format", "%@", "info:", check=False)
    found = re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box.strip())
    return tuple(int(n) for n in found.groups()) if found else (None,) * 4


def words_x(window, y, h):
    """The x centres of the words in a band of a window's rows: columns with
    dark pixels, runs of them closer than 7 px joined."""
    d.shot(window, 0, y, 300, h, tmp("band.png"))
    columns = subprocess.run(["convert", tmp("band.png"), "-colorspace", "Gray", "-threshold", "45%",
                              "-negate", "-scale", "300x1!", "-threshold", "1%", "-depth", "8", "gray:-"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    centres = []
    start = last = -1
    for x, value in enumerate(columns):
        if value > 0:
            if start < 0:
                start = x
            last = x
        elif start >= 0 and x - last > 6:
            centres.append((start + last) // 2)
            start = -1
    if start >= 0:
        centres.append((start + last) // 2)
    return centres


# --- Windows' view of the program's windows: one line per visible window,
# "TITLE|owner=...|thickframe=...|min=...|max=...|sysmenu=...|appwindow=...|toolwindow=...".
windowcheck = tmp("windowcheck.exe")
built = subprocess.run(["x86_64-w64-mingw32-g++", "-std=c++20", "-O1", "-static", "-municode",
                        "-o", windowcheck, os.path.join(HERE, "windowcheck.cpp")])
d.require(built.returncode == 0, "windowcheck.cpp builds")


def windows_seen(*argv):
    """What windowcheck.exe prints for the program's windows (or, given --version, Windows' version)."""
    return d.out("wine", windowcheck, *(argv or [os.path.basename(exe)]), check=False).replace("\r", "")


# A fixed frame: no resizing border, so Size and Maximize are greyed in the
# system menu. The side windows are owned (by a window that never shows), so
# they get no taskbar button; the main window and the intro have one.
FIXED = "thickframe=0"
SIDE = f"owner=hidden|{FIXED}|min=0|max=0|sysmenu=1|appwindow=0|toolwindow=0"

d.start_app(["wine", exe, *(["-style", style] if style else [])])
intro = d.require(d.wait_window(d.INTRO, 600), "the intro window shows its caption")
d.passed("the intro window shows its caption")
seen = windows_seen()
d.check(f"the intro is unowned with a fixed frame and no buttons (seen: {seen})",
        seen == f"{d.INTRO}|owner=none|{FIXED}|min=0|max=0|sysmenu=0|appwindow=0|toolwindow=0")
# Windows 11 is 10.0 from build 22000 on, as Qt tells them apart.
reported = windows_seen("--version")
release, _, build = reported.rpartition(".")
windows = os.environ.get("QI_E2E_WINDOWS", "")
if windows == "win10":
    d.check(f"Wine reports Windows 10 ({reported})", lambda: release == "10.0" and int(build or 0) < 22000)
elif windows == "win11":
    d.check(f"Wine reports Windows 11 ({reported})", lambda: release == "10.0" and int(build or 0) >= 22000)
else:
    print(f"Wine reports Windows {reported}")
time.sleep(1)
d.activate(intro)
d.key(intro, "Return")
main = d.require(d.wait_window(d.MAIN, 300), "Enter on Okay opens the main window")
d.passed("Enter on Okay opens the main window with its caption")
d.check("the intro is gone", d.wait_gone(d.INTRO))
time.sleep(1)

# The client area holds the menu bar above the design's 481 x 453, at the
# dpi's scale or, where the font needs it, more.
w, h, mx, my = d.client_geometry(main)


def px(length):
    """A length of the design, as the window has it."""
    return length * w // 481


bar = h - px(453)
least = 481 * dpi // 96
d.check(f"the main window's client is at least {least} wide (got {w}) with a menu bar (got {bar} px)",
        w >= least and 10 < bar < px(40))

# Value boxes: the design's twips / 15, inside the frame at (0, 184): x, y, w, h.
VALUES = [(72, 200, 361, 17), (72, 224, 361, 17), (128, 248, 305, 33), (112, 288, 321, 33),
          (56, 328, 377, 17), (80, 352, 353, 65)]


def value_ink(i):
    """Value box i holds drawn text."""
    x, y, vw, vh = (px(n) for n in VALUES[i])
    return ink(main, x + 3, bar + y + 3, vw - 6, vh - 6)


if full:
    # --- The tab strip: three rows of 20 px, the selected (Armor's) row at the
    # bottom, 4 tabs a row at a quarter of the width each: a caption in each.
    rows = [["Instruments", "Quivers", "Containers/Fluids"], ["Misc.Items", "Rings", "Shields", "Weapons"],
            ["Armor", "Figurines", "Gloves", "Helms"]]
    for r, row in enumerate(rows):
        for c, tab in enumerate(row):
            d.check(f"tab '{tab}' is drawn with its caption",
                    lambda: ink(main, px(c * 120 + 10), bar + px(r * 20 + 4), px(100), px(12)))

    # --- An item: the first Armor entry, clicked; its six values are filled.
    for i in range(6):
        if d.attempt(lambda: value_ink(i)):
            d.fail(f"value {i + 1} is empty before a click")
    # The list at (8, 64) below the strip; its first row under a header of about 18 px.
    d.click(mx + px(60), my + bar + px(90))
    time.sleep(1)
    for i in range(6):
        d.check(f"clicking an entry fills value {i + 1}", d.wait_for(30, lambda: value_ink(i)))
# Chain Armor, the entry below the first, read back with the pointer aside.
d.click(mx + px(60), my + bar + px(90))
time.sleep(0.5)
if not d.send_keys(main, "Home", "Down"):
    d.fail("Home and Down for the list")
d.pointer_away()
legible(main, d.MAIN)
if os.environ.get("QI_E2E_PICTURE") or os.environ.get("QI_E2E_SAME_AS"):
    settled(tmp("main.png"), main)
    if os.environ.get("QI_E2E_PICTURE"):
        shutil.copy(tmp("main.png"), os.environ["QI_E2E_PICTURE"])
    kept = os.environ.get("QI_E2E_SAME_AS")
    if kept:
        apart = pixels_apart(kept, tmp("main.png")) if os.path.isfile(kept) else "no picture"
        d.check(f"the main window is {os.path.basename(kept)} pixel for pixel, the clock aside "
                f"(apart: {apart})", apart == "0")
# The list's entries are bold, the values regular: Leather Armor, the first
# entry, against Chain Armor in the Item Name box. Scaled (144 dpi), Wine
# picks Tahoma Bold and spaces its glyphs as bold but draws the regular
# shapes, through DirectWrite and GDI alike (docs/windows.md): there
# the figures are only reported.
entry = solid(main, px(12), bar + px(85), px(90), px(9))
value = solid(main, px(75), bar + px(203), px(90), px(11))
strokes = f"{entry}% and {value}% of their ink in wide strokes"
if dpi == 96:
    d.check(f"the list is drawn bold, the values regular ({strokes})", entry >= 40 and value < 40)
else:
    print(f"at {dpi} dpi, not checked: the list entry and the value have {strokes}")

# --- Menus under the pointer: a click on a menu-bar entry opens its menu
# and nothing else; a click on an entry acts.
# The status bar's clock may turn to the next minute while a menu opens.
MASK = f"{mx},{my + bar + px(423)} {mx + px(480)},{my + bar + px(452)}"
bar_x = words_x(main, 2, bar - 4)
d.check(f"the menu bar shows File, Search and Help (found {len(bar_x)} words)", len(bar_x) >= 3)
# Without them, the clicks below go to the bar's left end (and their checks fail).
bar_x += [0] * (3 - len(bar_x))


def open_menu(x):
    """Clicks the menu-bar word at x: the popup's box (w, h, x, y)."""
    settled(tmp("before.png"))
    d.click(mx + x, my + bar // 2)
    return changed()


def escape(what):
    # An open menu leaves the focus on its window, as Windows does.
    if not (d.wait_focus(main) and d.ok("xdotool", "key", "Escape", "Escape")):
        d.fail(f"Esc {what}")
    time.sleep(0.5)


def bar_key_then_down(bar_key):
    if not (d.wait_focus(main) and d.ok("xdotool", "key", bar_key)):
        return False
    time.sleep(0.5)
    return d.wait_focus(main) and d.ok("xdotool", "key", "Down")


if full:
    for i in (0, 1):
        pw, ph, mpx, mpy = open_menu(bar_x[i])
        d.check(f"menu {i + 1} opens below the bar under the pointer ({pw}x{ph} at {mpx},{mpy})",
                lambda: ph > 15 and mpy >= my + bar - 25)
        escape(f"for menu {i + 1}")
    pw, ph, mpx, mpy = open_menu(bar_x[2])
    d.check(f"one click on Help opens its menu ({pw}x{ph} at {mpx},{mpy})", lambda: ph > 30)
    d.check("and opens no terminology window", not d.has_window("Item Name"))
    # Its first entry, Terminology, opens a submenu; that one's first entry is Item Name.
    settled(tmp("before.png"))
    d.click(mx + bar_x[2] + px(15), my + bar + px(10))
    sw, sh, sx, sy = changed()
    d.check(f"clicking Terminology opens its submenu ({sw}x{sh} at {sx},{sy})", lambda: sh > 30)
    if sw is not None:
        d.click(sx + sw - 30, sy + 10)
    d.check("clicking Item Name opens the Item Name window", d.wait_window("Item Name", 100))
    item = d.window_named("Item Name")
    if item:
        d.key(item, "alt+F4")
    if not d.wait_gone("Item Name"):
        d.fail("Alt+F4 closes the Item Name window")
    # Back in the main window, a lone Alt, and F10, each put the menu bar in
    # keyboard mode on its first menu: Down opens it, a narrow box below the
    # bar (Down with the menu bar left alone changes the whole window's width).
    for bar_key in ("alt", "F10"):
        settled(tmp("before.png"))
        if not bar_key_then_down(bar_key):
            d.fail(f"{bar_key}, then Down")
        pw, ph, mpx, mpy = changed()
        d.check(f"{bar_key}, then Down, opens the File menu below the bar ({pw}x{ph} at {mpx},{mpy})",
                lambda: ph > 15 and mpy >= my + bar - 25 and pw < px(240))
        escape(f"after {bar_key}")


# --- Every side window opened from the Help menu by keyboard, then every
# window as Windows sees it, and as the X window manager is told (Wine keeps
# owned windows off the taskbar with _NET_WM_STATE_SKIP_TASKBAR).
def off_taskbar(window):
    return window is not None and "_NET_WM_STATE_SKIP_TASKBAR" in d.xprop(window, "_NET_WM_STATE")


SIDES = [
    ("Item Name", "Down Right Return"),
    ("Usable By...", "Down Right Down Return"),
    ("Effects of Equipping...", "Down Right Down Down Return"),
    ("Activated Effects...", "Down Right Down Down Down Return"),
    ("One-time only...", "Down Right Down Down Down Down Right Return"),
    ("Limited...", "Down Right Down Down Down Down Right Down Return"),
    ("Multiple...", "Down Right Down Down Down Down Right Down Down Return"),
    ("Continuous while Equipped...", "Down Right Down Down Down Down Right Down Down Down Return"),
    ("Description...", "Down Right Down Down Down Down Down Return"),
    (d.ABOUT, "Down Down Return"),
]
sides = SIDES if full else [SIDES[5], SIDES[9]]
for caption, keys in sides:
    d.activate(main)
    # Not --sync: with a window just read back on top, the pointer at times never reports the move.
    d.ok("xdotool", "mousemove", str(mx + bar_x[2]), str(my + bar // 2), "sleep", "0.3", "click", "1")
    time.sleep(1)
    if not (d.wait_focus(main) and d.ok("xdotool", "key", "--delay", "150", *keys.split())):
        d.fail(f"the Help menu's keys for '{caption}'")
    window = d.wait_window(caption, 100)
    if window is None:
        d.fail(f"the Help menu opens '{caption}'")
    elif caption in KNOWN:
        d.pointer_away()
        legible(window, caption)
if full:
    seen = windows_seen().splitlines()
    d.check(f"Windows sees the main window and the ten side windows (seen: {len(seen)})", len(seen) == 11)
    d.check("the main window is unowned with a fixed frame and only a minimize button",
            f"{d.MAIN}|owner=none|{FIXED}|min=1|max=0|sysmenu=1|appwindow=0|toolwindow=0" in seen)
    for caption, _ in sides:
        d.check(f"'{caption}' is owned by a hidden window, with a fixed frame and no buttons",
                f"{caption}|{SIDE}" in seen)
        d.check("and is off the taskbar", off_taskbar(d.window_named(caption)))
    d.check("the main window is on the taskbar", not off_taskbar(main))
for caption, _ in sides:
    window = d.window_named(caption)
    if window:
        d.key(window, "alt+F4")
    if not d.wait_gone(caption):
        d.fail(f"Alt+F4 closes '{caption}'")

# --- Alt+F4 asks; Yes ends the program with 0.
d.key(main, "alt+F4")
d.check("Alt+F4 on the main window asks the quit question",
        d.wait_for(50, lambda: len(d.windows_named(d.MAIN)) == 2))
question = d.quit_question(main)
if question:
    d.key(question, "Return")   # Yes is the default button
code = d.exit_code(tenths=100)
d.check(f"Yes ends the program with exit code 0 (got {'running' if code is None else code})", code == 0)
d.finish()
