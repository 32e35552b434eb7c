"""What a Windows screen reader finds in the program through UI Automation,
read with uiaread.cpp under Wine 10 or later (docs/windows.md), after the
checks are shown to fail on trees with a fault planted in them:
    uia_wine.py QuorvathItemlist.exe     (QI_UIA_KEEP=PREFIX keeps each tree as PREFIX-NAME)
Needs WINEPREFIX: a prepared Wine prefix (CTest runs it in a view of one, wineprefix.py)."""
import atexit
import dataclasses
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import desktop as d  # noqa: E402

exe = os.path.abspath(sys.argv[1])
# Under Wine 8 a UI Automation client deadlocks the program.
try:
    version = d.out("wine", "--version", check=False)
except OSError:
    version = ""
release = re.match(r"wine-(\d+)", version)
major = int(release.group(1)) if release else 0
if major < 10:
    print(f"warning: the UI Automation test needs Wine 10 or later (found: {major or 'no Wine'}); skipped",
          file=sys.stderr)
    sys.exit(0)
if not os.environ.get("WINEPREFIX"):
    print("uia_wine.py needs WINEPREFIX, a prepared Wine prefix: run it through tests/windows/wineprefix.py, "
          "as CTest does (tools/windows.sh test)", file=sys.stderr)
    sys.exit(1)
# Wine's environment as tools/setup.sh's qi_wine_prefix sets it for the prefix.
os.environ.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
# Registered after desktop's clean-up, so run before it: the prefix's Windows
# programs end before their X server does.
atexit.register(lambda: subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL))

d.APP = exe
# The intro's caption, which names the version, as the build wrote it.
if not d.INTRO:
    d.INTRO = open(os.path.join(os.path.dirname(exe), "intro-caption.txt")).read().rstrip("\n")
UIAREAD = os.path.join(d.TMP, "uiaread.exe")
built = subprocess.run(["x86_64-w64-mingw32-g++", "-std=c++20", "-O1", "-static", "-municode", "-o", UIAREAD,
                        os.path.join(HERE, "uiaread.cpp"),
                        "-luiautomationcore", "-loleaut32", "-lole32"])
d.require(built.returncode == 0, "uiaread.cpp builds")
d.start_display()


# --- Reading the tree: one element a line of uiaread's, as
# "TYPE|NAME|focus=0|1|labeledby=NAME|value=TEXT|id=ID", indented by depth.
@dataclasses.dataclass(frozen=True)
class Element:
    depth: int
    type: str
    name: str
    focus: str      # "1", "0", or "!" and the HRESULT
    fields: dict    # labeledby, value, id
    line: str       # as read

    @property
    def seen(self):
        """"TYPE|NAME|focus=F", as the checks name an element."""
        return f"{self.type}|{self.name}|focus={self.focus}"


def parse(text):
    tree = []
    for line in text.replace("\r", "").splitlines():
        parts = line.lstrip(" ").split("|")
        fields = dict(field.partition("=")[::2] for field in parts[2:])
        depth = (len(line) - len(line.lstrip(" "))) // 2
        name = parts[1] if len(parts) > 1 else ""
        tree.append(Element(depth, parts[0], name, fields.pop("focus", ""), fields, line))
    return tree


def read_tree(name):
    begun = time.monotonic()
    text = d.out("timeout", "120", "wine", UIAREAD, "QuorvathItemlist.exe", check=False, errors="replace")
    tree = parse(text)
    print(f"(read '{name}': {len(tree)} elements in {int(time.monotonic() - begun)} s)")
    if os.environ.get("QI_UIA_KEEP"):
        with open(f"{os.environ['QI_UIA_KEEP']}-{name}", "w") as kept:
            kept.write(text + "\n" if text else "")
    return tree


def has(tree, seen):
    """An element so ("TYPE|NAME|focus=F"), at any depth."""
    return any(e.seen == seen for e in tree)


def children(tree, kind, name):
    """The direct children of the first element of this type and name."""
    parent = next((i for i, e in enumerate(tree) if (e.type, e.name) == (kind, name)), None)
    if parent is None:
        return []
    found = []
    for e in tree[parent + 1:]:
        if e.depth <= tree[parent].depth:
            break
        if e.depth == tree[parent].depth + 1:
            found.append(e)
    return found


def names(elements):
    return "|".join(e.name for e in elements)


def after(tree, caption):
    """The element after the first caption text `caption`: the caption's value."""
    at = next((i for i, e in enumerate(tree) if e.seen == f"Text|{caption}|focus=0"), None)
    return tree[at + 1] if at is not None and at + 1 < len(tree) else None


def wait_tree(name, seen):
    """The tree read until it holds the element, or 5 times (10 s)."""
    for _ in range(5):
        tree = read_tree(name)
        if has(tree, seen):
            break
        time.sleep(1)
    return tree


