"""Browsing as a user does: pointer clicks on the intro's button, the tabs and
the list entries, the details read back as a screen reader reads them.
QI_SCREENSHOT=file.png also saves the main window showing an item.
"""
import os
import time

import desktop as d

d.start_display()
d.use_a11y()
d.start_app()
d.require(d.wait_window(d.INTRO), "intro window")
ui = d.read_app()
d.check("the intro's button is Okay and has the focus",
        "focused" in ui.states(d.INTRO, "push button", "Okay"))
d.click_object(d.INTRO, "push button", "Okay")
main = d.require(d.wait_window(d.MAIN), "main window after clicking Okay")
d.check("the intro is gone", d.wait_gone(d.INTRO))

# --- The main window as designed: 481 x 453 below the menu bar, fixed ------
w, h, _, _ = d.client_geometry(main)
menubar = (ui.find(d.MAIN, "menu bar", "") or (0, 0, 0, 0))[3]
d.check(f"main client is 481 x (453 + menu bar {menubar}) (got {w} x {h})", (w, h) == (481, 453 + menubar))
d.check("main window has a fixed size", d.fixed_size(main))
d.check("main window can be minimized", d.allows(main, "MINIMIZE"))
d.check("main window cannot be maximized", not d.allows(main, "MAXIMIZE"))

# --- Armor at start: its 23 entries, empty details ---------------------------
armor = ui.rows(d.MAIN, "tree", "Armor items")
d.check(f"Armor lists 23 entries (got {len(armor)})", len(armor) == 23)
d.check(f"the first Armor entry is Leather Armor (got '{armor[0] if armor else ''}')",
        armor[:1] == ["Leather Armor"])
d.check("Armor is the selected tab", "selected" in ui.states(d.MAIN, "page tab", "Armor"))


def details():
    return [ui.value(d.MAIN, field) or "" for field in d.FIELDS]


d.check("the details are empty at start", not any(details()))


# --- Entries and tabs, clicked with the pointer -------------------------------
# Clicking an entry shows its row: the name label carries the entry's text.
def shows_item(name):
    return d.wait_for(20, lambda: ui.value(d.MAIN, "Item Name:") == name)


d.click_object(d.MAIN, "table cell", "Chain Armor")
d.check("clicking Chain Armor shows it", shows_item("Chain Armor"))
chain = details()
d.check("all six fields are filled for Chain Armor", all(chain))
d.click_object(d.MAIN, "table cell", "Leather Armor")
d.check("clicking Leather Armor shows it", shows_item("Leather Armor"))
d.check("and its details differ from Chain Armor's", details() != chain)

for tab in ["Weapons", "Rings", "Containers/Fluids", "Armor"]:
    d.click_object(d.MAIN, "page tab", tab)
    d.check(f"clicking {tab} selects it",
            d.wait_for(20, lambda: "selected" in ui.states(d.MAIN, "page tab", tab)))
    d.check("and empties the details", not any(details()))
    entries = ui.rows(d.MAIN, "tree", f"{tab} items")
    d.check(f"{tab} lists entries (got {len(entries)})", len(entries) > 0)
    if entries:
        d.click_object(d.MAIN, "table cell", entries[0])
        d.check(f"clicking '{entries[0]}' on {tab} shows it", shows_item(entries[0]))
weapons = ui.rows(d.MAIN, "tree", "Weapons items")
d.check(f"Weapons, left earlier, still holds its 59 entries (got {len(weapons)})", len(weapons) == 59)

if os.environ.get("QI_SCREENSHOT"):
    d.click_object(d.MAIN, "table cell", "Chain Armor")
    shows_item("Chain Armor")
    d.pointer_away()
    time.sleep(0.3)
    if not d.ok("import", "-window", str(main), "-frame", os.environ["QI_SCREENSHOT"]):
        d.snapshot(main, os.environ["QI_SCREENSHOT"])
    print(f"screenshot: {os.environ['QI_SCREENSHOT']}")
d.check_quiet()
d.finish()
