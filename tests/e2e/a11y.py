#!/usr/bin/python3
"""Reads the running program through AT-SPI, as a screen reader does.

    a11y.py PID COMMAND [ARGS]

Commands (each prints one answer; exit status 1 when nothing matches):
  wait SECONDS            until the program is on the accessibility bus
  windows                 the captions of its showing windows
  toplevels               "role|name" of every top-level object, showing or not
  find WINDOW ROLE NAME   "x y w h" of the first showing object (screen pixels)
  description WINDOW ROLE NAME
  value WINDOW CAPTION    the name of the control that CAPTION labels
  names WINDOW ROLE       the names of the showing objects with this role
  states WINDOW ROLE NAME the object's states, e.g. "selected focused"
  rows WINDOW ROLE NAME   the names of all entries of a list (role "tree")
  text WINDOW ROLE        the whole text of the first object with a text interface
  action WINDOW ROLE NAME ACTION   runs one of the object's actions
  unnamed WINDOW          "role @ x,y" of showing controls a user meets that have no name
  tree WINDOW             the tree, for a person reading a failure

WINDOW is a window caption, or * for all of them. A ROLE is written as pyatspi's
constant in words ("push button" for ROLE_PUSH_BUTTON) and matched by its value:
AT-SPI's own names for the roles change between releases ("button" since 2.56).
Run by Debian's /usr/bin/python3: pyatspi is packaged for it only.
"""
import sys
import time

import pyatspi

# Roles by value, named by their constants: ROLE_PAGE_TAB is "page tab".
WORDS = {getattr(pyatspi, name): name[len("ROLE_"):].lower().replace("_", " ")
         for name in dir(pyatspi) if name.startswith("ROLE_") and name != "ROLE_NAMES"}


def role(words):
    value = getattr(pyatspi, "ROLE_" + words.upper().replace(" ", "_"), None)
    if value is None or value not in WORDS:
        raise SystemExit(f"no AT-SPI role '{words}'")
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


def app_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


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


def window(app, caption):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == caption and showing(w):
            return w
    return None


def find(win, words, name, only_showing=True):
    wanted = role(words)
    for obj in walk(win, only_showing):
        if obj.getRole() == wanted and obj.name == name:
            return obj
    return None


def extents(obj):
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def labelled_by(obj):
    names = []
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def main(argv):
    pid, command, args = int(argv[1]), argv[2], argv[3:]
    if command == "wait":
        deadline = time.monotonic() + float(args[0])
        while time.monotonic() < deadline:
            app = app_of(pid)
            if app is not None and app.childCount > 0:
                return 0
            time.sleep(0.1)
        return 1

    app = app_of(pid)
    if app is None:
        print(f"no accessible application with pid {pid}", file=sys.stderr)
        return 1
    if command == "toplevels":
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None:
                print(f"{role_of(w)}|{w.name}")
        return 0
    if command == "windows":
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and showing(w):
                print(w.name)
        return 0

    # "*": the whole application, popup menus included (they are windows of their own).
    win = app if args[0] == "*" else window(app, args[0])
    if win is None:
        print(f"no showing window '{args[0]}'", file=sys.stderr)
        return 1
    if command == "tree":
        for obj in walk(win, only_showing=False):
            depth, parent = 0, obj
            while parent is not None and parent != win:
                parent, depth = parent.parent, depth + 1
            states = " ".join(pyatspi.stateToString(s) for s in obj.getState().getStates()
                              if s in (pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED, pyatspi.STATE_SHOWING))
            print(f"{'  ' * depth}{role_of(obj)} '{obj.name}' '{obj.description}' [{states}]")
        return 0
    if command == "unnamed":
        # A control labelled by another (an empty value by its caption) is
        # announced with that label's name.
        bad = [f"{role_of(o)} @ {extents(o)[0]},{extents(o)[1]}" for o in walk(win)
               if o.getRole() in USER_ROLES and not o.name.strip() and not labelled_by(o)]
        print("\n".join(bad))
        return 0
    if command == "names":
        wanted = role(args[1])
        for obj in walk(win):
            if obj.getRole() == wanted:
                print(obj.name)
        return 0
    if command == "rows":
        # Every entry of the list, also those scrolled out of view or on a
        # page that is not showing.
        tree = find(win, args[1], args[2], only_showing=False)
        if tree is None:
            return 1
        for i in range(tree.childCount):
            cell = tree.getChildAtIndex(i)
            if cell is not None and cell.getRole() == pyatspi.ROLE_TABLE_CELL:
                print(cell.name)
        return 0
    if command == "value":
        # The name of the control that the caption args[1] labels.
        for obj in walk(win):
            if args[1] in labelled_by(obj):
                print(obj.name)
                return 0
        return 1
    if command == "text":
        wanted = role(args[1])
        for obj in walk(win):
            if obj.getRole() == wanted:
                text = obj.queryText()
                sys.stdout.write(text.getText(0, text.characterCount))
                return 0
        return 1

    obj = find(win, args[1], args[2])
    if obj is None:
        print(f"no showing {args[1]} '{args[2]}' in '{args[0]}'", file=sys.stderr)
        return 1
    if command == "find":
        print(*extents(obj))
    elif command == "description":
        print(obj.description)
    elif command == "states":
        print(" ".join(pyatspi.stateToString(s) for s in obj.getState().getStates()))
    elif command == "action":
        action = obj.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == args[3]:
                return 0 if action.doAction(i) else 1
        return 1
    else:
        print(f"unknown command {command}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    # An object can vanish while the tree is walked (a menu closing); ask again.
    for attempt in range(3):
        try:
            sys.exit(main(sys.argv))
        except Exception as error:  # D-Bus errors come in several types
            print(f"retrying after: {error}", file=sys.stderr)
            time.sleep(0.2)
    sys.exit(1)