def show(tree):
    for e in tree:
        print(e.line)


INTRO_PICTURE = "A torch-lit dungeon wall with an arched doorway, the name Quorvath above it"


# The checks give (what, result) pairs: counted by report, or only tallied on a tree
# with a fault planted.
def intro_checks(tree):
    return [
        ("the intro is a window named by its caption", has(tree, f"Window|{d.INTRO}|focus=1")),
        ("the intro's picture is named", has(tree, f"Image|{INTRO_PICTURE}|focus=0")),
        ("Okay is a button with the keyboard focus", has(tree, "Button|Okay|focus=1")),
    ]


def focus_checks(tree, entry):
    """`entry` is the one entry with the focus."""
    focused = [e.seen for e in children(tree, "Tree", "Armor items")
               if e.type == "TreeItem" and e.focus == "1"]
    return [(f"'{entry}' is the list entry with the keyboard focus",
             focused == [f"TreeItem|{entry}|focus=1"])]


def item_checks(tree, entry):
    """And its item is shown."""
    value = after(tree, "Item Name:")
    return focus_checks(tree, entry) + [
        (f"the value after 'Item Name:' is '{entry}'",
         value is not None and value.seen == f"Text|{entry}|focus=0")]


def report(results):
    for what, result in results:
        d.check(what, result)


# --- The checks fail where they should: the same checks on trees with one
# fault planted each must fail.
def planted(what, tree, pick, change, checks, *args):
    """`checks` fail on the tree with `change` made to each element that
    pick(previous element, element) chooses."""
    fault = [dataclasses.replace(e, **change) if pick(tree[i - 1] if i else None, e) else e
             for i, e in enumerate(tree)]
    fails = sum(not result for _, result in checks(fault, *args))
    d.check(f"a planted fault fails the checks: {what} ({fails} failed)", fails > 0)


started = time.monotonic()
d.start_app(["wine", exe])
intro = d.require(d.wait_window(d.INTRO, 600), "the intro window shows")
tree = wait_tree("intro", "Button|Okay|focus=1")
print("-- the intro, as UI Automation gives it:")
show(tree)
planted("Okay without a name", tree, lambda _, e: (e.type, e.name) == ("Button", "Okay"), {"name": ""},
        intro_checks)
planted("Okay without the focus", tree, lambda _, e: e.seen == "Button|Okay|focus=1", {"focus": "0"},
        intro_checks)
report(intro_checks(tree))

if not d.send_keys(intro, "Return"):
    d.fail("Enter on the intro")
main = d.require(d.wait_window(d.MAIN, 300), "Enter on Okay opens the main window")
tree = wait_tree("main", "Tab|Categories|focus=1")
print("-- the main window:")
show(tree)
tabs = children(tree, "Tab", "Categories")
d.check(f"'Categories' is a tab list of the eleven tabs in order (got: {names(tabs)})",
        names(tabs) == "|".join(d.CATEGORIES))
d.check("they are tab items", sum(e.type == "TabItem" for e in tabs) == 11)
menus = names(children(tree, "MenuBar", ""))
d.check(f"the menu bar holds File, Search and Help (got: {menus})", menus == "File|Search|Help")
status = children(tree, "StatusBar", "")
d.check("the status bar shows Status, the date and the time",
        len(status) == 3 and status[0].seen == "Text|Status|focus=0")

if not d.send_keys(main, "Tab"):
    d.fail("Tab into the list")
tree = wait_tree("tab", "Tree|Armor items|focus=1")
entries = children(tree, "Tree", "Armor items")
entry = next((e.name for e in entries if e.type == "TreeItem" and e.focus == "1"), None)
report(focus_checks(tree, entry or "no entry"))
if not d.send_keys(main, "Down"):
    d.fail("Down in the list")
# The entry after it, which Down moves to.
at = next((i for i, e in enumerate(entries) if entry and e.seen == f"TreeItem|{entry}|focus=1"), None)
after_it = entries[at + 1] if at is not None and at + 1 < len(entries) else None
following = after_it.name if after_it and after_it.type == "TreeItem" and after_it.focus == "0" else None
following = following or "no next entry"
down = wait_tree("down", f"TreeItem|{following}|focus=1")
report(item_checks(down, following))
planted("the value without a name", down, lambda before, e: e.type == "Text" and before is not None
        and (before.type, before.name) == ("Text", "Item Name:"), {"name": ""}, item_checks, following)
print("-- the item shown:")
for i, e in enumerate(down):
    if (e.type, e.name) == ("Group", "Information"):
        show(down[i:i + 13])
for caption in d.FIELDS:
    value = after(down, caption)
    d.check(f"'{caption}' is a caption with a value after it (got: {value.seen if value else 'nothing'})",
            value is not None and value.type == "Text" and value.seen != "Text||focus=0")


