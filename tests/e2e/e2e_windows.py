"""The side windows from the Help menu, and quitting while one is open."""
import os
import time

import desktop as d

d.start_display()
d.use_a11y()
d.stand_in_opener()
main = d.start_at_main()
ui = d.read_app()

for path, caption, size in d.SIDE_WINDOWS:
    if not d.help_menu(main, path):
        d.fail(f"menu Help/{path}")
        continue
    window = d.wait_window(caption, 40)
    if window is None:
        d.fail(f"Help/{path} opens '{caption}'")
        continue
    w, h, _, _ = d.client_geometry(window)
    d.check(f"'{caption}' client is {size[0]} x {size[1]} (got {w} x {h})", (w, h) == size)
    d.check(f"'{caption}' has a fixed size", d.fixed_size(window))
    d.check(f"'{caption}' cannot be maximized", not d.allows(window, "MAXIMIZE"))
    # Chosen again from the main window: the same window comes to the front.
    if not d.help_menu(main, path):
        d.fail(f"menu Help/{path} again")
        continue
    d.check(f"choosing it again raises '{caption}'", d.wait_for(20, lambda: d.on_top(window)))
    count = len(d.windows_named(caption))
    d.check(f"and leaves one '{caption}' window (got {count})", count == 1)
d.check("all ten side windows are open beside the main window", d.has_window(d.MAIN))

# --- Typed text lives only as long as its window ------------------------------
listed = "The Item Name is simply the name of the item that you have selected."
window = d.window_named("Item Name")
d.activate(window)
if not d.type_text(window, "scribbled "):
    d.fail("typing into Item Name")
d.check("typing changes the Item Name text", d.wait_for(20, lambda: "scribbled" in ui.text("Item Name")))
d.key(window, "alt+F4")
d.check("Alt+F4 closes the Item Name window", d.wait_gone("Item Name"))
d.help_menu(main, "Terminology/Item Name")
if d.wait_window("Item Name", 40) is None:
    d.fail("Item Name reopens")
d.check("reopened, it shows the listed text", (ui.text("Item Name") or "").rstrip("\n") == listed)

# --- The About window animates: Image1 (24, 8) px, 88 x 88 --------------------
about = d.window_named(d.ABOUT)
d.activate(about)
first = os.path.join(d.TMP, "frame0.png")
d.shot(about, 24, 8, 88, 88, first)


def animates():
    for i in range(1, 13):
        time.sleep(0.25)
        frame = os.path.join(d.TMP, f"frame{i}.png")
        d.shot(about, 24, 8, 88, 88, frame)
        if not d.same_image(first, frame):
            return True
    return False


d.check("the About picture changes within 3 seconds", animates())

# --- No window gets lost when minimised -----------------------------------------
d.ok("xdotool", "windowminimize", str(about))
if not d.wait_for(30, lambda: d.minimized(about)):
    d.fail("the About window minimises")
d.help_menu(main, "About Quorvath Itemlist")
d.check("choosing About again restores the minimised window", d.wait_for(30, lambda: not d.minimized(about)))
d.ok("xdotool", "windowminimize", str(about))
if not d.wait_for(30, lambda: d.minimized(about)):
    d.fail("the About window minimises again")

# --- Quit: No keeps, Yes closes the main window only ----------------------------
questions = lambda n: d.wait_for(30, lambda: len(d.windows_named(d.MAIN)) == n)
d.activate(main)
d.menu("File", "Quit")
d.check("Quit asks the question", questions(2))
d.click_object("*", "push button", "No")
d.check("No keeps the main window", questions(1))
d.activate(main)
d.menu("File", "Quit")
if not questions(2):
    d.fail("the question again")
d.click_object("*", "push button", "Yes")
d.check("Yes closes the main window", d.wait_gone(d.MAIN))
d.check("the About window stays open", d.has_window(d.ABOUT))
d.check("and is no longer minimised, with the main window gone", d.wait_for(30, lambda: not d.minimized(about)))
d.ok("xdotool", "windowminimize", str(about))
d.check("minimised now, it comes straight back", d.wait_for(30, lambda: not d.minimized(about)))
d.check("and keeps the program running", d.exit_code(tenths=10) is None)
d.check("the About window still animates", animates())
# Closing every side window ends the program.
for _, caption, _ in d.SIDE_WINDOWS:
    window = d.window_named(caption)
    if window is None:
        continue
    d.activate(window)
    d.key(window, "alt+F4")
    if not d.wait_gone(caption):
        d.fail(f"'{caption}' closes")
code = d.exit_code()
d.check(f"closing the last side window ends the program with 0 (got {code})", code == 0)
d.check_quiet()
d.finish()
