"""The program as a screen reader meets it over AT-SPI (docs/accessibility.md):
each window's role and name, only shown windows listed, every control named,
the tabs selectable, the details and the side windows' texts readable."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop as d  # noqa: E402

d.start_display()
d.use_a11y()


def all_named(window):
    unnamed = ui.unnamed(window)
    if unnamed:
        print("\n".join(unnamed))
    return not unnamed


def exists(*what):
    return ui.find(*what) is not None


def lines_in(window):
    """Separators, and frames other than the window: a line drawn as an object of its own."""
    return len(ui.names(window, "separator")) + len([n for n in ui.names(window, "frame") if n != window])


d.start_app()
intro = d.require(d.wait_window(d.INTRO), "intro window")
ui = d.read_app()
# The main window is built ahead, hidden, 60 ms after the intro has painted:
# it is no window a user can meet yet.
time.sleep(1)
toplevels = ui.toplevels()
d.check(f"while the intro is up, it is the one window listed (got {toplevels})", toplevels == [f"frame|{d.INTRO}"])
d.check("every control of the intro has a name", all_named(d.INTRO))
d.check("the intro's picture is named by what it shows", exists(
    d.INTRO, "image", "A torch-lit dungeon wall with an arched doorway, the name Quorvath above it"))
d.check(f"the intro's line is no object of its own (got {lines_in(d.INTRO)})", lines_in(d.INTRO) == 0)
d.check("the intro's Okay is no default button", "default" not in ui.states(d.INTRO, "push button", "Okay"))
d.activate(intro)
d.key(intro, "Return")
d.require(d.wait_window(d.MAIN), "main window")
d.check("every control of the main window has a name", all_named(d.MAIN))

# --- The category tabs ------------------------------------------------------------
selected = lambda tab, *more: {"selected", *more} <= ui.states(d.MAIN, "page tab", tab)
d.check("the tabs are one page tab list", exists(d.MAIN, "page tab list", "Categories"))
d.check("eleven page tabs carry the captions in order", ui.names(d.MAIN, "page tab") == d.CATEGORIES)
d.check("Armor is reported selected", selected("Armor"))
d.check("the Press action selects Rings", ui.press(d.MAIN, "page tab", "Rings"))
d.check("Rings is then reported selected", d.wait_for(20, lambda: selected("Rings")))
d.check("and Armor no longer", not selected("Armor"))
d.check("and the Rings list is filled (8 entries)", len(ui.rows(d.MAIN, "tree", "Rings items")) == 8)
# Keyboard: the focus follows the selection along the strip.
d.click_object(d.MAIN, "page tab", "Armor")
main = d.window_named(d.MAIN)
d.key(main, "Right")
d.check("Right moves selection and focus to Figurines", d.wait_for(20, lambda: selected("Figurines", "focused")))

# --- The details: each value labelled by its caption, named by what it shows -------
for field in d.FIELDS:
    d.check(f"a value is labelled by '{field}'", ui.value(d.MAIN, field) is not None)
d.click_object(d.MAIN, "page tab", "Armor")
d.click_object(d.MAIN, "table cell", "Chain Armor")
d.check("the value labelled 'Item Name:' reads the clicked item",
        d.wait_for(20, lambda: ui.value(d.MAIN, "Item Name:") == "Chain Armor"))

# --- The side windows' texts ---------------------------------------------------------
d.activate(main)
d.menu("Help", "About Quorvath Itemlist")
if d.wait_window(d.ABOUT, 40) is None:
    d.fail("About window")
d.check("every control of the About window has a name", all_named(d.ABOUT))
d.check("the About picture is named by what it shows",
        exists(d.ABOUT, "image", "A hooded mage beside a wall torch, playing small tricks"))
d.check(f"the About window's two lines are no objects of their own (got {lines_in(d.ABOUT)})",
        lines_in(d.ABOUT) == 0)
d.check("the About window's Okay is no default button", "default" not in ui.states(d.ABOUT, "push button", "Okay"))
d.check("the About text is readable",
        (ui.text(d.ABOUT) or "").split("\n")[:2] == ["Quorvath", "Itemlist for Windows"])
d.activate(main)
d.menu("Help", "Terminology", "Activated Effects")
if d.wait_window("Activated Effects...", 40) is None:
    d.fail("Activated Effects window")
d.check("every control of a terminology window has a name", all_named("Activated Effects..."))
d.check("its text is readable", "\nSeveral items require that you manually activate them" in
        "\n" + (ui.text("Activated Effects...") or ""))

# --- Every window: its role and its caption as name ----------------------------------
expected = [f"frame|{d.MAIN}"]
for path, caption, _ in d.SIDE_WINDOWS:
    expected.append(f"dialog|{caption}")
    if d.has_window(caption):
        continue
    if not (d.help_menu(main, path) and d.wait_window(caption, 40)):
        d.fail(f"Help/{path} opens '{caption}'")
listed = ui.toplevels()
for row in expected:
    role, _, caption = row.partition("|")
    d.check(f"a top-level '{caption}' with role {role}", row in listed)
d.check(f"and no other top-level (got {len(listed)})", len(listed) == len(expected))
d.finish()