def labeled_by(tree, caption):
    """LabeledBy of the element after the first one named `caption`."""
    at = next((i for i, e in enumerate(tree) if e.name == caption), None)
    return tree[at + 1].fields.get("labeledby", "") if at is not None and at + 1 < len(tree) else ""


# LabeledBy: each value names its caption, where the provider gives it.
labels = labeled_by(down, "Item Name:")
if labels == "Item Name:":
    for caption in d.FIELDS:
        d.check(f"the value after '{caption}' is labeled by it", labeled_by(down, caption) == caption)
elif labels.startswith("!"):
    print("not checked: LabeledBy from each value to its caption: the program's Qt gives UI Automation no "
          "LabeledBy (its provider has no such property; the caption is the value's buddy, which AT-SPI "
          f"reports), and Wine answers {labels[1:]} for it")
else:
    d.fail(f"the value after 'Item Name:' is labeled by it (got: {labels or 'nothing'})")
if any(e.fields.get("value") == "!80004001" for e in down):
    print("not checked: the Value pattern's text: Wine answers E_NOTIMPL (80004001) for pattern properties")


# --- A terminology window (Help > Terminology > Item Name) and About, by
# keyboard: F10 opens the File menu, Left the Help menu at its first entry.
def side(name, title, *keys):
    """Opens the window: its tree, read as `name`."""
    if not d.send_keys(main, "F10", *keys, delay=300):
        d.fail(f"F10 and the Help menu's keys for '{title}'")
    if not d.wait_window(title, 100):
        d.fail(f"the Help menu opens '{title}'")
        return []
    tree = wait_tree(name, f"Window|{title}|focus=1")
    print(f"-- {title}:")
    on = False
    for e in tree:
        if e.depth == 0 and e.type == "Window":
            on = e.name == title
        if on:
            print(e.line)
    return tree


def text_check(tree, box, text):
    """The box's text (the Value pattern's) holds `text`."""
    value = next((e.fields.get("value", "") for e in tree if (e.type, e.name) == ("Edit", box)), "")
    if value == "!80004001":
        print(f"not checked: the text of '{box}' ('{text}...'): Wine answers E_NOTIMPL (80004001) "
              "for the Value pattern's text")
    else:
        d.check(f"the text of '{box}' holds '{text}' (got: {value[:80]})", text in value)


def close(title, keys, what):
    """Sends keys to the window `title`, failing `what` where they cannot go."""
    window = d.window_named(title)
    if not (window and d.send_keys(window, keys)):
        d.fail(what)


terms = side("terms", "Item Name", "Left", "Right", "Return")
d.check("the terminology window is named by its title", has(terms, "Window|Item Name|focus=1"))
d.check("its text is a read-only box named 'Information', with the focus",
        has(terms, "Edit|Information|focus=1"))
text_check(terms, "Information", "The Item Name is simply the name of the item that you have selected")
close("Item Name", "alt+F4", "Alt+F4 on the terminology window")
if not d.wait_gone("Item Name"):
    d.fail("Alt+F4 closes the terminology window")

about = side("about", d.ABOUT, "Left", "Down", "Return")
d.check("About is a window named by its title", has(about, "Window|About This Program|focus=1"))
d.check("its text is a read-only box named 'About Quorvath Itemlist'",
        has(about, "Edit|About Quorvath Itemlist|focus=0"))
text_check(about, "About Quorvath Itemlist", "By Anselm Vorrick and Teo Baskel")
d.check("Okay is a button with the keyboard focus", has(about, "Button|Okay|focus=1"))
d.check("Sign The Petition Now! is a button",
        any((e.type, e.name) == ("Button", "Sign The Petition Now!") for e in about))
close(d.ABOUT, "Return", "Enter on About's Okay")
if not d.wait_gone(d.ABOUT):
    d.fail("Okay closes About")

# --- The quit question.
if not d.send_keys(main, "alt+F4"):
    d.fail("Alt+F4 on the main window")
tree = wait_tree("quit", "Button|Yes|focus=1")
print("-- the quit question:")
windows = [i for i, e in enumerate(tree) if e.depth == 0 and e.type == "Window"]
show(tree[:windows[1]] if len(windows) > 1 else tree)
d.check("the quit question asks 'Are you sure you want to quit?'",
        any((e.type, e.name) == ("Text", "Are you sure you want to quit?") for e in tree))
d.check("Yes is a button with the keyboard focus", has(tree, "Button|Yes|focus=1"))
d.check("No is a button", has(tree, "Button|No|focus=0"))
question = d.quit_question(main)
if question:
    d.key(question, "Return")
code = d.exit_code(tenths=100)
d.check(f"Yes ends the program with exit code 0 (got {'running' if code is None else code})", code == 0)
print(f"UI Automation session: {int(time.monotonic() - started)} s")
d.finish()
