"""Reads the running program through AT-SPI, as a screen reader does.

    reader = Reader(pid)        once the program runs; reader.wait(10) until it is on the bus

WINDOW is a window caption, or "*" for all of them (popup menus are windows of
their own). A ROLE is written as pyatspi's constant in words ("push button" for
ROLE_PUSH_BUTTON) and matched by its value: AT-SPI's own names for the roles
change between releases ("button" since 2.56). Every question walks the tree
afresh: nothing the program said earlier is trusted from a cache.
Needs Debian's /usr/bin/python3: pyatspi is packaged for it only.
"""
import sys
import time

import pyatspi
from gi.repository import Atspi

# Roles by value, named by their constants: ROLE_PAGE_TAB is "page tab".
WORDS = {getattr(pyatspi, name): name[len("ROLE_"):].lower().replace("_", " ")
         for name in dir(pyatspi) if name.startswith("ROLE_") and name != "ROLE_NAMES"}


def role(words):
    value = getattr(pyatspi, "ROLE_" + words.upper().replace(" ", "_"), None)
    if value is None or value not in WORDS:
        raise ValueError(f"no AT-SPI role '{words}'")
    return value


def role_of(obj):
    """The object's role in words, the same on every release."""
    value = obj.getRole()
    return WORDS.get(value, f"role {int(value)}")


# What a user meets: reads, clicks or types into. Containers and fillers are
# structure, not controls, and need no names of their own.
USER_ROLES = {role(r) for r in (
    "push button", "label", "static", "page tab", "page tab list", "text", "tree",
    "tree table", "table", "list", "menu item", "menu", "check box", "radio button",
    "image")}


def showing(obj):
    try:
        return obj.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(obj, only_showing=True):
    """Depth first; hidden subtrees (the other tabs' pages) are skipped."""
    yield obj
    try:
        children = [obj.getChildAtIndex(i) for i in range(obj.childCount)]
    except Exception:
        return  # gone while we looked: a closing menu or window
    for child in children:
        if child is None or (only_showing and not showing(child)):
            continue
        yield from walk(child, only_showing)


def extents(obj):
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def labelled_by(obj):
    names = []
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def states_of(obj):
    return {pyatspi.stateToString(s) for s in obj.getState().getStates()}


def asked(nothing):
    """A question's answer, asked again (three times in all) when an object
    vanishes under it (a menu closing; D-Bus errors come in several types),
    and then `nothing`."""
    def asking(question):
        def again(self, *args):
            for _ in range(3):
                try:
                    return question(self, *args)
                except Exception as error:
                    print(f"(AT-SPI: asking again after: {error})", file=sys.stderr)
                    time.sleep(0.2)
            return nothing
        return again
    return asking


class Reader:
    """The program with process id `pid` on the accessibility bus."""

    def __init__(self, pid):
        self.pid = pid

    def app(self):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.pid:
                    app.set_cache_mask(Atspi.Cache.NONE)
                    app.clear_cache()
                    return app
            except Exception:
                continue
        return None

    def wait(self, seconds):
        """Whether the program is on the bus, with a window, within `seconds`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                app = self.app()
                if app is not None and app.childCount > 0:
                    return True
            except Exception:
                pass
            time.sleep(0.1)
        return False

    def top(self, window):
        app = self.app()
        if app is None or window == "*":
            return app
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.name == window and showing(w):
                return w
        return None

    def _find(self, window, words, name, only_showing=True):
        wanted = role(words)
        top = self.top(window)
        for obj in walk(top, only_showing) if top is not None else ():
            if obj.getRole() == wanted and obj.name == name:
                return obj
        return None

    @asked([])
    def toplevels(self):
        """"role|name" of every top-level object, showing or not."""
        app = self.app()
        children = [app.getChildAtIndex(i) for i in range(app.childCount)] if app else []
        return [f"{role_of(w)}|{w.name}" for w in children if w is not None]

    @asked(None)
    def find(self, window, words, name):
        """(x, y, w, h) of the first showing object so, in screen pixels, or None."""
        obj = self._find(window, words, name)
        return extents(obj) if obj is not None else None

    @asked(set())
    def states(self, window, words, name):
        """The object's states ("selected", "focused", ...); empty if there is none."""
        obj = self._find(window, words, name)
        return states_of(obj) if obj is not None else set()

    @asked([])
    def names(self, window, words):
        """The names of the showing objects with this role."""
        top, wanted = self.top(window), role(words)
        return [o.name for o in walk(top) if o.getRole() == wanted] if top is not None else []

    @asked([])
    def rows(self, window, words, name):
        """The names of all entries of a list, those scrolled out of view or on
        a page not showing too."""
        tree = self._find(window, words, name, only_showing=False)
        if tree is None:
            return []
        cells = [tree.getChildAtIndex(i) for i in range(tree.childCount)]
        return [c.name for c in cells if c is not None and c.getRole() == pyatspi.ROLE_TABLE_CELL]

    @asked(None)
    def value(self, window, caption):
        """The name of the control that `caption` labels, or None."""
        top = self.top(window)
        for obj in walk(top) if top is not None else ():
            if caption in labelled_by(obj):
                return obj.name
        return None

    @asked(None)
    def text(self, window, words="text"):
        """The whole text of the first object with this role, line ends as on Linux."""
        top, wanted = self.top(window), role(words)
        for obj in walk(top) if top is not None else ():
            if obj.getRole() == wanted:
                text = obj.queryText()
                return text.getText(0, text.characterCount).replace("\r", "")
        return None

    @asked(False)
    def press(self, window, words, name, action="Press"):
        """Runs one of the object's actions; whether it ran."""
        obj = self._find(window, words, name)
        if obj is None:
            return False
        actions = obj.queryAction()
        return any(actions.getName(i) == action and actions.doAction(i) for i in range(actions.nActions))

    @asked(["(could not be read)"])
    def unnamed(self, window):
        """"role @ x,y" of the showing controls a user meets that have no name.
        A control labelled by another (a value by its caption) is announced
        with that label's name."""
        top = self.top(window)
        return [f"{role_of(o)} @ {extents(o)[0]},{extents(o)[1]}" for o in walk(top)
                if o.getRole() in USER_ROLES and not o.name.strip() and not labelled_by(o)]
