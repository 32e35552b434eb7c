"""Legible with whatever fonts the machine has (docs/fonts.md): OCR reads back
at least 90% of the words each window is known to show."""
import os
import shutil
import time

import desktop as d
import ocr_share

d.start_display()
d.use_a11y()
d.stand_in_opener()
main = d.start_at_main()
ui = d.read_app()


def legible(name, window, known):
    """At least 90% of the known words read back."""
    d.pointer_away()
    time.sleep(0.3)
    picture = os.path.join(d.TMP, "shot.png")
    d.snapshot(window, picture)
    share = ocr_share.main(picture, known, 90)
    d.check(f"{name} reads back {share}% of its words (at least 90%)", share >= 90)
    if os.environ.get("QI_OCR_SHOTS"):
        with open(f"{os.environ['QI_OCR_SHOTS']}-{name}.txt", "w") as words:
            words.write(known + "\n")
        shutil.copy(picture, f"{os.environ['QI_OCR_SHOTS']}-{name}.png")


# The main window with an item shown: captions, values, tabs, the list.
d.click_object(d.MAIN, "table cell", "Chain Armor")
if not d.wait_for(20, lambda: ui.value(d.MAIN, "Item Name:") == "Chain Armor"):
    d.fail("Chain Armor shown")
known = ("Information Item Status " + " ".join(d.CATEGORIES) + " Leather Armor Scale Armor Plate Armor " +
         " ".join(f"{field} {ui.value(d.MAIN, field) or ''}" for field in d.FIELDS))
legible("main window", main, known)

# A terminology window and About, from the Help menu.
d.activate(main)
if not d.menu("Help", "Terminology", "# Uses", "Limited."):
    d.fail("menu Help/Terminology/# Uses/Limited.")
window = d.wait_window("Limited...", 40)
if window is None:
    d.fail("Limited... opens")
else:
    legible("terminology window", window, "Information " + (ui.text("Limited...") or ""))

d.activate(main)
if not d.menu("Help", "About Quorvath Itemlist"):
    d.fail("menu Help/About")
window = d.wait_window(d.ABOUT, 40)
if window is None:
    d.fail("About opens")
else:
    about = (ui.text(d.ABOUT) or "").split("\n")[:9]
    legible("About window", window, "Sign The Petition Now! Velmarch Okay\n" + "\n".join(about))
d.finish()
